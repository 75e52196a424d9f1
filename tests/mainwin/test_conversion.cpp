// Conversions through the real main window: a target-menu item, the source dialog
// answered with a generated clip, the encode button, the questions, the report.
// Every box and dialog goes through ScriptedPrompts.
#include "mainwin/conversionwindow.h"

#include "controls/orvextab.h"
#include "core/numbertext.h"
#include "coregui/jobstate.h"
#include "mainwin/frmdevcmd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>

using namespace conversiontest;

// Stop while the encoder runs: the click re-enters the handler and only raises the
// flag; the tool is ended, the runner says so, and nothing is reported as done.
TEST_F(Conversion, StopEndsTheToolAndReportsNoSuccess)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 2, src);
    const QString pidFile = work.filePath("tool.pid");
    prog.fakeTool(2, "echo $$ > '" + pidFile.toUtf8() + "'\n"
                     "for last in \"$@\"; do :; done\n"
                     "printf 'data' > \"$last\"\n"
                     "i=0; while true; do i=$((i+1)); printf 'Pos: %d.0s  10f (10%%)\\r' $((i % 3)); sleep 0.1; done\n");
    QTimer stopper;
    bool pressed = false;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (!pressed && !w->cmdEncode[1]->isHidden() && QFile::exists(pidFile)) {
            pressed = true;
            w->cmdEncode_Click(1);
        }
    });
    stopper.start(50);
    prompts.answer(Answer::Ok);  // start confirmation
    w->cmdEncode_Click(0);
    stopper.stop();

    ASSERT_TRUE(pressed);
    EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Stopped);
    EXPECT_TRUE(w->lastEncode.run.stopped);
    EXPECT_TRUE(said(txt::WasInterrupted));
    EXPECT_FALSE(said(txt::Succeeded));
    EXPECT_FALSE(said(txt::Failed));
    QFile f(pidFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const int pid = QString::fromLatin1(f.readAll()).trimmed().toInt();
    ASSERT_GT(pid, 0);
    EXPECT_NE(::kill(pid, 0), 0) << "the encoder still runs";
    // What the encoder wrote so far is left as it is.
    EXPECT_TRUE(QFileInfo::exists(w->lblOutput->text()));
    EXPECT_TRUE(w->cmdEncode[1]->isHidden());
    EXPECT_TRUE(w->cmdInput->isEnabled());
}

// An encoder that fails (status 1, empty target) is reported as a failure that names
// its status and its last error line, and its empty file is removed.
TEST_F(Conversion, FailedEncoderIsReportedAndEmptyTargetRemoved)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 1, src);
    const QString dst = w->lblOutput->text();
    prog.fakeTool(2, "for last in \"$@\"; do :; done\n: > \"$last\"\nprintf 'Pos:   0.1s   2f\\r'\n"
                     "echo 'Error: the encoder ran out of stream buffers'\necho\necho 'Exiting... (error)'\nexit 1\n");
    prompts.answer(Answer::Ok);
    w->cmdEncode_Click(0);
    EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Failed);
    QString status = lng[txt::ToolErrorStatus];
    status.replace("aaa", ToolPath(2)).replace("bbb", "1");
    EXPECT_TRUE(prompts.lastText().startsWith(dst + "\r\n\r\n" + status + "\r\n" + lng[txt::ToolLastMessage]
                                              + "\r\nError: the encoder ran out of stream buffers\r\n\r\n"))
        << s(prompts.lastText());
    EXPECT_TRUE(prompts.lastText().contains(lng[txt::Failed]));
    EXPECT_FALSE(QFile::exists(dst));
}

