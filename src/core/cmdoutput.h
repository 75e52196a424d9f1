// The one-shot runner: runs one tool to its end, hidden, and returns everything it
// printed on standard output and standard error, in order. It polls inside the
// calling handler (no thread) and lets the window's events run every round.
#pragma once

#include <QString>
#include <functional>

namespace mdlGetCmdOutput {

// The limits of one run. The defaults are the program's; tests shorten them.
struct RunLimits {
    int roundMs = 100;        // longest wait for output in one round
    int silenceMs = 24000;    // a running tool silent for longer than this is ended
    int failedReadMs = 2001;  // a broken output channel for this long ends the wait
    bool mirror = true;       // in developer mode, mirror command and output
    // Asked after every round's events: true ends the run there (the tool is stopped).
    std::function<bool()> cancelled;
};

struct RunResult {
    QString output;
    bool started = false;     // false: empty command, or no such program
    bool stalled = false;     // ended by us after the silence or failed-read limit
    int exitCode = -1;        // the tool's own, or killExitCode when we ended it
    bool crashed = false;     // the tool died of a signal we did not send
    bool cancelled = false;   // ended by us because the caller asked for it
};

// Runs cmdLine (tool path first and unquoted, file names in double quotes) and
// returns all it printed; "" when there was nothing or nothing could be started.
// There are no console windows here: showWindow is accepted and has no effect.
// In developer mode the command and the output are mirrored to the developer console.
QString GetCmdOutput(const QString &cmdLine, bool showWindow = false);

// The same run with the details the caller may want.
RunResult RunTool(const QString &cmdLine, const RunLimits &limits = RunLimits());

} // namespace mdlGetCmdOutput
