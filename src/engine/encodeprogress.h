// Reading the encoders' progress out of their console output, and the percentage,
// note and remaining-time texts made from it. Pure functions, no window.
#pragma once

#include <QString>

namespace encodeprogress {

// The progress position (seconds of media written) in a piece of tool output.
// Tool 2 prints "Pos:   12.5s ..." status lines, tool 3 "time=00:00:12.50 bitrate=".
// The last complete status line counts: its end marker is searched after its start
// marker, never before it. `consumed` receives how much of the text is settled: a
// status line cut off at the end is left for the next read to complete.
struct Reading {
    bool found = false;
    float seconds = 0;
    int consumed = 0;
};
Reading readPosition(const QString &text, bool tool3);

// Seconds -> percentage while the tool runs: whole numbers for a total up to 1800 s
// (tool 2) or 3600 s (tool 3), one decimal above; 0 to 99.9; 99.9 when total is 0.
float percentOf(float seconds, float total, bool tool3);
// The percentage as the note shows it: "42", or "42.5" with one decimal for long jobs.
QString percentText(float percent, float total, bool tool3);
// The running note: txt::ProgressPercent with the percentage, " -->  ", txt::ReachedWord,
// the position and txt::Seconds.
QString runningNote(float percent, float seconds, float total, bool tool3);

// The result of a run: a tool that ended by itself at 99 % or more counts as 100;
// otherwise the last percentage, also after a clean exit: an encoder may end with
// status 0 long before the end, so only the result check may raise such a run to 100.
float finalPercent(float current, bool endedByItself, int exitCode);

// The tool's last message in what it printed (its status lines ended by CR or LF): the
// last line that is neither blank, nor a progress line (tool 2's "Pos:", tool 3's
// "frame=" / "size=" / "time=... bitrate=" lines), nor the tool's closing word
// ("Exiting...", "Conversion failed!"); the last closing word when there is nothing
// else; "" when the tool printed none. Trimmed, and cut to at most 300 characters.
QString lastMessageLine(const QString &output);

// The time line shown when a run starts: txt::ElapsedAndLeft with "00:00:00" and "?".
QString startEstimateText();

} // namespace encodeprogress