// The checks before a run: each refuses with its message and leaves the window unlocked.
TEST_F(Conversion, RefusalsBeforeTheRun)
{
    // No source yet: entry 001, for the encode and the settings button alike.
    w->cmdEncode_Click(0);
    EXPECT_TRUE(prompts.lastText().contains(lng[txt::ChooseSourceFirst]));
    prompts.messages.clear();
    w->cmdOpt_Click();
    EXPECT_TRUE(prompts.lastText().contains(lng[txt::ChooseSourceFirst]));
    EXPECT_TRUE(frmOptions().isHidden());

    // A sound file for a video target: entry 247.
    pick(TargetMenu::ToAvi, 1, source("tone.mp3"));
    prompts.messages.clear();
    w->cmdEncode_Click(0);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastText().contains(lng[txt::MusicCannotBeVideo]));

    // A missing encoder is named; nothing was locked.
    pick(TargetMenu::ToAvi, 1, source("mpeg4.avi"));
    ASSERT_TRUE(QFile::remove(prog.pluginPath(2)));
    prompts.messages.clear();
    prompts.answer(Answer::Ok);
    w->cmdEncode_Click(0);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastText().contains(lng[txt::ToolFilesMissing]));
    EXPECT_TRUE(prompts.lastText().contains(ToolPath(2))) << s(prompts.lastText());
    EXPECT_TRUE(w->cmdInput->isEnabled());
    EXPECT_TRUE(w->cmdEncode[1]->isHidden());

    // No prober beside tool 3 nor on the search path: the places looked in are named,
    // and nothing is converted (a result could not be checked).
    prog.fakeTool(2, "for last in \"$@\"; do :; done\n: > \"$last\"\n");
    prog.fakeTool(3, "exit 0\n");
    QTemporaryDir emptyPath;
    const QByteArray searchPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(emptyPath.path()));
    prompts.messages.clear();
    prompts.answer(Answer::Ok);
    w->cmdEncode_Click(0);
    qputenv("PATH", searchPath);
    ASSERT_EQ(prompts.messages.size(), 1) << s(prompts.lastText());
    EXPECT_EQ(s(prompts.lastText()), s(lng[txt::ProberMissing] + "\n\n" + QFileInfo(prog.pluginPath(3)).absolutePath()
                                       + "/ffprobe\n" + emptyPath.path() + "/ffprobe"));
    EXPECT_FALSE(QFile::exists(w->lblOutput->text()));
    EXPECT_TRUE(w->cmdEncode[1]->isHidden());
}

// An existing target is only replaced after OK; Cancel runs nothing.
TEST_F(Conversion, ExistingTargetNeedsConsent)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 1, src);
    const QString dst = w->lblOutput->text();
    {
        QFile f(dst);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    prompts.answer(Answer::Cancel);
    w->cmdEncode_Click(0);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastText().startsWith(dst));
    EXPECT_EQ(QFileInfo(dst).size(), 7);
    EXPECT_TRUE(w->cmdInput->isEnabled());
}

// A file that is no media (empty) is refused with entry 010 and its path; the
// previous job stays as it was.
TEST_F(Conversion, BadFileKeepsThePreviousJob)
{
    const QString good = source("mpeg4.avi");
    pick(TargetMenu::ToMpg, 4, good);
    const QString target = w->lblOutput->text();
    const float length = jobstate::sourceInfo.srcLength;
    ASSERT_GT(length, 0);

    const QString bad = work.filePath("empty.avi");
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    prompts.messages.clear();
    pick(TargetMenu::ToWmv, 1, bad);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastText().startsWith(lng[txt::InvalidFileName]));
    EXPECT_TRUE(prompts.lastText().endsWith("\n" + bad));
    EXPECT_EQ(s(w->lblInput->text()), s(good));
    EXPECT_EQ(s(w->lblOutput->text()), s(target));
    EXPECT_EQ(s(jobstate::jobSettings.targetFormat), "MPEG2");
    EXPECT_EQ(jobstate::sourceInfo.srcLength, length);
    EXPECT_TRUE(w->cmdInput->Tag().isEmpty());

    // A cancelled dialog changes nothing and says nothing.
    prompts.messages.clear();
    prompts.cancelFile();
    w->targetMenu_Click(TargetMenu::ToWmv, 1);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(s(w->lblOutput->text()), s(target));
}

