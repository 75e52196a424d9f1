#include "engine/encoderunner.h"

#include "core/cmdoutput.h"
#include "core/devconsole.h"
#include "core/mdlmavrell.h"
#include "core/quitsignals.h"
#include "core/toolprocesses.h"
#include "core/userprompts.h"
#include "engine/encodecommand.h"
#include "engine/encodeprogress.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>

namespace encoderunner {

using cmdoutput::stopEncodeFlag;

namespace {

struct StageSpan {
    float from = 0;
    float to = 100;
};

// How one stage's percentage maps into the whole run's bar: one tool takes it all;
// of two, the first (the encoder, which does the work) takes 90 %.
StageSpan spanOf(int stage, int count)
{
    if (count <= 1)
        return {};
    return stage == 0 ? StageSpan{0, 90} : StageSpan{90, 100};
}

class ProgressReader {
public:
    ProgressReader(EncodeProgressSink *sink, float total, float &lastDrawn, float &current)
        : sink_(sink), total_(total), lastDrawn_(lastDrawn), current_(current)
    {
    }

    void beginStage(bool tool3, StageSpan span)
    {
        tool3_ = tool3;
        span_ = span;
        pending_.clear();
    }

    void feed(const QString &text)
    {
        if (text.isEmpty())
            return;
        const QString all = pending_ + text;
        const encodeprogress::Reading r = encodeprogress::readPosition(all, tool3_);
        pending_ = all.mid(r.consumed);
        if (!r.found)
            return;
        float pct = encodeprogress::percentOf(r.seconds, total_, tool3_);
        if (span_.from != 0 || span_.to != 100) {
            // The stage's share of the bar, kept to the same precision.
            const float mapped = span_.from + pct * (span_.to - span_.from) / 100.0f;
            pct = total_ > 0 ? encodeprogress::percentOf(mapped * total_ / 100.0f, total_, tool3_) : mapped;
        }
        current_ = pct;
        if (pct != lastDrawn_) {
            if (sink_)
                sink_->setProgressNote(pct, encodeprogress::runningNote(pct, r.seconds, total_, tool3_), false);
            lastDrawn_ = pct;
        }
    }

private:
    EncodeProgressSink *sink_;
    float total_;
    float &lastDrawn_;
    float &current_;
    bool tool3_ = false;
    StageSpan span_;
    QString pending_;
};

void mirror(const QString &text)
{
    if (mdlMavrell::showDosOutput && !text.isEmpty())
        devconsole::current().appendOutput(text);
}

} // namespace

bool isTool3Command(const QString &cmdLine)
{
    const QStringList words = toolprocesses::splitToolCommand(cmdLine);
    if (words.isEmpty())
        return false;
    const QString name = QFileInfo(words.first()).fileName();
    return name == QLatin1String("OrvexRes3") || name.startsWith(QLatin1String("OrvexRes3."));
}

EncodeRunResult runEncodeWithProgress(const QString &cmdLine, float totalSeconds, bool showWindow,
                                      EncodeProgressSink *sink, const EncodeRunLimits &limits)
{
    EncodeRunResult result;
    const QStringList stages = encodecommand::stages(cmdLine);
    if (stages.isEmpty())
        return result;

    stopEncodeFlag = false;
    const qint64 startTick = QDateTime::currentMSecsSinceEpoch();
    if (sink)
        sink->encodeStarted(startTick, encodeprogress::startEstimateText());
    if (mdlMavrell::showDosOutput) {
        devconsole::current().setCommand(devconsole::commandHeader(cmdLine));
        devconsole::current().setOutput(QString());
    }

    const float total = totalSeconds;
    float current = 0;
    float lastDrawn = -1;
    ProgressReader reader(sink, total, lastDrawn, current);

    result.started = true;
    for (int i = 0; i < stages.size(); ++i) {
        const QString &stage = stages.at(i);
        reader.beginStage(isTool3Command(stage), spanOf(i, stages.size()));
        const QStringList words = toolprocesses::splitToolCommand(stage);
        result.tool = words.isEmpty() ? QString() : words.first();
        // The end of what the tool printed, for its last message.
        QString tail;
        const auto keepTail = [&tail](const QString &text) {
            tail += text;
            if (tail.size() > 16384)
                tail = tail.right(8192);
        };
        toolprocesses::ToolProcess tool;
        if (!tool.start(stage)) {
            result.started = false;
            result.endedByItself = false;
            result.exitCode = -1;
            break;
        }
        QElapsedTimer sinceWatch;
        sinceWatch.start();
        // Asked after each round's events while the tool runs: the job's watch about
        // once a second, then Stop.
        const auto stopHere = [&] {
            if (limits.watch && sinceWatch.elapsed() >= 1000) {
                sinceWatch.restart();
                result.abandoned = limits.watch();
                if (!result.abandoned.isEmpty())
                    return true;
            }
            return stopEncodeFlag;
        };
        const cmdoutput::ReadEnd end = cmdoutput::readUntilEnd(
            tool, cmdoutput::ReadLimits{limits.roundMs, limits.silenceMs},
            [&reader, &keepTail](const QString &text) {
                mirror(text);
                reader.feed(text);
                keepTail(text);
            },
            stopHere);
        result.stalled = end == cmdoutput::ReadEnd::Stalled;
        const bool running = end != cmdoutput::ReadEnd::ToolEnded;
        if (!running) {
            const QString rest = tool.drain();
            mirror(rest);
            reader.feed(rest);
            keepTail(rest);
        }
        if (tool.isRunning()) {
            tool.stop(limits.graceMs);
            QCoreApplication::processEvents();
        }
        result.endedByItself = !tool.killedByUs();
        result.exitCode = tool.exitCode();
        result.crashed = tool.crashed();
        // On a crash the process's exit code is the signal's number.
        result.signal = result.crashed ? tool.process().exitCode() : 0;
        result.lastMessage = encodeprogress::lastMessageLine(tail);
        if (result.stalled || stopEncodeFlag || result.crashed || result.exitCode != 0 || !result.abandoned.isEmpty())
            break;
    }

    result.stopped = stopEncodeFlag && !result.stalled;
    result.percent = result.started && !result.stalled && !result.stopped
                         ? encodeprogress::finalPercent(current, result.endedByItself && !result.crashed, result.exitCode)
                         : current;

    if (sink)
        sink->encodeEnded();
    if (mdlMavrell::showDosOutput)
        devconsole::current().showConsole();
    QCoreApplication::processEvents();

    if (!result.stalled && !result.stopped)
        return result;

    using mdlMavrell::lng;
    if (result.stalled)
        stopEncodeFlag = true;  // so that the encode step neither reports nor retries
    if (sink)
        sink->setCpuLoadText(lng[txt::CpuLoad] + QStringLiteral("0.0 %"));
    QCoreApplication::processEvents();
    QString note = limits.endNote ? limits.endNote(result.stalled) : QString();
    if (!note.isEmpty())
        note = QStringLiteral("\r\n\r\n") + note;
    // When the program ends on a signal nobody is there to be told.
    if (!quitsignals::requested()) {
        const QString stuck = result.stalled ? lng[txt::ProcessStuck] + QStringLiteral("\r\n\r\n") : QString();
        prompts::MsgBox(stuck + mdlMavrell::Joined(limits.actionWord, lng[txt::WasInterrupted]) + note);
    }
    if (sink)
        sink->showEncodeButton();
    return result;
}

} // namespace encoderunner
