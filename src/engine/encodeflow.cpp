#include "engine/encodeflow.h"

#include "core/fileobject.h"
#include "core/cmdoutput.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/quitsignals.h"
#include "core/timetext.h"
#include "core/userprompts.h"
#include "engine/resultcheck.h"
#include "engine/runrecord.h"
#include "engine/targetkinds.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace mdlMavrell;
using namespace jobrecords;

namespace encodeflow {

namespace {

const QString crlf = QStringLiteral("\r\n");

bool isCopyJob(const JobSettings &j)
{
    const engine::TargetKind *kind = engine::targetKindOf(j);
    return kind && kind->copyJob;
}

bool isRepair(const JobSettings &j)
{
    const engine::TargetKind *kind = engine::targetKindOf(j);
    return kind && kind->repair;
}

void removeFile(const QString &path)
{
    if (path.isEmpty())
        return;
    QString p = path;
    fileObject().DeleteFile(p);
}

} // namespace

bool isSameFile(const QString &src, const QString &dst) { return SameFile(src, dst); }

QString overwriteQuestion(const JobSettings &j, const QString &dst)
{
    QString entry = lng[txt::TargetExistsOverwrite];
    entry.replace(QStringLiteral("aaa"), j.actionWord.trimmed());
    return dst + crlf + crlf + entry;
}

StartRange initialRange(const SourceInfo &s, const JobSettings &j)
{
    StartRange r;
    r.encodeSeconds = j.markOut > 0 ? j.markOut - j.markIn : s.srcLength;
    if (j.markOut != 0)
        r.range = QStringLiteral(" -ss ") + FormatTime(j.markIn, 3, 1) + QStringLiteral(" -endpos ")
                  + FormatTime(r.encodeSeconds, 3, 1);
    return r;
}

QString summaryWithRange(const QString &settingsSummary, float start, float seconds)
{
    const QString &head = lng[txt::TimeRange];
    if (head.isEmpty())
        return settingsSummary;
    QStringList lines = settingsSummary.split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.startsWith(head)) {
            line = head + FormatTime(start, 3, 1) + QStringLiteral(" - ") + FormatTime(start + seconds, 3, 1)
                   + QStringLiteral(" = ") + FormatTime(seconds, 1, 1);
            break;
        }
    return lines.join(QLatin1Char('\n'));
}

QString aviSoundNote(const SourceInfo &s, const JobSettings &j)
{
    if (isCopyJob(j) && j.targetExt == QLatin1String("avi") && s.srcAudioCodec != QLatin1String("mp3"))
        return crlf + QString(48, QLatin1Char('-')) + crlf + lng[txt::AviAudioBecomesMp3] + encodecommand::getRealAudioCodecName(s);
    return {};
}

QString startConfirmation(const JobSettings &j, float previousKeyFrame, const QString &settingsSummary, const QString &aviNote)
{
    QString text;
    if (previousKeyFrame == -1) {
        QString sparse = lng[txt::KeyFramesFarApart];
        sparse.replace(QStringLiteral("aaa"), j.actionWord.trimmed());
        text = sparse + crlf + crlf;
    }
    return text + lng[txt::AboutToStart] + j.actionWord.trimmed() + QStringLiteral(" .....") + crlf + crlf + settingsSummary
           + aviNote;
}

QString percentNote(const QString &percent)
{
    QString note = lng[txt::ProgressPercent];
    note.replace(QStringLiteral("aaa"), percent);
    return note;
}

QString firstProgressNote(const JobSettings &j)
{
    const bool parsesTime = isAudioTarget(j) || isRepair(j);
    return percentNote(QStringLiteral("0")) + QStringLiteral(" -->  ") + (parsesTime ? lng[txt::AnalysingTimeLine] : lng[txt::Initialising]);
}

bool offerRetry(float percent, bool retried, bool stopFlag, const QString &mc, qint64 targetSize)
{
    return percent <= 1 && !retried && !stopFlag && mc.contains(QLatin1String("-mc 1")) && targetSize > 0
           && targetSize < 102400;
}