// A name that ends in a blank is a name like any other; without the player tool a
// chosen file cannot be probed: the tool is named with its path and no target is named.
TEST_F(Conversion, TrailingBlankAndMissingPlayerAtSourceChoice)
{
    const QString trail = work.filePath("trail.avi ");
    ASSERT_TRUE(QFile::copy(testenv::fixture("mpeg4.avi"), trail));
    prompts.messages.clear();
    pick(TargetMenu::ToAvi, 1, trail);
    EXPECT_TRUE(prompts.messages.isEmpty()) << s(prompts.lastText());
    EXPECT_EQ(s(w->lblInput->text()), s(trail));
    EXPECT_FALSE(w->lblOutput->text().isEmpty());

    // A player tool that cannot be run, then none at all.
    for (const int entry : {int(txt::ToolNotExecutable), int(txt::ToolFilesMissing)}) {
        SCOPED_TRACE(entry);
        // The tool is a link to the system's player: it is replaced, never changed.
        ASSERT_TRUE(QFile::remove(prog.pluginPath(1)));
        if (entry == txt::ToolNotExecutable) {
            QFile plain(prog.pluginPath(1));
            ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
            plain.write("#!/bin/sh\n");
            plain.close();
            ASSERT_TRUE(plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        }
        prompts.messages.clear();
        pick(TargetMenu::ToAvi, 1, source("mpeg4.avi"));
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(s(prompts.lastText()), s(lng[entry] + "\n\n" + ToolPath(1)));
        EXPECT_TRUE(w->lblInput->text().isEmpty());
        EXPECT_TRUE(w->lblOutput->text().isEmpty());
        EXPECT_TRUE(w->cmdInput->Tag().isEmpty());
    }
}

// A name that ends in a blank is the name of that file at every step: the settings
// button, the play entry point and the encode button take it, and the result holds
// the whole clip.
TEST_F(Conversion, NameEndingInABlankConvertsAndPlays)
{
    const QString trail = work.filePath("trail.avi ");
    ASSERT_TRUE(QFile::copy(testenv::fixture("mpeg4.avi"), trail));
    pick(TargetMenu::ToAvi, 1, trail);
    const QString dst = w->lblOutput->text();
    ASSERT_EQ(s(dst), s(work.filePath("trail.avi")));

    w->cmdInput_Click();
    EXPECT_TRUE(w->mnuToPlay[1]->isEnabled());
    w->mnuSrcType->hide();
    w->cmdOpt_Click();
    EXPECT_FALSE(frmOptions().isHidden()) << s(prompts.lastText());
    frmOptions().cmdOkCancel_Click(1);
    w->mnuToPlay_Click(1);
    EXPECT_TRUE(frmPlayerLoaded());
    EXPECT_FALSE(said(txt::InvalidFileName));
    EXPECT_FALSE(said(txt::ChooseSourceFirst));

    prompts.messages.clear();
    prompts.answer(Answer::Ok);      // start confirmation
    prompts.answer(Answer::Cancel);  // do not play the result
    w->cmdEncode_Click(0);
    ASSERT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded) << s(prompts.lastText());
    EXPECT_TRUE(prompts.lastText().startsWith(dst));
    const testenv::PacketTimes in = testenv::packetTimes(trail), out = testenv::packetTimes(dst);
    ASSERT_TRUE(out.video.present && out.audio.present);
    EXPECT_NEAR(out.video.first, in.video.first, 0.15);
    EXPECT_NEAR(out.video.last, in.video.last, 0.3);
    EXPECT_NEAR(out.audio.first, in.audio.first, 0.15);
    EXPECT_NEAR(out.audio.last, in.audio.last, 0.3);
    EXPECT_TRUE(QFileInfo(trail).size() > 0);
}

// A target folder whose name holds a double quote cannot stand in a command line
// (`-o "/.../out.avi" "x/clip.avi"` writes beside the folder): the folder dialog and
// the save dialog refuse such a name and keep what they had, a stored folder gives way
// to the home folder, and a target in such a folder, however it was named, is refused
// at the encode button before any tool starts.
TEST_F(Conversion, FolderWithAQuoteIsRefusedBeforeAnyToolStarts)
{
    const QString good = work.filePath("good");
    const QString split = work.filePath("clips/out.avi\" \"x");
    const QString quoted = work.filePath("clips/q\"dir");
    for (const QString &d : {good, split, quoted})
        ASSERT_TRUE(QDir().mkpath(d));

    prompts.answerFile(good);
    w->mnuTargetDefDir_Click(1);
    ASSERT_EQ(s(w->mnuTargetDefDir1Tag), s(good + "/"));
    for (const QString &bad : {split, quoted}) {
        SCOPED_TRACE(s(bad));
        prompts.messages.clear();
        prompts.answerFile(bad);
        w->mnuTargetDefDir_Click(1);
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(s(prompts.lastText()), s(lng[txt::InvalidFileName] + "\n\n" + bad + "/"));
        EXPECT_EQ(s(w->mnuTargetDefDir1Tag), s(good + "/"));
        EXPECT_EQ(s(w->mnuTargetDefDir[1]->text()), s(lng[txt::AlwaysSaveIn] + good + "/"));
        EXPECT_TRUE(w->mnuTargetDefDir[1]->isChecked());
    }
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 1, src);
    const QString dst = w->lblOutput->text();
    EXPECT_EQ(s(dst), s(good + "/mpeg4.avi"));

    // The save dialog keeps the target it had.
    prompts.messages.clear();
    prompts.answerFile(split + "/mine.avi");
    w->mnuTargetFile_Click();
    EXPECT_EQ(s(prompts.lastText()), s(lng[txt::InvalidFileName] + "\n\n" + split + "/mine.avi"));
    EXPECT_EQ(s(w->lblOutput->text()), s(dst));

    // However a target came to lie there, nothing runs: every tool would log its start.
    const QString log = work.filePath("tools.log");
    for (int n = 1; n <= 3; ++n)
        prog.fakeTool(n, "echo \"$0\" >> '" + QFile::encodeName(log) + "'\n");
    jobstate::jobSettings.markIn = 1;  // a marked start would run the key-frame probe first
    jobstate::jobSettings.markOut = 2;
    for (const QString &bad : {split, quoted}) {
        SCOPED_TRACE(s(bad));
        w->lblOutput->setText(bad + "/mpeg4.avi");
        prompts.messages.clear();
        prompts.answer(Answer::Ok);
        w->cmdEncode_Click(0);
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(s(prompts.lastText()), s(lng[txt::InvalidFileName] + "\n\n" + bad + "/mpeg4.avi"));
        EXPECT_TRUE(w->cmdInput->isEnabled());
        EXPECT_TRUE(w->cmdEncode[1]->isHidden());
    }
    EXPECT_FALSE(QFile::exists(log));
    EXPECT_TRUE(QDir(work.filePath("clips")).entryList(QDir::Files).isEmpty());

    // A stored folder with a quote is taken for a missing one: the home folder.
    {
        QFile ini(prog.appDir() + "Mavrell.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("Language=en\r\nTargetDefDirMode=1\r\nTargetDefDir=" + QFile::encodeName(quoted) + "/\r\n");
    }
    w->loadSettings();
    EXPECT_TRUE(w->mnuTargetDefDir[1]->isChecked());
    EXPECT_EQ(s(w->mnuTargetDefDir1Tag), s(QDir::homePath() + "/"));
}

