// Child processes of the program: how every tool is started, read, and ended.
//
// ToolProcess owns one QProcess and is what every runner builds on (the loop below
// is cmdoutput::readUntilEnd):
//   ToolProcess p;
//   if (!p.start(cmdLine)) ...             // nothing started: empty command or no such program
//   while (true) {
//       QString text = p.readRound(100);    // waits at most 100 ms for output, then takes
//                                           // everything that waits (UTF-8, split characters kept)
//       bool running = p.isRunning();       // polls without blocking
//       ... stall / stop tests, QCoreApplication::processEvents() ...
//       if (!running) break;
//   }
//   text += p.drain();                      // what the tool printed just before it ended
//   if (p.isRunning()) p.stop();            // SIGTERM, then SIGKILL after a grace
//   p.exitCode();                           // cmdoutput::killExitCode when we ended it
//
// The command text is built as the callers build it (tool path first and unquoted,
// file names in double quotes), split with QProcess::splitCommand and started without
// a shell. Standard output and error come through one channel; standard input is the
// null device unless start() is asked for an input channel (the slave console).
// Every child gets PR_SET_PDEATHSIG, so none outlives the program, and the parent's
// pipe ends are close-on-exec, so later children inherit none of them. Every child's
// environment names the copy that started it (ownerVariable), so that a sweep for
// leftover tools can tell a living copy's tool from one whose copy is gone.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <memory>

namespace toolprocesses {

// The program and its arguments from a command line. The first word is the program;
// when it does not name an existing regular file but a longer run of the text up to a later
// blank does (a tool folder with blanks, which the command line leaves unquoted),
// that longer run is the program. Empty when the text holds no word.
QStringList splitToolCommand(const QString &cmdLine);

// Set in every child's environment: the process id of the program that started it.
inline constexpr const char *ownerVariable = "MAVRELL_TOOL_OWNER";

// Sets up a QProcess the program starts so that the child dies with the program
// (PR_SET_PDEATHSIG) and names its owner (ownerVariable). Every QProcess the program
// starts goes through it.
void prepareChild(QProcess &process);

class ToolProcess {
public:
    ToolProcess();
    ~ToolProcess();  // a child still running is ended
    ToolProcess(const ToolProcess &) = delete;
    ToolProcess &operator=(const ToolProcess &) = delete;

    // Starts cmdLine. False (nothing started) when the text holds no program or the
    // program does not exist or cannot be run. withInput gives the child a standard
    // input the caller writes to; otherwise it reads the null device.
    bool start(const QString &cmdLine, bool withInput = false);

    // Waits up to waitMs for new output (not at all when some already waits or the
    // child has ended), then returns everything that waits.
    QString readRound(int waitMs);
    // Everything that waits now, without waiting.
    QString readAvailable();
    // Bytes printed and not yet taken.
    qint64 bytesWaiting() const;
    // After the child ended: everything still in the pipe.
    QString drain();

    // The child was started and has not been seen to end (polls, does not block).
    bool isRunning();
    // Reading the child's output failed (the channel broke while it runs).
    bool readFailed() const { return readFailed_; }

    // Writes to the child's input; false when nothing could be written.
    bool write(const QByteArray &bytes);

    // Ends the child: SIGTERM, then SIGKILL when it is still there after graceMs.
    // Waits at most graceMs plus one more second. Harmless when nothing runs.
    void stop(int graceMs = 500);
    // Waits at most ms for the child to end by itself.
    bool waitForEnd(int ms);

    bool started() const { return started_; }
    // cmdoutput::killExitCode when we ended the child; else its own exit code; -1 before it ended.
    int exitCode() const;
    // The child died of a signal we did not send.
    bool crashed() const;
    bool killedByUs() const { return killedByUs_; }
    qint64 pid() const { return pid_; }
    QProcess &process() { return *process_; }

private:
    QString decode(const QByteArray &bytes);

    std::unique_ptr<QProcess> process_;
    QStringDecoder decoder_{QStringDecoder::Utf8};
    bool started_ = false;
    bool killedByUs_ = false;
    bool readFailed_ = false;
    qint64 pid_ = 0;
};

// The argument 0 of process pid as the kernel holds it ("" when it cannot be read).
QString processArgv0(qint64 pid);

// The processes of our user whose argument 0 begins with prefix (our own process
// excepted).
QList<qint64> processesStartedFrom(const QString &prefix);

// Process pid was started by a copy of the program that still runs: its parent is the
// process its environment names as owner. A tool whose copy died has been handed to
// init or a subreaper, and one started by anything else names no owner. When the
// environment cannot be read nothing is known, and the tool counts as owned.
bool ownedByLivingCopy(qint64 pid);

// The processes of processesStartedFrom(prefix) that no living copy owns.
QList<qint64> leftoversStartedFrom(const QString &prefix);

} // namespace toolprocesses

namespace mdlConsole {
// Ends every leftover tool: argument 0 begins with folder (appDir +
// "plugins/OrvexRes" when the program calls it), it runs under our user id, and no
// living copy of the program owns it (ownedByLivingCopy). Our own running tools and
// those of another copy at work are left alone, and so is a player of the user's own,
// started from /usr/bin. Each gets SIGTERM, then SIGKILL after a short grace; returns
// once they are gone (bounded).
void KillPlayersIn(const QString &folder);
} // namespace mdlConsole
