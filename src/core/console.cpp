#include "core/console.h"

#include "core/devconsole.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "core/toolprocesses.h"

#include <QCoreApplication>

#include <memory>

namespace {

// The one run of the child.
struct ConsoleRun {
    std::unique_ptr<toolprocesses::ToolProcess> tool;
    ConsoleOwner *owner = nullptr;
    bool mirror = false;      // developer console: command and output are mirrored
    bool stopping = false;    // inside StopConsole
};

ConsoleRun &run()
{
    static ConsoleRun r;
    return r;
}

// Calls the owner back; the owner usually stops the run from inside the call.
void notifyOwner()
{
    if (ConsoleOwner *owner = run().owner)
        owner->setStopDosIo();
}

} // namespace

ConsoleOwner::~ConsoleOwner() { mdlConsole::ReleaseOwner(this); }

namespace mdlConsole {

void ReleaseOwner(ConsoleOwner *owner)
{
    if (owner && run().owner == owner)
        run().owner = nullptr;
}

int StartConsole(const QString &cmdLine, ConsoleOwner *owner, bool &show)
{
    ConsoleRun &r = run();
    static bool cleanupRegistered = false;
    if (!cleanupRegistered && QCoreApplication::instance()) {
        // The child goes with the application object, while the process machinery
        // still works, not with the static state after it.
        qAddPostRoutine([] { StopConsole(); });
        cleanupRegistered = true;
    }
    // One player at a time: our own child first (gently), then every tool a copy that
    // is gone left behind. Tools of a living copy (our own encoder, too) run on.
    StopConsole();
    KillPlayersIn(mdlMavrell::ToolPrefix());
    if (mdlMavrell::showDosOutput)
        show = true;
    r.owner = owner;
    r.mirror = show;

    auto tool = std::make_unique<toolprocesses::ToolProcess>();
    if (!tool->start(cmdLine, true))
        return startProcessFailed;
    r.tool = std::move(tool);
    if (r.mirror) {
        devconsole::current().setCommand(devconsole::commandHeader(cmdLine));
        devconsole::current().setOutput(QString());
    }
    return startOk;
}

int SendSlave(const QString &command, bool keepPaused)
{
    ConsoleRun &r = run();
    if (!r.tool || command.contains('\n') || command.contains('\r'))
        return sendFailed;
    QString line = command;
    if (keepPaused && command != QLatin1String("pause") && command != QLatin1String("frame_step"))
        line.prepend(QStringLiteral("pausing "));
    line += '\n';
    return r.tool->write(line.toUtf8()) ? 0 : sendFailed;
}

int ReadConsole(QString &text)
{
    ConsoleRun &r = run();
    if (!r.owner)
        return readOk;
    text.clear();
    if (!r.tool) {
        // No child (it failed to start or was stopped): its channel is gone.
        notifyOwner();
        return readPeekFailed;
    }
    toolprocesses::ToolProcess &tool = *r.tool;
    const bool running = tool.isRunning();  // also takes in what waits in the pipe
    if (tool.readFailed()) {
        notifyOwner();
        return readPeekFailed;
    }
    const qint64 waiting = tool.bytesWaiting();
    if (waiting == 0) {
        if (!running)
            notifyOwner();
        return readNothing;
    }
    if (waiting >= overflowBytes) {
        tool.readAvailable();  // dropped: the run ends
        notifyOwner();
        return readOk;
    }
    text = tool.readAvailable();
    if (r.mirror)
        devconsole::current().appendOutput(text);
    return readOk;
}

bool IsRunning()
{
    ConsoleRun &r = run();
    return r.tool && r.tool->isRunning();
}

int StopConsole()
{
    ConsoleRun &r = run();
    if (r.stopping || !r.tool)
        return 0;
    r.stopping = true;
    std::unique_ptr<toolprocesses::ToolProcess> tool = std::move(r.tool);
    if (tool->isRunning()) {
        // Asked first, so that the player leaves the terminal and its files in order.
        tool->write(QByteArrayLiteral("quit\n"));
        if (!tool->waitForEnd(500))
            tool->stop(500);
    }
    if (r.mirror)
        devconsole::current().appendOutput(tool->drain());
    tool.reset();
    r.stopping = false;
    return 0;
}

void FindConsoleWindow() {}

void SetConsoleTitle(const QString &title) { Q_UNUSED(title); }

qint64 PendingBytes()
{
    ConsoleRun &r = run();
    if (!r.tool)
        return 0;
    r.tool->isRunning();
    return r.tool->bytesWaiting();
}

qint64 ChildPid()
{
    ConsoleRun &r = run();
    return r.tool ? r.tool->pid() : 0;
}

} // namespace mdlConsole