// The set-up of a sound-only source masks the pages that need a picture, and the
// settings button opens the dialog over a disabled main window.
TEST_F(Conversion, SoundSourceMasksAndSettingsDialog)
{
    pick(TargetMenu::ToSound, 0, source("tone.wav"));
    FrmOptions &o = frmOptions();
    EXPECT_TRUE(o.picTabMask[0]->isHidden());
    EXPECT_TRUE(o.picTabMask[2]->isHidden());
    EXPECT_FALSE(o.picTabMask[1]->isHidden());
    EXPECT_FALSE(o.picTabMask[3]->isHidden());
    EXPECT_EQ(s(o.lblTabMaskMsg[1]->text()), s(lng[txt::NoVideoInFile]));
    EXPECT_FALSE(w->lblVideoLen->toolTip().isEmpty());
    // Picture adjusters are off for a sound job, the volume stays adjustable.
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(o.imgBrightness[size_t(i)]->isEnabled());
        EXPECT_FALSE(o.imgHue[size_t(i)]->isEnabled());
        EXPECT_TRUE(o.imgVolume[size_t(i)]->isEnabled());
    }
    EXPECT_EQ(o.tabMn->property("TabNow").toInt(), 2);

    w->cmdOpt_Click();
    EXPECT_FALSE(o.isHidden());
    EXPECT_FALSE(w->isEnabled());
    o.cmdOkCancel_Click(1);
    EXPECT_TRUE(w->isEnabled());
}


// The time line of a run: the runner shows the start text, and the one-second tick
// estimates from the percentage the runner drew and the start tick it kept.
TEST_F(Conversion, RemainingTimeFollowsTheRun)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 2, src);
    // 1.5 s of the 3.1 s job: 48 %, then a pause long enough for the ticks below; the
    // result it hands over is a whole one.
    prog.fakeTool(2, "for last in \"$@\"; do :; done\n"
                     "cp '" + src.toUtf8() + "' \"$last\"\n"
                     "printf 'Pos:   1.5s     38f (50%%)\\r'\n"
                     "sleep 1\n");
    auto printed = [&] { return w->picEncodeEsti->property("printed").toString(); };
    QString atStart, atHalf;
    ASSERT_NEAR(jobstate::sourceInfo.srcLength, 3.1f, 0.05f);
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (w->picEncodeEsti->isHidden())
            return;
        if (atStart.isEmpty())
            atStart = printed();
        if (atHalf.isEmpty() && numbertext::Val(w->picProgress->Tag) > 0) {
            const qint64 start = qint64(numbertext::Val(w->picEncodeEsti->Tag));
            w->tickSource = [start] { return start + 30000; };
            w->tmrCPU_Timer();
            atHalf = printed();
        }
    });
    ticker.start(20);
    prompts.answer(Answer::Ok);
    prompts.answer(Answer::Cancel);
    w->cmdEncode_Click(0);
    ticker.stop();

    EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded);
    // Nearly half done after 30 s: about 33 s more, shown as the next whole minute.
    QString first = lng[txt::ElapsedAndLeft], half = lng[txt::ElapsedAndLeft];
    first.replace("aaa", "00:00:00").replace("bbb", "?");
    half.replace("aaa", "00:00:30").replace("bbb", "1");
    EXPECT_EQ(s(atStart), s(first));
    EXPECT_EQ(s(atHalf), s(half));
    EXPECT_TRUE(w->picEncodeEsti->isHidden());
}

