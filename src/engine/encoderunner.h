// The encoder runner: runs one conversion command (tool 2 or tool 3, or both in turn
// when the command holds two lines), reads all the tool prints while the window stays
// responsive, turns its progress lines into a percentage for the window, notices a
// tool that has gone silent, honours Stop, and tells what became of the run.
#pragma once

#include "core/cmdoutput.h"

#include <QString>

#include <functional>

namespace encoderunner {

// What the window does for a run. Every method has a harmless default, so a caller
// (or a test) implements only what it shows.
class EncodeProgressSink {
public:
    virtual ~EncodeProgressSink() = default;
    // Draws the progress bar at pg percent with the caption; isPreview picks the
    // resting look (before and after a run) instead of the running one.
    virtual void setProgressNote(float pg, const QString &caption, bool isPreview) {}
    // A run starts at startTick (ms, QDateTime::currentMSecsSinceEpoch): the time line
    // becomes visible and shows the given text until the next estimate.
    virtual void encodeStarted(qint64 startTick, const QString &estimateText) {}
    // The run is over: the time line is hidden.
    virtual void encodeEnded() {}
    // The CPU-load line (txt::CpuLoad + "0.0 %" once a run was stopped).
    virtual void setCpuLoadText(const QString &text) {}
    // A stopped or stalled run gives the encode button back (Stop hidden).
    virtual void showEncodeButton() {}
};

struct EncodeRunLimits {
    int roundMs = cmdoutput::roundMs;      // longest wait for output in one round
    int silenceMs = cmdoutput::silenceMs;  // a running tool silent for longer is taken as stalled
    int graceMs = 500;                     // SIGTERM to SIGKILL
    // Asked about once a second while a tool runs: a text ends the run at once (the
    // tool is stopped) and becomes the result's abandoned reason.
    std::function<QString()> watch;
    // Called once a stopped or stalled run's tool has ended, before the message: it
    // tidies up what the run left and returns a text the message ends with ("" none).
    std::function<QString(bool stalled)> endNote;
    // The job's action word, which the stop and stall messages begin with.
    QString actionWord;
};

struct EncodeRunResult {
    float percent = 0;        // the final percentage, 0 to 100
    bool started = false;     // every tool of the command could be started
    bool endedByItself = false;  // the last tool run ended on its own (not killed)
    int exitCode = -1;        // of the last tool run; cmdoutput::killExitCode when we ended it
    bool crashed = false;     // a tool died of a signal we did not send
    int signal = 0;           // that signal's number
    QString tool;             // the program of the last tool run (or the one that could not start)
    QString lastMessage;      // its last message (encodeprogress::lastMessageLine), "" none
    bool stalled = false;
    bool stopped = false;     // the user pressed Stop
    QString abandoned;        // why the watch ended the run ("" when it did not)
    // Every tool of the command ran to its own end with exit status 0.
    bool completed() const
    {
        return started && endedByItself && exitCode == 0 && !crashed && !stalled && !stopped && abandoned.isEmpty();
    }
};

// Runs cmdLine. totalSeconds is the media length the run is to produce.
// A command of two lines runs them one after the other as one run with one progress bar;
// the second runs only when the first completed. A stopped or stalled run shows its
// message (txt::WasInterrupted, with txt::ProcessStuck for a stall) and sets
// cmdoutput::stopEncodeFlag; when the program is ending on a signal it shows nothing.
// showWindow has no meaning here (there are no console windows) and is accepted only.
EncodeRunResult runEncodeWithProgress(const QString &cmdLine, float totalSeconds, bool showWindow,
                                      EncodeProgressSink *sink = nullptr,
                                      const EncodeRunLimits &limits = EncodeRunLimits());

// The run is read as tool 3's (its "time=" progress): the program it starts is tool 3.
bool isTool3Command(const QString &cmdLine);

} // namespace encoderunner
