// The two fall-back probes of a source: tool 3's description of the file
// (DurationProbe) and a small media-information device answering the MCI command
// strings (MciInfoProbe). Each writes its results into the caller's variables and
// leaves a variable untouched when it has no value for it.
#pragma once

#include <QString>

namespace mdlMavrell {

// Runs tool 3 with " -i " and the quoted file; writes the duration ("Duration:"),
// the start time ("start:") and the frame rate (the number before "tbr" or "tb(r)")
// found in its output. Nothing runs when tool 3 is missing or the path holds a double
// quote or a line break (it cannot be quoted on a command line).
void ProbeByTool3(const QString &file, float &duration, float &start, float &fps);

// The tool-3 output read as ProbeByTool3 reads it (the text is what "tool3 -i" printed).
void ParseTool3Info(const QString &output, float &duration, float &start, float &fps);

// Sends the five MCI strings for file: length in seconds and frame rate written only
// when the file could be opened; a status the device cannot answer writes 0.
void GetMciInfo(const QString &file, float &length, float &fps);

} // namespace mdlMavrell

namespace mci {

// Error codes of SendString (0 is success).
enum Error {
    ok = 0,
    errUnrecognizedCommand = 261,
    errInvalidDeviceName = 263,
    errCannotOpen = 275,      // the file is not a media file the device can read
    errUnsupportedFunction = 274,
    errMissingParameter = 417,
    errDuplicateAlias = 289,
    errNoValue = 290,         // the device cannot report that value for this file
};

// Answers the command strings of the "mpegvideo" device from ffprobe:
//   open "<path>" type mpegvideo alias <a>   set <a> time format ms
//   status <a> length (milliseconds)         status <a> frame rate (frames per second x 1000)
//   close <a>
// Keywords are matched without regard to case. returnText receives the answer of a
// status string and "" otherwise.
int SendString(const QString &command, QString *returnText = nullptr);

// The ffprobe beside tool 3's target, else the one on PATH; "" when there is none.
QString ffprobePath();

} // namespace mci
