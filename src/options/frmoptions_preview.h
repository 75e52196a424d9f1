// The options dialog's preview without a window: what one poll of the player tool's
// output means, the slider and seek arithmetic, the cut marks and their bar, the crop
// rectangle drawn with the mouse, and which help the hover line shows. The dialog
// (frmoptions_preview_window.cpp) reads its controls into these, and writes back.
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <functional>

namespace preview {

// ---- One poll of the tool's output ----
struct PollRead {
    bool hasPosition = false;
    float position = 0;      // seconds, the source's start offset already taken off
    int indexPercent = -1;   // "Generating Index:" progress, 1..99; -1 none
    QString screenshot;      // file name of a picture just written; "" none
    bool failed = false;     // the tool cannot show the video
    bool exited = false;     // the tool ended playback (never together with failed)
};
// Reads one poll's text. aniGif: an animated GIF plays, whose frame counter gives the
// position (srcLength * frame / gifFrames, two decimals) when gifFrames > 0.
PollRead readPoll(const QString &s, bool aniGif, float srcStartTime, float srcLength, int gifFrames);

// What an ended play means for the preview.
enum class EndAction {
    None,        // still playing
    Failed,      // stop and tell the user playing failed
    Stop,        // stop (after closing an open range at the last position)
};
// The tool ended before it played anything: no length known, position 0, not a GIF.
EndAction endAction(const PollRead &r, float srcLength, float previewPos, const QString &sourcePath);

// The note over the picture, broken into lines no wider than maxWidth as measure
// tells: after a blank where it can, inside a word only when the word alone is wider
// (a long file name). Every break is a "\n" put in; the blank before it stays.
QString wrapNote(const QString &text, int maxWidth, const std::function<int(const QString &)> &measure);

// ---- Slider ----
// Knob left so that its centre stands at seconds along the track.
int knobLeftFor(float seconds, float secPerUnit, int trackLeft, int knobWidth);
// Knob left with its centre at the track's left end.
inline int knobRestLeft(int trackLeft, int knobWidth) { return trackLeft - knobWidth / 2; }
// A dragged knob goes to newLeft only within the track (it is not clamped to an end).
bool knobMoveAllowed(int newLeft, int trackLeft, int trackWidth, int knobWidth);
// The seek a slider offset or a number of seconds asks for. seekType 0: relative
// ("seek <s> 0"); other: absolute percentage ("seek <p> 1"). inSeconds False: value in
// slider units. "" when the source has no length.
QString seekCommand(float seekValue, int seekType, bool inSeconds, float secPerUnit, float srcLength);

// ---- Cut marks ----
// The marks as their buttons' tags keep them: seconds as text, "" unset.
struct Marks {
    QString start, end;
};
float markSeconds(const QString &tag);
QString markTag(float seconds);
// Sets the start (markIndex 0, which unsets the end) or the end mark (1). An end not
// after the start clears both; an end beyond the length becomes the length, or clears
// both when the start is 0 and clearWhenWhole (the range would be the whole file).
// Returns False when the marks were cleared.
bool setMarkTime(Marks &m, int markIndex, float seconds, bool clearWhenWhole, float srcLength);

// The range bar over the slider track.
struct ScopeBar {
    enum Kind { Nothing, Clear, Show } kind = Nothing;
    int left = 0, width = 0;
};
// Nothing without slider units; Clear for a range drawn backwards; else at least one
// unit wide.
ScopeBar scopeBar(float rangeStart, float rangeEnd, float secPerUnit, int trackLeft);

// A typed range time: exactly "hh:mm:ss.s" with minutes and seconds 00..59.
bool isRangeTime(const QString &text);
// Keys the range boxes take (digits, ":", ".", Backspace 8); others are swallowed.
bool rangeKeyAllowed(int keyAscii);
// The message for a wrongly formed time (txt::TimeFormWrong and the form).
QString rangeTimeFormMessage(const QString &entry108);

// ---- Crop rectangle ----
struct CropDrag {
    int anchorX = 0, anchorY = 0, endX = 0, endY = 0;
    bool dragging = false;
    QRect rect;
    bool visible = false;
};
// Any button starts a new rectangle of 1 x 1 at the point.
void cropPress(CropDrag &c, double x, double y);
// Follows the pointer while dragging with the left button; limited to the picture.
void cropMove(CropDrag &c, bool leftHeld, double x, double y, int scaleWidth, int scaleHeight);
// Ends the drag; a rectangle outside the picture or under 4 units either way is dropped.
void cropRelease(CropDrag &c, int scaleWidth, int scaleHeight);

// ---- Hover help ----
struct HoverState {
    bool audioOnlySource = false;
    bool jobImpossible = false;
    bool scopeEnabled = true;       // txtScope(0) enabled (marks allowed)
    bool timesShown = false;        // current and total time both shown
    bool volumeButtonsShown = false;  // lblVol(0) visible
    // lblVolume, lblBrightness, lblContrast, lblHue, lblSaturation enabled
    bool adjusterEnabled[5] = {true, true, true, true, true};
    bool subtitleOnlyHint = false;  // a stream job or sound target, subtitle page unmasked
};
struct HoverHelp {
    bool change = false;  // False: the line keeps its text
    QString text;
};
// The help for the control named control (objectName, "" for a window of no row)
// when the pointer came from the control named previous.
HoverHelp hoverHelp(const QString &control, const QString &previous, const HoverState &st);
// Whether a control name has a row of its own in the help table.
bool hasHoverRow(const QString &control);
// Every text entry the help line can show.
QList<int> hoverEntries();

} // namespace preview
