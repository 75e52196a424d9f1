// The one-shot runner: runs one tool to its end, hidden, and returns everything it
// printed on standard output and standard error, in order. It polls inside the
// calling handler (no thread) and lets the window's events run every round.
#pragma once

#include <QString>
#include <functional>

namespace toolprocesses {
class ToolProcess;
}

namespace cmdoutput {

// The longest wait for output in one reading round.
inline constexpr int roundMs = 100;
// A running tool that printed nothing for longer than this is taken as stalled.
inline constexpr int silenceMs = 24000;
// A tool whose output channel broke is given up once it has been silent for longer
// than this (or than the silence limit, when that is shorter).
inline constexpr int failedReadMs = 2000;

// The exit code a tool run reports when we ended the tool.
inline constexpr int killExitCode = 3838;
// Set by Stop (and by a quit signal) while a conversion runs: the encoder runner ends
// its tool at the next round; cleared when a conversion starts.
inline bool stopEncodeFlag = false;

// How a reading loop ended.
enum class ReadEnd {
    ToolEnded,  // the tool ended by itself (what it printed last may still wait: drain it)
    Stalled,    // the tool runs on but was silent past the limit
    Stopped,    // the caller's stop test said so
};

struct ReadLimits {
    int roundMs = cmdoutput::roundMs;
    int silenceMs = cmdoutput::silenceMs;
};

// Reads a started tool's output in rounds of at most limits.roundMs and hands every
// piece to onText. After each round the window's events run; then the loop ends when
// the tool has ended, or else when shouldStop (may be empty) returns true. A running
// tool silent past the limit ends the loop before the round's events run. The tool
// is left as it is: the caller drains or stops it.
ReadEnd readUntilEnd(toolprocesses::ToolProcess &tool, const ReadLimits &limits,
                     const std::function<void(const QString &)> &onText,
                     const std::function<bool()> &shouldStop);

// The limits of one run. The defaults are the program's; tests shorten them.
struct RunLimits {
    int roundMs = cmdoutput::roundMs;      // longest wait for output in one round
    int silenceMs = cmdoutput::silenceMs;  // a running tool silent for longer than this is ended
    bool mirror = true;                    // in developer mode, mirror command and output
    // Asked after every round's events: true ends the run there (the tool is stopped).
    std::function<bool()> cancelled;
};

struct RunResult {
    QString output;
    bool started = false;     // false: empty command, or no such program
    bool stalled = false;     // ended by us after the silence or failed-read limit
    int exitCode = -1;        // the tool's own, or killExitCode when we ended it
    bool crashed = false;     // the tool died of a signal we did not send
    bool cancelled = false;   // ended by us because the caller or a quit signal asked for it
};

// Runs cmdLine (tool path first and unquoted, file names in double quotes) and
// returns all it printed; "" when there was nothing or nothing could be started.
// A quit signal (quitsignals) ends the tool within a round; once one has arrived,
// nothing more is started.
// There are no console windows here: showWindow is accepted and has no effect.
// In developer mode the command and the output are mirrored to the developer console.
QString GetCmdOutput(const QString &cmdLine, bool showWindow = false);

// The same run with the details the caller may want.
RunResult RunTool(const QString &cmdLine, const RunLimits &limits = RunLimits());

} // namespace cmdoutput
