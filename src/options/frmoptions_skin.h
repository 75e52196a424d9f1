// The options dialog's artwork, drawn in code: the window background, the frames of
// the preview area, the slider, the spectrum and the button plates with their glyphs.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

namespace optskin {

// Colours of the dialog.
inline const QColor textColour{0xFF, 0xFF, 0xFF};
inline const QColor editBack{0x40, 0x00, 0x00};      // text and combo boxes
inline const QColor noteColour{0xFF, 0xC0, 0x80};    // the hover-help line
inline const QColor pageBack{0x2B, 0x1D, 0x22};
inline const QColor accent{0xE0, 0x8A, 0x3C};

enum class Glyph {
    None, Play, Pause, Stop, Backward, Forward, Camera, Film, BigScreen, Speaker, Down, Up,
    Minus, Plus, Reset, Clear, Folder,
};

// The background of the whole window.
QImage formBackground(QSize size);
// The frame around the preview, the box the video sits in, the time box.
QImage playerFrame(QSize size);
QImage timeBox(QSize size);
// Slider track and knob.
QImage sliderTrack(QSize size);
QImage sliderKnob(QSize size);
// The hue spectrum, in colour or grey.
QImage spectrum(QSize size, bool grey);
// The decorative picture of the main page.
QImage funPicture(QSize size);
// A button plate with a glyph in one of its looks: 0 up, 1 over, 2 down, 3 disabled.
QImage buttonPlate(QSize size, Glyph glyph, int look);

} // namespace optskin
