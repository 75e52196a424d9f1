// The conversion side of the main window: the encode and Stop button, the settings
// button, and the window's part in a run (the checks, the key-frame note, the
// questions, the progress frame, the developer review). What the run decides lives
// in the engine (encodeflow.h, encodecommand.h, keyframeprobe.h); this file asks the
// user and shows the results.
#include "mainwin/frmmain.h"

#include "controls/stylebutton.h"
#include "core/cmdoutput.h"
#include "core/devconsole.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "engine/encodeflow.h"
#include "engine/keyframeprobe.h"
#include "engine/resultcheck.h"
#include "engine/targetkinds.h"
#include "mainwin/frmdevcmd.h"
#include "mainwin/frmmain_look.h"
#include "options/frmoptions.h"
#include "player/frmplayer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopeGuard>

using namespace mdlMavrell;

namespace {

const QString crlf2 = QStringLiteral("\r\n\r\n");

// Lets window messages run for ms milliseconds without blocking them.
void pauseWithEvents(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, ms - int(t.elapsed()));
}

} // namespace

bool FrmMain::checkSourceReady(bool quiet)
{
    QString src = lblInput->text();
    const bool exists = !src.isEmpty() && fileObject().FileExists(src);
    if (exists && (jobstate::sourceInfo.srcLength != 0 || jobstate::sourceInfo.srcFps != 0))
        return true;
    if (!quiet) {
        if (!exists)
            prompts::MsgBox(lng[txt::ChooseSourceFirst], prompts::Buttons::Ok, prompts::Icon::None, QStringLiteral("Mavrell"), this);
        else
            prompts::MsgBox(lng[txt::SourceCannotBeAnalysed] + crlf2 + lblInput->text(), prompts::Buttons::Ok, prompts::Icon::None,
                            QStringLiteral("Mavrell"), this);
    }
    return false;
}

bool FrmMain::checkPluginFile(const QString &path)
{
    QString p = path;
    if (fileObject().FileExists(p))
        return true;
    // The message names the file that is missing.
    prompts::FileMsgBox(lng[txt::ToolFilesMissing], path, this);
    return false;
}

void FrmMain::showKeyframeCheckNote(bool show)
{
    if (show) {
        lblEncodeNoteCheck->setText(lng[txt::CheckingKeyFrames]);
        lblEncodeNoteCheck->move(lblEncodeNoteCheck->x(),
                                 cmdOpt->y() + (cmdOpt->height() - lblEncodeNoteCheck->height()) / 2);
        lblEncodeNoteCheck->show();
        lblEncodeNoteCheck->raise();
        lblEncodeNote->hide();
    } else {
        lblEncodeNoteCheck->hide();
        lblEncodeNote->show();
    }
    QCoreApplication::processEvents();
}