// Developer controls: a chosen preset rewrites the command that runs, and the command
// review can cancel the run, which then reports nothing and leaves the window at rest.
TEST_F(Conversion, DeveloperPresetAndReview)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 2, src);
    prog.fakeTool(2, "for last in \"$@\"; do :; done\ncp '" + src.toUtf8() + "' \"$last\"\n");
    w->cboCmdEditSpec->show();
    w->cboCmdEditSpec->setCurrentIndex(3);  // no -mc at all
    prompts.answer(Answer::Ok);
    prompts.answer(Answer::Cancel);
    w->cmdEncode_Click(0);
    EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded);
    EXPECT_FALSE(w->lastEncode.command.contains("-mc")) << s(w->lastEncode.command);
    EXPECT_TRUE(w->lastEncode.command.contains("-ofps 30000/1001 ")) << s(w->lastEncode.command);

    // The review in the developer window: the developer types into the command, and
    // the tool runs what was confirmed.
    const QString argsFile = prog.appDir() + "args.txt";
    prog.fakeTool(2, "printf '%s\\n' \"$@\" > '" + argsFile.toUtf8()
                         + "'\nfor last in \"$@\"; do :; done\ncp '" + src.toUtf8() + "' \"$last\"\n");
    w->chkCheckCmd->show();
    w->chkCheckCmd->setChecked(true);
    const QString tool = prog.pluginPath(2);
    QString reviewed;
    prompts.windowActions.push_back([&](QDialog &) {
        FrmOutput &out = frmOutput();
        reviewed = out.txtOutput->toPlainText();
        // A click in the lower box gives it the window's focus; the keys go there.
        QTest::mouseClick(out.txtOutput->viewport(), Qt::LeftButton);
        ASSERT_EQ(out.focusWidget(), out.txtOutput);
        QTest::keyClick(out.focusWidget(), Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < tool.size(); ++i)
            QTest::keyClick(out.focusWidget(), Qt::Key_Right);
        QTest::keyClicks(out.focusWidget(), " -noskip");
        if (const QString shots = qEnvironmentVariable("MAVRELL_SHOTS"); !shots.isEmpty())
            out.grab().save(shots + "/developer_review.png");
        QTest::mouseClick(out.cmdOkCancel[0], Qt::LeftButton);
    });
    prompts.answer(Answer::Ok);      // overwrite the target of the first run
    prompts.answer(Answer::Ok);      // start confirmation
    prompts.answer(Answer::Cancel);  // do not play the result
    w->cmdEncode_Click(0);
    EXPECT_TRUE(reviewed.startsWith(tool + " ")) << s(reviewed);
    EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded);
    EXPECT_TRUE(w->lastEncode.command.startsWith(tool + " -noskip ")) << s(w->lastEncode.command);
    QFile args(argsFile);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readLine().trimmed(), "-noskip");

    // Cancel in the developer window: nothing runs, the window is at rest.
    prompts.windowActions.push_back(
        [&](QDialog &) { QTest::mouseClick(frmOutput().cmdOkCancel[1], Qt::LeftButton); });
    prompts.answer(Answer::Ok);  // overwrite
    prompts.answer(Answer::Ok);  // start confirmation
    w->cmdEncode_Click(0);
    EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::NotRun);
    EXPECT_EQ(prompts.windowsShown, QStringList({"frmOutput", "frmOutput"}));
    EXPECT_TRUE(w->cmdEncode[1]->isHidden());
    EXPECT_TRUE(w->cmdInput->isEnabled());
}

// Without the player tool the key-frame check of a marked start says so once, not for
// every probe, and the conversion goes on from the marks as they are.
TEST_F(Conversion, MissingPlayerIsToldOnceAtTheKeyFrameCheck)
{
    pick(TargetMenu::ToAvi, 2, source("mpeg4.avi"));
    ASSERT_TRUE(QFile::remove(prog.pluginPath(1)));
    jobstate::jobSettings.markIn = 1;
    jobstate::jobSettings.markOut = 2;
    prompts.answer(Answer::Ok);      // the missing tool
    prompts.answer(Answer::Ok);      // start confirmation
    prompts.answer(Answer::Cancel);  // do not play the result
    // A stream that starts late (as ASF ones do) makes the check probe many times.
    jobstate::sourceInfo.srcStartTime = 5;
    prompts.messages.clear();
    w->cmdEncode_Click(0);
    int told = 0;
    for (const auto &m : prompts.messages)
        told += m.text.contains(lng[txt::ToolFilesMissing]) ? 1 : 0;
    EXPECT_EQ(told, 1);
    EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded);
    EXPECT_TRUE(w->lastEncode.command.contains(" -ss 00:00:01.0 -endpos 00:00:01.0")) << s(w->lastEncode.command);
    EXPECT_TRUE(w->lblEncodeNoteCheck->isHidden());
}

