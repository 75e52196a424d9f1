// The values of the options dialog's controls as plain data, named after the controls.
// The dialog window copies its widgets into an OptionsForm, calls the option logic
// (lists, page rules, OK and Cancel, pieces, summary) and copies the result back, so
// that all of that logic runs and is tested without a window.
#pragma once

#include "core/systeminfo.h"
#include "engine/tabmasks.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace opt {

// A combo box: its items, the selected index (-1 none), the text it shows (for an
// editable combo the typed text when nothing is selected), enabled state and Tag.
struct Combo {
    QStringList items;
    int listIndex = -1;
    QString text;
    bool enabled = true;
    QString tag;

    int count() const { return int(items.size()); }
    void clear();
    void add(const QString &item) { items.append(item); }
    // Selects an item (text follows); -1 selects none and empties the text.
    // An index outside the list changes nothing.
    void select(int index);
    QString item(int index) const { return index >= 0 && index < count() ? items[index] : QString(); }
};

struct TextBox {
    QString text;
    bool enabled = true;
    QString tag;
};

struct Label {
    QString caption;
    QString tag;
    QString toolTip;
    bool enabled = true;
};

// One option button of a pair, or a check box (value 0/1).
struct Option {
    bool value = false;
    bool enabled = true;
    QString tag;
    QString caption;
};
struct Check {
    int value = 0;
    bool enabled = true;
    QString tag;
    QString caption;
};

// A skinned or image button: caption, Tag, enabled state, mouse pointer
// (99 the hand cursor, 0 the arrow) and visibility.
struct Button {
    QString caption;
    QString tag;
    QString toolTip;
    bool enabled = true;
    bool visible = true;
    int mousePointer = 99;
};

// A rectangle shape on the preview picture, in its units.
struct Shape {
    bool visible = false;
    double left = 0, top = 0, width = 0, height = 0;
};

inline TextBox textBox(const QString &text)
{
    TextBox b;
    b.text = text;
    return b;
}
inline Label formatLabel()
{
    Label l;
    l.caption = QStringLiteral("=");
    return l;
}
inline Button playbackVolume()
{
    Button b;
    b.tag = QStringLiteral("100");
    return b;
}
inline Button hiddenButton()
{
    Button b;
    b.visible = false;
    return b;
}
inline Option option(bool value)
{
    Option o;
    o.value = value;
    return o;
}

// The dialog's pages, as tabNow counts them (the engine masks them by the same numbers).
using Page = engine::OptionsPage;
using enum engine::OptionsPage;

struct OptionsForm {
    // Main page
    Label lblFormatStr = formatLabel();
    Label lblScopeStr, lblScopeStr2, lblFpsStr, lblRotateStr, lblRotateStr2, lblScopeNote;
    std::array<TextBox, 2> txtScope{textBox(QStringLiteral("00:00:00.0")), textBox(QStringLiteral("00:00:00.0"))};
    Combo cboFps, cboRotate;

    // Video page
    Label lblVideoBitrateStr, lblSizeStr, lblSizeStr2, lblCropStr, lblExpandStr;
    std::array<Label, 4> lblExpand2Str;
    Combo cboVideoBitrate, cboSize;
    std::array<TextBox, 2> txtSize{textBox(QStringLiteral("320")), textBox(QStringLiteral("240"))};
    std::array<Option, 2> optScaleCrop{option(true), option(false)};
    std::array<TextBox, 4> txtExpand{textBox(QStringLiteral("0")), textBox(QStringLiteral("0")),
                                     textBox(QStringLiteral("0")), textBox(QStringLiteral("0"))};

    // Audio page
    std::array<Option, 2> optAudio{option(true), option(false)};
    Label lblAudioBitrateStr, lblAudioSampleStr, lblAudioDelayStr;
    Combo cboAudioBitrate, cboAudioSample;
    TextBox txtAudioDelay = textBox(QStringLiteral("0"));
    Check chkAudioVolnorm;

    // Adjusters: value labels (value in the Tag) and their minus, plus, reset buttons
    Label lblVolume, lblBrightness, lblContrast, lblHue, lblSaturation;
    std::array<Button, 3> imgVolume, imgBrightness, imgContrast, imgHue, imgSaturation;
    // Playback volume (0..100) in the Tag of lblVolPlay; lblVol(0) down, (1) up.
    Button lblVolPlay = playbackVolume();
    std::array<Button, 2> lblVol{hiddenButton(), hiddenButton()};
    // Hue marker on the spectrum picture, in its scale units.
    double picCrSpecScaleWidth = 0;
    double lneCrSpecX = 0;

    // Subtitle page
    std::array<Option, 2> optSub{option(true), option(false)};
    TextBox txtSubFile;
    Button mbSubFIle;
    Label lblSubSizeStr, lblSubPosHgtStr, lblSubPosHgt2Str, lblSubOutlineStr, lblSubBlurStr,
        lblSubDelayStr, lblSubFontStr, lblSubcpStr;
    TextBox txtSubSize = textBox(QStringLiteral("4")), txtSubPosHgt = textBox(QStringLiteral("5")),
            txtSubOutline = textBox(QStringLiteral("2")), txtSubBlur = textBox(QStringLiteral("2")),
            txtSubDelay = textBox(QStringLiteral("0"));
    Combo cboSubFont, cboSubcp;
    // The fonts behind the items of cboSubFont, in the same order.
    QList<mdlGetFontsFile::FontItem> subFonts;
    Button cmdSubPlay;

    // Masks over the pages 0..4 that do not apply to the job.
    std::array<bool, 5> picTabMaskVisible{};

    // Buttons with captions
    std::array<Button, 2> lblMark;      // Tags: start and end mark in seconds, "" = unset
    std::array<Button, 2> cmdOkCancel;

    // Preview picture: inner size, and the crop rectangle on it.
    double picPlayerScaleWidth = 0, picPlayerScaleHeight = 0;
    Shape shpCrop;

    // What the logic asks of the window: the page to show (a Page) and the control to
    // focus ("" none), by control name such as "cboFps" or "txtExpand(1)".
    int tabNow = 0;
    QString focusRequest;
};

// The five stepped adjusters, in the order of their caption modes 1..5 (hue is 3).
enum class Adjuster { Brightness, Contrast, Hue, Saturation, Volume };
Label &valueLabel(OptionsForm &f, Adjuster a);
const Label &valueLabel(const OptionsForm &f, Adjuster a);
std::array<Button, 3> &adjusterButtons(OptionsForm &f, Adjuster a);
const std::array<Button, 3> &adjusterButtons(const OptionsForm &f, Adjuster a);
int captionMode(Adjuster a);

} // namespace opt