qint64 fileSize(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

Problem preRunProblem(const QString &src, const QString &dst, const QStringList &tools, const QString &intermediate,
                      const QString &part)
{
    QFile source(src);
    if (!source.open(QIODevice::ReadOnly))
        return {txt::SourceUnreadable, src};
    source.close();
    for (const QString &tool : tools) {
        const QFileInfo t(tool);
        if (!t.isFile())
            return {txt::ToolFilesMissing, tool};
        if (!t.isExecutable())
            return {txt::ToolNotExecutable, tool};
    }
    const QFileInfo target(dst);
    if (target.isDir())
        return {txt::TargetIsFolder, dst};
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        return {txt::TargetFolderMissing, folder};
    const QByteArray folderBytes = QFile::encodeName(folder);
    long nameMax = ::pathconf(folderBytes.constData(), _PC_NAME_MAX);
    if (nameMax <= 0)
        nameMax = NAME_MAX;
    for (const QString &written : {dst, intermediate, part}) {
        if (written.isEmpty())
            continue;
        const QFileInfo w(written);
        if (QFile::encodeName(w.fileName()).size() > nameMax || QFile::encodeName(w.absoluteFilePath()).size() >= PATH_MAX)
            return {txt::TargetNameTooLong, written};
    }
    // Permissions alone do not tell (a read-only drive, a folder of the system): a file
    // is made there and removed again.
    QTemporaryFile probe(folder + QStringLiteral("/.mavrell-XXXXXX"));
    if (!probe.open())
        return {txt::TargetFolderNotWritable, folder};
    return {};
}

bool driveFull(const QString &folder)
{
    const QStorageInfo drive(folder);
    if (!drive.isValid())
        return false;
    // The superuser may fill the blocks a file system keeps back for it.
    const qint64 room = ::geteuid() == 0 ? drive.bytesFree() : drive.bytesAvailable();
    return room >= 0 && room < 1024 * 1024;
}

QString partPath(const QString &target) { return target + QStringLiteral(".mavrell-part"); }

bool givePartItsName(const QString &part, const QString &target)
{
    // rename(2) replaces the target in one step; the two lie in one folder.
    return ::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) == 0;
}

bool isSuccess(const encoderunner::EncodeRunResult &run, const QString &written, const QString &inUseMessage,
               const QString &checkMessage)
{
    return run.completed() && inUseMessage.isEmpty() && checkMessage.isEmpty() && fileSize(written) > 0;
}

double checkedLength(const SourceInfo &s, const JobSettings &j)
{
    if (isRepair(j))
        return s.srcLength;
    return j.encodeSeconds;
}

bool checksWholeSource(const JobSettings &j) { return isRepair(j) || j.markOut <= 0; }

double checkedSourceStart(const JobSettings &j) { return checksWholeSource(j) ? 0 : j.markIn; }

QString runFailureReason(const encoderunner::EncodeRunResult &run)
{
    if (run.completed() || run.stalled || run.stopped || !run.abandoned.isEmpty())
        return {};
    QString text;
    if (!run.started) {
        text = lng[txt::ToolNotStarted];
    } else if (run.crashed) {
        text = lng[txt::ToolEndedBySignal];
        const char *name = ::sigabbrev_np(run.signal);
        text.replace(QStringLiteral("bbb"), QString::number(run.signal)
                                                + (name ? QStringLiteral(" (SIG") + QString::fromLatin1(name) + QLatin1Char(')') : QString()));
    } else if (run.exitCode != 0 && run.endedByItself) {
        text = lng[txt::ToolErrorStatus];
        text.replace(QStringLiteral("bbb"), QString::number(run.exitCode));
    } else {
        return {};
    }
    text.replace(QStringLiteral("aaa"), run.tool);
    if (!run.lastMessage.isEmpty())
        text += crlf + lng[txt::ToolLastMessage] + crlf + run.lastMessage;
    return text + crlf + crlf;
}

QString targetNotReplacedText(int error)
{
    if (error == 0)
        return {};
    if (error == EBUSY)
        return lng[txt::TargetInUse] + crlf + crlf;
    if (error == EPERM || error == EACCES)
        return lng[txt::TargetProtected] + crlf + crlf;
    QString text = lng[txt::TargetNotReplaceable];
    text.replace(QStringLiteral("aaa"), QString::fromLocal8Bit(::strerror(error)));
    return text + crlf + crlf;
}