// A target that names the source by another spelling of its path is the source.
TEST_F(Conversion, TargetThatIsTheSourceIsRefused)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 2, src);
    w->lblOutput->setText(QFileInfo(src).path() + "/./" + QFileInfo(src).fileName());
    prompts.messages.clear();
    w->cmdEncode_Click(0);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(s(prompts.lastText()), s(lng[txt::SourceIsTarget]));
    EXPECT_TRUE(QFileInfo(src).size() > 0);
}

// The offer to play: OK opens the player window on the target; the settings button
// closes it before the dialog opens.
TEST_F(Conversion, FinishedTargetPlaysOnRequest)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 4, src);
    const QString dst = w->lblOutput->text();
    // An encoder stand-in that hands over a playable file.
    prog.fakeTool(2, "for last in \"$@\"; do :; done\ncp '" + src.toUtf8() + "' \"$last\"\n");
    prompts.answer(Answer::Ok);  // start confirmation
    prompts.answer(Answer::Ok);  // play it
    w->cmdEncode_Click(0);
    ASSERT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded);
    EXPECT_TRUE(prompts.lastText().contains(lng[txt::OpenAndPlayQuestion]));
    ASSERT_TRUE(frmPlayerLoaded());
    EXPECT_TRUE(playerOpen);
    EXPECT_FALSE(frmPlayer().isHidden());
    EXPECT_TRUE(w->cmdEncode[1]->isHidden());
    EXPECT_TRUE(w->cmdInput->isEnabled());

    // The settings button closes it too.
    w->cmdOpt_Click();
    EXPECT_FALSE(frmPlayerLoaded());
    EXPECT_FALSE(playerOpen);
    EXPECT_FALSE(frmOptions().isHidden());
    frmOptions().cmdOkCancel_Click(1);
}

// A second click on the encode button while the first prepares its run (the window
// lets messages run before the Stop button shows) starts nothing.
TEST_F(Conversion, SecondClickDuringPreparationStartsNothing)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 2, src);
    prog.fakeTool(2, "for last in \"$@\"; do :; done\ncp '" + src.toUtf8() + "' \"$last\"\n");
    QTimer::singleShot(0, w, [this] { w->cmdEncode_Click(0); });
    prompts.messages.clear();
    prompts.answer(Answer::Ok);
    prompts.answer(Answer::Cancel);
    w->cmdEncode_Click(0);
    int confirmations = 0;
    for (const auto &m : prompts.messages)
        confirmations += m.text.contains(lng[txt::AboutToStart]) ? 1 : 0;
    EXPECT_EQ(confirmations, 1);
    EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded);
}

