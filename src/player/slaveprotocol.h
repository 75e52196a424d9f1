// The conversation with the player tool in slave mode, shared by the options
// dialog's preview and the player window: the two start lines, the commands written
// to the tool's standard input, and the readers of the status lines it prints.
// Everything here is text in, text out; no window and no process.
#pragma once

#include <QString>

namespace slaveprotocol {

// ---- Start lines ----

// The options every embedded player gets: video output into our widget (scaled to
// it), and neither the user's own configuration nor its key and mouse bindings.
QString videoOutPiece();      // " -vo xv,gl,x11, -zoom"
QString isolationPiece();     // " -noconfig all -input nodefault-bindings -nomouseinput"
// The fixed block of slave-mode options both start lines carry.
QString slaveOptionsPiece();  // " -autosync 100 -vf-add scale,screenshot ... -osdlevel 0"
// " -colorkey 0x010203 -wid " and the window id.
QString colorKeyPiece(unsigned long long winId);
// The colour the video widget shows so the player's colour key matches it: on X11
// the tool reads 0x010203 as red 1, green 2, blue 3 (0x00BBGGRR value 0x030201).
inline constexpr unsigned colorKeyRgb = 0x010203;  // as QColor(0x01, 0x02, 0x03)

// The preview's file piece: an image pattern ("*" in the name) as "mf://" with its
// rate, a GIF with " -fps" when length and rate are known, else the quoted name.
QString previewFilePiece(const QString &fn, float srcFps, float srcLength);

struct PreviewStart {
    QString toolPath;        // tool 1, unquoted
    QString fileName;
    float srcFps = 0;
    float srcLength = 0;
    QString subtitlePiece;   // "" when subtitles are off
    QString addOpts;         // always "" in this program
    QString volumeOpt;       // " -volume 80" or ""
    unsigned long long winId = 0;
    float startSeconds = 0;
    QString demuxer;         // the source's, as its probe named it
};
// The preview's start line. Without a subtitle piece the tool is told not to load a
// same-named subtitle file on its own.
QString previewStartLine(const PreviewStart &p);

// The player window's range piece: " -ss <start>" and, unless the range reaches the
// end, " -endpos <length>" (both "hh:mm:ss.s"); "" when toFrame <= 0.
QString rangePiece(long fromFrame, long toFrame, long totalFrames, float fps);
// The player window's start line; demuxer is the one the file's probe named, so that a
// file the tool reads only in part by default is read whole.
QString playerStartLine(const QString &toolPath, const QString &fileName,
                        unsigned long long winId, const QString &range, const QString &demuxer = QString());

// ---- Commands ----
inline const QString cmdPause = QStringLiteral("pause");
inline const QString cmdFrameStep = QStringLiteral("frame_step");
QString seekRelative(double seconds);  // "seek -10 0"
QString seekPercent(double percent);   // "seek 12.5 1"
QString screenshot(bool everyFrame);   // "screenshot 0" / "screenshot 1"
QString volume(int percent);           // "volume 85 1"
// A seek or volume value as the tool gets it: rounded to two decimals, no trailing
// zeros, no point for whole numbers.
QString commandNumber(double v);

// ---- Reading the tool's output (one read may hold several lines and pieces) ----

// The playback position in seconds minus offset, from "A: ... V:" / "A: ... (" or,
// without "A:", from the last "V:" (up to one digit after its point). False when the
// read holds no position.
bool parsePosition(const QString &s, float offset, float &seconds);
// The frame number of an animated GIF's status line ("V:  1.2  12/12 ..."), -1 when none.
int parseGifFrame(const QString &s);
// The percentage of the newest "Generating Index: nn %", limited to 1..99; -1 when
// there is none.
int parseIndexProgress(const QString &s);
// The name in "*** screenshot 'name' ***" (the last one); "" when there is none.
QString parseScreenshot(const QString &s);
// The tool cannot show the video: a failed start. This and hasExited count the
// tool's own lines only, never a file name or tag it echoes.
bool hasVideoFailure(const QString &s);
// The tool ended playback (end of file or quit).
bool hasExited(const QString &s);

} // namespace slaveprotocol
