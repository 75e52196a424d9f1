// Where a cut really starts: tool 1 decodes one frame after a seek point and tells its
// time, and the alignment of a marked cut start uses that to offer the key frame
// before the mark. The command and the reply reader are pure; the alignment takes
// its probe and its question as functions, so it runs without a window.
#pragma once

#include "core/jobrecords.h"
#include "core/userprompts.h"

#include <QString>
#include <functional>

namespace keyframeprobe {

// tool1 -ao null -vo null -noframedrop -frames 1 "src" -ss t -endpos 0
QString probeCommand(const QString &tool1, const QString &src, float seekSeconds);
// The seek time as the command writes it: at most seven significant digits, "." as point.
QString seekText(float seconds);
// The time of the first decoded frame in a probe's reply; -1 when none can be read.
float parseReply(const QString &reply);
// Runs the probe on src (tool 1 of the program folder); 0 when tool 1 is missing (the
// user has been told), -1 when the reply holds no frame time (or the name cannot stand
// in a command line: nothing is run).
float getKeyFrameTime(const QString &src, float seekSeconds);

// The tool's seek time scale for a source whose times start at an offset (ASF): a seek
// to t with "-ss" lands about t × scale into the source (key frames apart), so a time
// T of the source is reached by seeking to T / scale. toolProbe is getKeyFrameTime
// for a seek time (the tool's own time base); it is asked about the file near its end
// first, then near `near`. 1 for a source without an offset, which is not probed.
float seekScale(const jobrecords::SourceInfo &source, float near, const std::function<float(float)> &toolProbe);

// The alignment of a marked cut start (markIn > 0, not an audio target); reads the
// job's markIn, markOut and actionWord and the source's srcStartTime and srcLength.
struct Alignment {
    QString range;         // the time-range piece, rewritten or as given
    float encodeSeconds;   // the media length to produce
    float start = 0;       // where in the source the produced part begins
    float previousKeyFrame = 0;  // -1: the key frames lie too far apart (the sparse warning)
    bool cancelled = false;      // the user abandoned the conversion at the question
    bool ran = false;            // the alignment applied at all
};
struct AlignmentHooks {
    // getKeyFrameTime for a seek time (the tool's own time base).
    std::function<float(float)> probe;
    // Shows or hides the "key-frame check" note of the main window.
    std::function<void(bool)> showNote;
    // Asks the question; by default through the prompts seam.
    std::function<prompts::Answer(const QString &text, prompts::Buttons buttons)> ask;
};
Alignment alignCutStart(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job,
                         const QString &range, float encodeSeconds, const AlignmentHooks &hooks);

// A one-decimal text of x rounded to hundredths first (halves to even): 0.26 -> "0.3".
QString oneDecimal(float x);

} // namespace keyframeprobe