// The key-frame question of a marked start that falls after a key frame: Cancel ends
// the press with nothing run and the window unlocked; OK moves the start back to the
// seek that lands on the earlier key frame.
TEST_F(Conversion, KeyFrameQuestionCancelsOrMovesTheStart)
{
    pick(TargetMenu::ToAvi, 2, source("mpeg4.avi"));
    // A player stand-in: seeking to 2 s lands on a frame at 2.6 s; earlier seeks land
    // on a key frame at 0.5 s.
    prog.fakeTool(1, "ss=0; prev=; for a in \"$@\"; do [ \"$prev\" = -ss ] && ss=$a; prev=$a; done\n"
                     "case $ss in 2|2.*) t=2.6;; *) t=0.5;; esac\n"
                     "echo \"A:   0.0 V:   $t A-V:  0.000 ct:  0.000   1/  1 ??% ??% ??,?% 0 0\"\n");
    // An encoder stand-in that hands over a whole result of the 2 s the job asks for.
    const QString two = work.filePath("two.avi");
    QProcess cut;
    cut.start("ffmpeg", {"-nostdin", "-v", "error", "-y", "-i", testenv::fixture("mpeg4.avi"), "-t", "2", "-c", "copy", two});
    ASSERT_TRUE(cut.waitForFinished(30000));
    prog.fakeTool(2, "for last in \"$@\"; do :; done\ncp '" + two.toUtf8() + "' \"$last\"\n");
    for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
        SCOPED_TRACE(answer == Answer::Ok ? "OK" : "Cancel");
        jobstate::jobSettings.markIn = 2;
        jobstate::jobSettings.markOut = 2.5;
        // The summary shows the marks as the options dialog leaves them.
        frmOptions().edit([](opt::OptionsForm &f) {
            f.lblMark[0].tag = "2";
            f.lblMark[1].tag = "2.5";
        });
        frmOptions().SetMainEncodeNote(-1, -1);
        ASSERT_TRUE(w->lblEncodeNote->text().contains(lng[txt::TimeRange] + "00:00:02.0 - 00:00:02.5"))
            << s(w->lblEncodeNote->text());
        w->lastEncode = {};
        prompts.messages.clear();
        prompts.answers.clear();
        prompts.answer(answer);          // the key-frame question
        prompts.answer(Answer::Ok);      // start confirmation
        prompts.answer(Answer::Cancel);  // do not play the result
        w->cmdEncode_Click(0);

        ASSERT_FALSE(prompts.messages.isEmpty());
        EXPECT_EQ(prompts.messages[0].buttons, prompts::Buttons::OkCancel);
        EXPECT_TRUE(prompts.messages[0].text.contains("00:00:02.0")) << s(prompts.messages[0].text);
        EXPECT_TRUE(w->lblEncodeNoteCheck->isHidden());
        EXPECT_TRUE(w->cmdInput->isEnabled());
        if (answer == Answer::Cancel) {
            EXPECT_EQ(prompts.messages.size(), 1);
            EXPECT_TRUE(w->lastEncode.command.isEmpty());
        } else {
            EXPECT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded) << s(prompts.lastText()) << "\n" << s(w->lastEncode.command);
            // The seek that found the key frame at 0.5 s (1.0 s), for the marked end:
            // 0.5 s of range plus the 1.5 s the start moved back.
            EXPECT_TRUE(w->lastEncode.command.contains(" -ss 00:00:01.0 -endpos 00:00:02.0 "))
                << s(w->lastEncode.command);
            // The start confirmation shows the range that is converted, from the key frame.
            ASSERT_GE(prompts.messages.size(), 2);
            const QString confirm = prompts.messages[1].text;
            EXPECT_TRUE(confirm.contains(lng[txt::AboutToStart])) << s(confirm);
            EXPECT_TRUE(confirm.contains(lng[txt::TimeRange] + "00:00:00.5 - 00:00:02.5 = 2.0")) << s(confirm);
        }
    }
}

// Files the tools only seem to know: an MP4 cut off before its index (the player takes
// it for raw DV without a frame in it) and random bytes named like a video. Each is
// refused when it is chosen, with the message and its path; the encode button then
// has no source, and nothing is written.
TEST_F(Conversion, UnreadableSourcesAreRefusedAndNothingIsWritten)
{
    const QString whole = work.filePath("whole.mp4");
    QProcess make;
    make.start("ffmpeg", {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=10",
                          "-f", "lavfi", "-i", "sine=duration=10", "-c:v", "libx264", "-preset", "ultrafast",
                          "-pix_fmt", "yuv420p", "-c:a", "aac", whole});
    ASSERT_TRUE(make.waitForFinished(60000));
    QFile in(whole);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    in.close();
    QFile::remove(whole);
    QByteArray noise(200000, '\0');
    quint32 x = 12345;
    for (char &c : noise) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    const struct {
        const char *name;
        QByteArray content;
    } files[] = {{"cut off.mp4", bytes.left(int(bytes.size() * 45 / 100))}, {"noise.avi", noise}};
    for (const auto &f : files) {
        SCOPED_TRACE(f.name);
        const QString path = work.filePath(f.name);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(f.content);
        out.close();
        prompts.messages.clear();
        pick(TargetMenu::ToAvi, 1, path);
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(s(prompts.lastText()), s(lng[txt::SourceNotDecodable] + "\n\n" + path));
        EXPECT_TRUE(w->lblInput->text().isEmpty());
        EXPECT_TRUE(w->lblOutput->text().isEmpty());
        EXPECT_TRUE(w->cmdInput->Tag().isEmpty());
        EXPECT_EQ(jobstate::sourceInfo.srcWidth * jobstate::sourceInfo.srcHeight, 0);

        prompts.messages.clear();
        prompts.answer(Answer::Ok);
        w->cmdEncode_Click(0);
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_FALSE(prompts.lastText().contains(lng[txt::AboutToStart]));  // no job to confirm
        EXPECT_EQ(QDir(work.path()).entryList(QDir::Files).size(), 1) << "something was written";
        QFile::remove(path);
    }
}

