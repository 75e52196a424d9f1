#include "core/cmdoutput.h"

#include "core/devconsole.h"
#include "core/mdlmavrell.h"
#include "core/toolprocesses.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace mdlGetCmdOutput {

RunResult RunTool(const QString &cmdLine, const RunLimits &limits)
{
    RunResult result;
    if (cmdLine.trimmed().isEmpty())
        return result;

    toolprocs::ToolProcess tool;
    result.started = tool.start(cmdLine);
    if (result.started) {
        QElapsedTimer lastData;
        lastData.start();
        for (;;) {
            const QString chunk = tool.readRound(limits.roundMs);
            const bool running = tool.isRunning();
            if (!chunk.isEmpty()) {
                result.output += chunk;
                lastData.restart();
            } else if (running) {
                if (tool.readFailed() && lastData.elapsed() >= limits.failedReadMs) {
                    result.stalled = true;
                    break;
                }
                if (lastData.elapsed() > limits.silenceMs) {
                    result.stalled = true;
                    break;
                }
            }
            QCoreApplication::processEvents();
            if (!running)
                break;
            if (limits.cancelled && limits.cancelled()) {
                result.cancelled = true;
                break;
            }
        }
        // What the tool printed as it ended (or before we end it) is kept.
        result.output += tool.drain();
        if (tool.isRunning()) {
            tool.stop();
            result.output += tool.drain();
            QCoreApplication::processEvents();
        }
        result.exitCode = tool.exitCode();
        result.crashed = tool.crashed();
    }

    if (limits.mirror && mdlMavrell::showDosOutput)
        devconsole::mirrorRun(cmdLine, result.output);
    return result;
}

QString GetCmdOutput(const QString &cmdLine, bool showWindow)
{
    Q_UNUSED(showWindow);
    return RunTool(cmdLine).output;
}

} // namespace mdlGetCmdOutput