void FrmMain::cmdEncode_Click(int index)
{
    Q_UNUSED(index);
    if (busyGuard())
        return;
    // A click while a conversion runs (the runner lets clicks through) only asks it to stop.
    if (!cmdEncode[1]->isHidden()) {
        cmdoutput::stopEncodeFlag = true;
        return;
    }
    // The handler lets window messages run while it prepares the run (the lock, the
    // questions, the first progress note), before the Stop button is shown; a second
    // click on the encode button meanwhile must not start a second conversion.
    static bool preparing = false;
    if (preparing)
        return;
    preparing = true;
    const auto done = qScopeGuard([] { preparing = false; });

    closePlayerWindow();
    if (!checkSourceReady(false))
        return;

    const jobrecords::SourceInfo &source = jobstate::sourceInfo;
    jobrecords::JobSettings &settings = jobstate::jobSettings;
    if (const int entry = engine::jobMismatchEntry(source, settings)) {
        prompts::MsgBox(lng[entry], prompts::Buttons::Ok, prompts::Icon::None, QStringLiteral("Mavrell"), this);
        return;
    }
    const QString src = lblInput->text();
    const QString dst = lblOutput->text();
    // Whatever named them, no path goes into a command line that could not stand there.
    if (const QString bad = UnquotablePath({src, dst}); !bad.isEmpty()) {
        prompts::FileMsgBox(lng[txt::InvalidFileName], bad, this);
        return;
    }
    if (encodeflow::isSameFile(src, dst)) {
        prompts::MsgBox(lng[txt::SourceIsTarget], prompts::Buttons::Ok, prompts::Icon::None, QStringLiteral("Mavrell"), this);
        return;
    }
    QString existing = dst;
    if (fileObject().FileExists(existing)
        && prompts::MsgBox(encodeflow::overwriteQuestion(settings, dst), prompts::Buttons::OkCancel, prompts::Icon::None,
                           QStringLiteral("Mavrell"), this)
               != prompts::Answer::Ok)
        return;

    // Both tools must be there whichever of them the job runs.
    const QString tool2 = ToolPath(2);
    if (!checkPluginFile(tool2))
        return;
    const QString tool3 = ToolPath(3);
    if (!checkPluginFile(tool3))
        return;
    // No result is reported as a success unchecked: the prober is needed like a tool.
    if (resultcheck::proberPath().isEmpty()) {
        prompts::FileMsgBox(lng[txt::ProberMissing], resultcheck::proberPlaces().join(QLatin1Char('\n')), this);
        return;
    }

    setEncodingControls(true);
    const encodeflow::StartRange start = encodeflow::initialRange(source, settings);
    settings.encodeSeconds = start.encodeSeconds;
    QString range = start.range;

    // Where a marked cut really starts. Tool 1 is checked once: when it is missing the
    // user hears it once and every probe reads as "no frame time at 0".
    keyframeprobe::AlignmentHooks hooks;
    int tool1State = 0;  // 0 not checked, 1 there, -1 missing
    hooks.probe = [this, src, &tool1State](float t) -> float {
        if (tool1State == 0)
            tool1State = checkPluginFile(ToolPath(1)) ? 1 : -1;
        if (tool1State < 0)
            return 0;
        return keyframeprobe::getKeyFrameTime(src, t);
    };
    hooks.showNote = [this](bool show) { showKeyframeCheckNote(show); };
    hooks.ask = [this](const QString &text, prompts::Buttons buttons) {
        return prompts::MsgBox(text, buttons, prompts::Icon::None, QStringLiteral("Mavrell"), this);
    };
    const keyframeprobe::Alignment aligned = keyframeprobe::alignCutStart(source, settings, range, settings.encodeSeconds, hooks);
    if (aligned.cancelled) {
        setEncodingControls(false);
        return;
    }
    range = aligned.range;
    settings.encodeSeconds = aligned.encodeSeconds;
    if (aligned.ran)
        pauseWithEvents(100);

    const QString aviNote = encodeflow::aviSoundNote(source, settings);
    // The summary's time range is the one that will be converted, after any move.
    const QString summary = range.isEmpty() ? lblEncodeNote->text()
                                            : encodeflow::summaryWithRange(lblEncodeNote->text(), aligned.start, settings.encodeSeconds);
    const QString confirmation = encodeflow::startConfirmation(settings, aligned.previousKeyFrame, summary, aviNote);
    if (prompts::MsgBox(confirmation, prompts::Buttons::OkCancel, prompts::Icon::None, QStringLiteral("Mavrell"), this)
        != prompts::Answer::Ok) {
        setEncodingControls(false);
        return;
    }

    // The progress bar in its running frame: black border, box drawn inwards.
    look::setBlockColour(shpBlock, 0);
    picProgress->setGeometry(look::progressBox.adjusted(1, 2, -1, -2));
    setProgressNote(0, encodeflow::firstProgressNote(settings), false);
    QCoreApplication::processEvents();

    encodeflow::EncodeJob job;
    job.source = source;
    job.settings = settings;
    job.prep = encodecommand::prepare(source, settings);
    job.range = range;
    job.inputs.tool2 = tool2;
    job.inputs.tool3 = tool3;
    job.inputs.src = src;
    job.inputs.dst = dst;
    job.inputs.aviSoundNote = aviNote;
    lastEncode = encodeflow::runEncodeStage(job, *this, encodeLimits);
}

int FrmMain::developerPreset()
{
    if (cboCmdEditSpec->isHidden())
        return -1;
    return cboCmdEditSpec->currentIndex();
}

bool FrmMain::reviewRequested()
{
    return !chkCheckCmd->isHidden() && chkCheckCmd->isChecked();
}

QString FrmMain::reviewCommand(const QString &command)
{
    devconsole::current().setCommand(devconsole::commandHeader(command));
    devconsole::current().setOutput(QString());
    // The developer edits the command in the developer window; its confirm button hands
    // the text back (also through chkCheckCmdTag), cancel or closing hands back nothing.
    return FrmOutput::reviewCommand(this, command);
}

// The player window, reached only from here: it plays a finished target, and it
// closes before a new job, a conversion or the options dialog.
void FrmMain::playResult(const QString &target)
{
    showPlayerAndPlay(target);
}

void FrmMain::closePlayerWindow()
{
    if (!playerOpen)
        return;
    unloadFrmPlayer();
    QCoreApplication::processEvents();
}

void FrmMain::cmdOpt_Click()
{
    if (busyGuard() || !cmdEncode[1]->isHidden())
        return;
    closePlayerWindow();
    if (!checkSourceReady(false))
        return;
    FrmOptions &options = frmOptions();
    options.takeSnapshot();
    if (!checkPluginFile(ToolPath(1)))
        return;
    options.showForSettings(lblInput->text());
}