// A job keeps its kind across language changes: the summary takes the kind's layout and
// every word of the job (the two captions, the action word) comes from the new table.
TEST_F(Conversion, ALoadedJobSpeaksTheNewLanguage)
{
    struct Words {
        const char *opt, *encode, *stop, *action, *summaryStart;
    };
    struct Case {
        TargetMenu menu;
        int index;
        Words en, tw, gb;
    };
    const Case cases[] = {
        {TargetMenu::ToChangeVol, 1,
         {"Volume Settings › ", "Start Adjust ", "Stop Adjust ", "Adjust Volume", "Use the Volume Settings › button to set the volume change\n"},
         {"音量設定", "開始調整", "停止調整", "調整音量", "請用「音量設定」設定音量的調整\n"},
         {"音量设置", "开始调整", "停止调整", "调整音量", "请用“音量设置”设置音量的调整\n"}},
        {TargetMenu::ToCut, 1,
         {"Cut Settings › ", "Start Cut", "Stop Cut", "Cut Video", "Use the Cut Settings › button to set the cut marks\n"},
         {"剪輯設定", "開始剪輯", "停止剪輯", "剪輯影片", "請用「剪輯設定」設定剪輯標記\n"},
         {"剪辑设置", "开始剪辑", "停止剪辑", "剪辑视频", "请用“剪辑设置”设置剪辑标记\n"}},
        {TargetMenu::ToFix, 1,
         {"Video playback", "Start Repair", "Stop Repair", "Repair Video", "\nPress the Start Repair button to repair the whole video\n"},
         {"影片播放", "開始修復", "停止修復", "修復影片", "\n請按「開始修復」修復整部影片\n"},
         {"视频播放", "开始修复", "停止修复", "修复视频", "\n请按“开始修复”修复整个视频\n"}},
        {TargetMenu::ToWmv, 1,
         {"Conversion Settings › ", "Start Conversion", "Stop Conversion", "Conversion", "Target format: WMV [WMV8]\n"},
         {"轉換設定", "開始轉換", "停止轉換", "轉換", "設定目標格式： WMV [WMV8]\n"},
         {"转换设置", "开始转换", "停止转换", "转换", "设置目标格式： WMV [WMV8]\n"}},
        {TargetMenu::ToSound, 1,
         {"Conversion Settings › ", "Start Conversion", "Stop Conversion", "Conversion to Audio MP3 ", "Use the Conversion Settings › button"},
         {"轉換設定", "開始轉換", "停止轉換", "轉換為聲音 MP3 ", "請用「轉換設定」設定聲音或剪輯標記\n"},
         {"转换设置", "开始转换", "停止转换", "转换为声音 MP3 ", "请用“转换设置”设置声音或剪辑标记\n"}},
    };
    const QString src = source("wmv2.wmv");
    for (const Case &c : cases) {
        w->applyLanguage("en");
        pick(c.menu, c.index, src);
        ASSERT_GT(jobstate::sourceInfo.srcLength, 0);
        const QString kind = jobstate::jobSettings.targetFormat;
        for (const auto &[code, words] : {std::pair{"en", c.en}, {"tw", c.tw}, {"gb", c.gb}}) {
            w->applyLanguage(code);
            SCOPED_TRACE(s(kind) + " in " + code);
            EXPECT_EQ(s(w->cmdOpt->Caption()), words.opt);
            EXPECT_EQ(s(w->cmdEncode[0]->Caption()), words.encode);
            EXPECT_EQ(s(w->cmdEncode[1]->Caption()), words.stop);
            EXPECT_EQ(s(jobstate::jobSettings.actionWord), words.action);
            const QString summary = w->lblEncodeNote->text();
            EXPECT_TRUE(summary.startsWith(QString::fromUtf8(words.summaryStart))) << s(summary);
            EXPECT_FALSE(summary.contains("  ")) << s(summary);
            if (kind == "onlyTransVol" || jobstate::jobSettings.targetIsAudio) {
                EXPECT_TRUE(summary.contains(jobstate::jobSettings.actionWord.trimmed() + lng[txt::ColonSeparator])) << s(summary);
            }
            // The options dialog's rate boxes show a rate of the source's in the new words.
            for (QComboBox *box : {frmOptions().cboFps, frmOptions().cboVideoBitrate, frmOptions().cboAudioBitrate}) {
                const QString text = box->currentText();
                if (!text.isEmpty() && !text.front().isDigit()) {
                    EXPECT_EQ(s(text), s(lng[txt::SameAsSource])) << s(box->objectName());
                }
            }
            EXPECT_TRUE(frmOptions().lblFormatStr->text().startsWith(lng[txt::TargetFormatIs]));
            if (qEnvironmentVariableIsSet("MAVRELL_LANGUAGE_SHOT"))
                w->grab().save(qEnvironmentVariable("MAVRELL_LANGUAGE_SHOT") + "-" + kind + "-" + code + ".png");
        }
    }
}
