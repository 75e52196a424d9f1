#include "core/cmdoutput.h"

#include "core/devconsole.h"
#include "core/mdlmavrell.h"
#include "core/quitsignals.h"
#include "core/toolprocesses.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>

namespace cmdoutput {

ReadEnd readUntilEnd(toolprocesses::ToolProcess &tool, const ReadLimits &limits,
                     const std::function<void(const QString &)> &onText,
                     const std::function<bool()> &shouldStop)
{
    QElapsedTimer sinceData;
    sinceData.start();
    for (;;) {
        const QString text = tool.readRound(limits.roundMs);
        const bool running = tool.isRunning();
        if (!text.isEmpty()) {
            sinceData.restart();
            onText(text);
        } else if (running) {
            const int limit = tool.readFailed() ? std::min(failedReadMs, limits.silenceMs) : limits.silenceMs;
            if (sinceData.elapsed() > limit)
                return ReadEnd::Stalled;
        }
        QCoreApplication::processEvents();
        if (!running)
            return ReadEnd::ToolEnded;
        if (shouldStop && shouldStop())
            return ReadEnd::Stopped;
    }
}

RunResult RunTool(const QString &cmdLine, const RunLimits &limits)
{
    RunResult result;
    if (cmdLine.trimmed().isEmpty())
        return result;
    // A program on its way out (a quit signal) starts no more tools.
    if (quitsignals::requested()) {
        result.cancelled = true;
        return result;
    }

    toolprocesses::ToolProcess tool;
    result.started = tool.start(cmdLine);
    if (result.started) {
        // A quit signal ends the tool in the round it arrives in, as it ends the encoder.
        const auto stopHere = [&limits] { return quitsignals::requested() || (limits.cancelled && limits.cancelled()); };
        const ReadEnd end = readUntilEnd(
            tool, ReadLimits{limits.roundMs, limits.silenceMs},
            [&result](const QString &text) { result.output += text; }, stopHere);
        result.stalled = end == ReadEnd::Stalled;
        result.cancelled = end == ReadEnd::Stopped;
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

} // namespace cmdoutput