QString removeOldTarget(const QString &target)
{
    const QByteArray name = QFile::encodeName(target);
    struct stat st{};
    if (::lstat(name.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return {};
    if (::unlink(name.constData()) == 0 || errno == ENOENT)
        return {};
    return targetNotReplacedText(errno);
}

QString timeTakenText(float seconds) { return lng[txt::TimeTaken] + FormatTime(seconds, 1, 1) + lng[txt::Seconds]; }

QString successText(const JobSettings &j, const QString &target, const QString &timeText)
{
    return target + crlf + crlf + Joined(j.actionWord, lng[txt::Succeeded]) + lng[txt::ListComma] + timeText + crlf + crlf
           + lng[txt::OpenAndPlayQuestion];
}

QString failureText(const JobSettings &j, const QString &target, const QString &whyMessage, const QString &timeText)
{
    return target + crlf + crlf + whyMessage + Joined(j.actionWord, lng[txt::Failed]) + lng[txt::ListComma] + timeText;
}

StageResult runEncodeStage(EncodeJob &job, EncodeWindow &window, const encoderunner::EncodeRunLimits &limits)
{
    StageResult out;
    const SourceInfo &s = job.source;
    const JobSettings &j = job.settings;
    const QString target = job.inputs.dst;
    // The tools write the part; the target's name is given only to a checked result (or
    // to what a stopped run wrote).
    const QString part = partPath(target);
    job.inputs.output = part;
    std::optional<runrecord::Record> record;
    QString inUse;
    bool retryDeclined = false;
    qint64 startTick = 0;
    encodecommand::Built built;

    // The command is built once, and once more for an accepted retry.
    auto buildCommand = [&] {
        built = encodecommand::build(s, j, job.prep, job.range, job.inputs);
        if (!built.command.isEmpty() && !built.expectedDemuxer.isEmpty()
            && !encodecommand::confirmRealFormat(s, j, built.expectedDemuxer))
            built.command.clear();
        if (!built.command.isEmpty()) {
            const QString problem = encodecommand::keptPictureProblem(s, j);
            if (!problem.isEmpty()) {
                prompts::MsgBox(problem);
                built.command.clear();
            }
        }
        window.showStopButton();
        const int preset = window.developerPreset();
        if (preset > 0)
            built.command = encodecommand::applyDeveloperPreset(built.command, preset);
        return built.command;
    };

    const QString folder = QFileInfo(target).absolutePath();
    encoderunner::EncodeRunLimits runLimits = limits;
    runLimits.actionWord = j.actionWord;
    // A folder removed while the tool writes into it: the run is ended at once.
    runLimits.watch = [&]() -> QString {
        if (limits.watch) {
            const QString other = limits.watch();
            if (!other.isEmpty())
                return other;
        }
        if (!QFileInfo(folder).isDir())
            return lng[txt::TargetFolderRemoved] + crlf + folder;
        return {};
    };
    // A stopped run keeps what the tool wrote into the target; a stalled one, or one
    // ended because the program is going, keeps nothing.
    runLimits.endNote = [&](bool stalled) -> QString {
        removeFile(built.intermediate);
        if (stalled || quitsignals::requested() || fileSize(part) <= 0 || !givePartItsName(part, target)) {
            removeFile(part);
            return lng[txt::NothingKept];
        }
        return lng[txt::PartialKept] + crlf + target;
    };

    QString command = buildCommand();
    while (true) {
        if (window.reviewRequested())
            command = window.reviewCommand(command);
        out.command = command;
        startTick = QDateTime::currentMSecsSinceEpoch();
        if (command.isEmpty())
            break;
        out.problem = preRunProblem(job.inputs.src, target, {job.inputs.tool2, job.inputs.tool3}, built.intermediate, part);
        if (out.problem.entry)
            break;
        inUse = removeOldTarget(target);
        QCoreApplication::processEvents();
        if (!inUse.isEmpty())
            break;
        // What an earlier run left under the part's name is no result of this one.
        removeFile(part);
        // Noted before the tools start, so that the next start clears what they leave
        // when the program is killed outright.
        record.emplace(QStringList{part, built.intermediate}, SettingsFolder());
        out.run = encoderunner::runEncodeWithProgress(command, j.encodeSeconds, false, &window, runLimits);
        out.checkMessage.clear();
        if (out.run.completed() && fileSize(part) > 0) {
            // A clean exit is no proof of a whole result: the target itself must show it.
            window.setProgressNote(out.run.percent,
                                   percentNote(QString::number(int(out.run.percent))) + QStringLiteral(" -->  ") + lng[txt::CheckingResult],
                                   false);
            resultcheck::Expectation expected = resultcheck::expectedStreams(s, j, checkedLength(s, j));
            expected.clockShare = resultcheck::clockShortfall(command, s.srcAudioRate);
            const resultcheck::Verdict verdict =
                resultcheck::checkTarget(part, job.inputs.src, expected, checkedSourceStart(j), checksWholeSource(j));
            out.run.percent = verdict.percent;
            if (!verdict.ok)
                out.checkMessage = verdict.message + crlf + crlf;
        }
        // What the first tool wrote tells whether it gave up at once.
        qint64 written = fileSize(part);
        if (written < 0 && !built.intermediate.isEmpty())
            written = fileSize(built.intermediate);
        removeFile(built.intermediate);
        if (!offerRetry(out.run.percent, out.retried, cmdoutput::stopEncodeFlag, built.mc, written))
            break;
        prompts::MessageRequest ask;
        ask.text = lng[txt::SyncNotPossibleRetry];
        ask.buttons = prompts::Buttons::OkCancel;
        if (prompts::current().message(ask) != prompts::Answer::Ok) {
            // The conversion did not work: it is reported, and its short target removed.
            retryDeclined = true;
            break;
        }
        out.retried = true;
        job.inputs.retry = true;
        command = buildCommand();
    }

    window.setCpuLoadText(lng[txt::CpuLoad] + QStringLiteral("0.0 %"));
    QCoreApplication::processEvents();

    auto rest = [&] {
        window.showEncodeButton();
        window.restProgressFrame();
        window.setProgressNote(0, percentNote(QStringLiteral("0")), true);
        window.setEncodingControls(false);
    };

    if (command.isEmpty()) {
        out.outcome = Outcome::NotRun;
        rest();
        return out;
    }
    if (out.problem.entry) {
        out.outcome = Outcome::Failed;
        prompts::FileMsgBox(lng[out.problem.entry], out.problem.path);
        rest();
        return out;
    }
    if (cmdoutput::stopEncodeFlag) {
        out.outcome = Outcome::Stopped;
        rest();
        return out;
    }

    const auto elapsed = [&] { return float(QDateTime::currentMSecsSinceEpoch() - startTick) / 1000.0f; };
    // A checked result gets the target's name; failing that, nothing is kept.
    bool named = false;
    if (!retryDeclined && isSuccess(out.run, part, inUse, out.checkMessage)) {
        named = givePartItsName(part, target);
        if (!named)
            out.checkMessage = lng[txt::TargetFolderNotWritable] + crlf + folder + crlf + crlf;
    }
    if (named) {
        out.outcome = Outcome::Succeeded;
        window.setProgressNote(100, percentNote(QStringLiteral("100")), false);
        QCoreApplication::processEvents();
        const QString text = successText(j, target, timeTakenText(elapsed()));
        if (prompts::MsgBox(text, prompts::Buttons::OkCancel) == prompts::Answer::Ok) {
            rest();
            QCoreApplication::processEvents();
            window.playResult(target);
            return out;
        }
        rest();
        return out;
    }

    out.outcome = Outcome::Failed;
    QString why = inUse.isEmpty() ? out.checkMessage : inUse;
    QString kept;
    if (inUse.isEmpty()) {
        why = runFailureReason(out.run) + why;
        // The cause the run itself cannot tell: the folder went away, the drive is full.
        if (!out.run.abandoned.isEmpty())
            why = out.run.abandoned + crlf + crlf;
        else if (driveFull(folder))
            why = lng[txt::TargetDiskFull] + crlf + folder + crlf + crlf + why;
        // Nothing that looks like a result stays.
        removeFile(built.intermediate);
        removeFile(part);
        QCoreApplication::processEvents();
        kept = crlf + crlf + lng[txt::NothingKept];
    }
    const QString timeText = inUse.isEmpty() ? timeTakenText(elapsed()) : QString();
    prompts::MsgBox(failureText(j, target, why, timeText) + kept);
    rest();
    return out;
}

} // namespace encodeflow
