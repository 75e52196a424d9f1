// The player window's looks that come from no picture file: the button faces drawn
// in code, the colours of the bars, and the keys the window answers.
#pragma once

#include <QColor>
#include <QImage>

namespace playerlook {

// The colour the video surface shows where the player tool's colour key is expected.
QColor colorKey();

enum class Face { Play, Pause, Stop, Backward, Forward, Sound, Muted };
// A button face of w x h pixels; disabled draws it greyed.
QImage face(Face f, int w, int h, bool disabled);

// The window's key code for a Qt key: 32 Space, 33 Page Up, 34 Page Down, 37 Left,
// 39 Right; 0 for every other key.
int keyCode(int qtKey);

} // namespace playerlook
