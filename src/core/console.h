// The slave console: the player tool as a long-lived child in slave mode. It reads
// commands from its standard input, one per line, and prints its status lines, while
// it draws into a widget its owner names on the command line (-wid). One child at a
// time: starting one ends the previous child, and every leftover tool that no living
// copy of the program owns (mdlConsole::KillPlayersIn).
//
// The owner (the options dialog's preview, the player window) implements
// ConsoleOwner; the console calls its setStopDosIo() when the child has ended, its
// output channel broke or its output overflowed. An owner that is destroyed is
// forgotten at once, so a late call never reaches a half-destroyed window (an owner
// that stops the player when it closes calls StopConsole first in its destructor).
#pragma once

#include <QString>

class ConsoleOwner {
public:
    virtual void setStopDosIo() = 0;

protected:
    ConsoleOwner() = default;
    virtual ~ConsoleOwner();  // forgets this owner in the console
};

namespace mdlConsole {

// Results of StartConsole.
enum StartResult {
    startOk = 0,
    startInputPipeFailed = 1,
    startOutputPipeFailed = 2,
    startOutputDupFailed = 3,
    startInputDupFailed = 4,
    startProcessFailed = 5,
};
// Results of ReadConsole.
enum ReadResult {
    readOk = 0,
    readPeekFailed = 1,
    readNothing = 2,
    readFailed = 3,
    readShort = 4,
};
// Result of SendSlave when nothing was written.
inline constexpr int sendFailed = 3;
// ReadConsole treats this many bytes waiting at once as an overflow.
inline constexpr int overflowBytes = 32768;

// Starts cmdLine (the player tool with its slave-mode options) for owner. In
// developer mode show is set to True; with show True the command and the output are
// mirrored to the developer console. 0 started; 5 nothing could be started (the
// pipe failures 1 to 4 of the result list show as 5 here, since the pipes are made
// together with the process).
int StartConsole(const QString &cmdLine, ConsoleOwner *owner, bool &show);

// Writes one command and a line feed. With keepPaused, commands other than "pause"
// and "frame_step" get "pausing " in front so that a paused player stays paused.
// 0 written; 3 nothing written (no child, or a command holding a line break, which
// would smuggle in a second command).
int SendSlave(const QString &command, bool keepPaused = false);

// Takes everything the child printed since the last call into text. 0 read (text may
// be ""), 2 nothing waiting; without an owner 0 and text untouched. The owner is
// called back when nothing waits and the child has ended, when the channel broke (1),
// and when overflowBytes or more wait (0, text ""; that output is dropped).
int ReadConsole(QString &text);

// The child runs.
bool IsRunning();

// Ends the child: "quit", then SIGTERM, then SIGKILL, each after a short grace.
// Always 0; harmless when nothing runs.
int StopConsole();

// The player draws into the owner's widget and has no window of its own here, so
// there is no window to find or to title; kept so the owners' calls stay as they are.
void FindConsoleWindow();
void SetConsoleTitle(const QString &title);

// Bytes the child printed that no ReadConsole has taken yet.
qint64 PendingBytes();
// Process id of the child, 0 when none.
qint64 ChildPid();

// Forgets owner if it is the current one (ConsoleOwner's destructor calls it).
void ReleaseOwner(ConsoleOwner *owner);

} // namespace mdlConsole
