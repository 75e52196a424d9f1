// The options dialog's preview with the real player tool (no picture, no sound): the
// position advances, pause holds it, a seek moves it, the end of the file closes an
// open range and stops, a tool that cannot show video is reported, and unloading the
// dialog ends the player.
#include "controls/stylebutton.h"
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "options/frmoptions.h"
#include "player/frmplayer.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <signal.h>

using namespace mdlMavrell;

namespace {

// The note over the picture as one text (it is broken into lines of the picture's width).
QString noteText(FrmOptions &dlg)
{
    return dlg.lblPlayerNote->text().remove(QLatin1Char('\n'));
}

class PreviewSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::placeholderTexts();
        dir.activate();
        dir.fakeTool(1, "exec /usr/bin/mplayer \"$@\" -vo null -ao null\n");
        jobstate::sourceInfo = {};
        jobstate::jobSettings.targetFormat = QStringLiteral("XviD");
        jobstate::jobSettings.targetExt = QStringLiteral("avi");
    }
    void TearDown() override { unloadFrmOptions(); }

    // A source as the probe would describe it.
    FrmOptions &dialogFor(float length)
    {
        jobstate::sourceInfo = testenv::sampleSource(320, 240, length, "avi");
        FrmOptions &dlg = frmOptions();
        jobstate::previewState.secPerSliderUnit = length / float(dlg.imgSliderBG->width());
        return dlg;
    }

    testenv::ProgramDir dir;
    ScriptedPrompts prompts;
};

TEST_F(PreviewSession, PlaysPausesSeeksAndEndsWithTheDialog)
{
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));
    FrmOptions &dlg = dialogFor(20);
    dlg.newPlay(clip, 0);
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Play"));
    EXPECT_EQ(dlg.lblTotalTime->text(), QStringLiteral("00:00:20"));
    ASSERT_TRUE(mdlConsole::IsRunning());

    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 0.5f; }, 10000)) << "no position from the player";
    EXPECT_FALSE(dlg.lblCurTime->text().isEmpty());
    // Playing: pressing play again changes nothing.
    dlg.lblPlay_Click();
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Play"));

    dlg.lblPause_Click();
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Pause"));
    QTest::qWait(700);  // a couple of polls for the last status line
    const float held = jobstate::previewState.previewPos;
    QTest::qWait(700);
    EXPECT_NEAR(jobstate::previewState.previewPos, held, 0.15) << "paused preview still moves";

    // Ten seconds forward while paused: the picture steps to the new place and stays paused.
    dlg.lblForward_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return jobstate::previewState.previewPos > held + 6; }, 8000)) << jobstate::previewState.previewPos;
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Pause"));

    dlg.lblPlay_Click();
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Play"));

    const qint64 pid = mdlConsole::ChildPid();
    ASSERT_GT(pid, 0);
    unloadFrmOptions();
    EXPECT_FALSE(mdlConsole::IsRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::kill(pid_t(pid), 0) != 0; }, 3000)) << "player still runs";
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

TEST_F(PreviewSession, TheEndOfTheFileClosesAnOpenRangeAndStops)
{
    const QString clip = testenv::fixture(QStringLiteral("mpeg4.avi"));
    FrmOptions &dlg = dialogFor(3);
    dlg.newPlay(clip, 0);
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 0.3f; }, 10000));
    dlg.lblMark_Click(0);
    const float start = jobstate::previewState.previewPos;
    EXPECT_FALSE(dlg.lblMark[0]->Tag().isEmpty());
    EXPECT_TRUE(dlg.lblMark[1]->Tag().isEmpty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.tmrCheck.isActive(); }, 10000)) << "the preview did not stop";
    const float end = dlg.lblMark[1]->Tag().toFloat();
    EXPECT_GT(end, start);
    EXPECT_LE(end, 3.0f);
    EXPECT_TRUE(dlg.lblCurTime->text().isEmpty());
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Pause"));
    EXPECT_FALSE(dlg.shpScope->isHidden());
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

TEST_F(PreviewSession, PauseWithoutAPreviewStartsOnTheFirstFrame)
{
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));
    FrmOptions &dlg = dialogFor(20);
    dlg.previewSource = clip;
    dlg.lblPause_Click();
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Pause"));
    QTest::qWait(1500);
    EXPECT_LT(jobstate::previewState.previewPos, 0.5f) << "a preview started paused plays on";
    EXPECT_TRUE(mdlConsole::IsRunning());
}

TEST_F(PreviewSession, APausedSeekBeforePlaybackBeginsShowsItsTime)
{
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));
    FrmOptions &dlg = dialogFor(20);
    dlg.previewSource = clip;
    dlg.lblPause_Click();
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    // At once, before the player has shown anything: a click a quarter along the track.
    dlg.imgSliderBG_MouseUp(1, dlg.imgSliderBG->width() / 4.0);
    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 3.5f; }, 5000)) << jobstate::previewState.previewPos;
    EXPECT_NEAR(jobstate::previewState.previewPos, 5.0f, 1.0f);
    EXPECT_EQ(dlg.lblCurTime->text(), QStringLiteral("00:00:0") + QString::number(int(jobstate::previewState.previewPos)));
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Pause"));
}

TEST_F(PreviewSession, BigScreenBorrowsThePlayerWindowAndComesBack)
{
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));
    lng[txt::PlayingTakenOver] = QStringLiteral("Playing taken over by the settings window aaa");
    FrmOptions &dlg = dialogFor(20);
    dlg.lbl2BigScreen->setButtonState(2);
    dlg.newPlay(clip, 0);
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    ASSERT_TRUE(frmPlayerLoaded());
    EXPECT_EQ(jobstate::previewState.playerMode, 2);
    FrmPlayer &big = frmPlayer();
    EXPECT_EQ(dlg.videoWindow(), big.picPlayer);
    EXPECT_FALSE(big.mnuOpen->isEnabled());
    EXPECT_FALSE(big.mnuExplorer->isEnabled());
    EXPECT_FALSE(big.mnuShowHideMain->isEnabled());
    EXPECT_TRUE(big.mnuKeepDef->isEnabled());
    EXPECT_TRUE(big.picHsb2->isHidden());
    // The caption shows whole.
    EXPECT_TRUE(big.lblFnName->text().startsWith(QStringLiteral("Playing taken over by")));
    EXPECT_GE(big.lblFnName->width(), big.lblFnName->sizeHint().width());
    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 2.2f; }, 10000));

    // Back into the dialog: the player window goes, the preview starts again a little
    // before where it was, and the knob stays.
    const float was = jobstate::previewState.previewPos;
    const int knob = dlg.imgSlider->x();
    dlg.lbl2BigScreen->setButtonState(0);
    dlg.lbl2BigScreen_Click();
    EXPECT_FALSE(frmPlayerLoaded());
    EXPECT_EQ(jobstate::previewState.playerMode, 0);
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    EXPECT_EQ(dlg.videoWindow(), dlg.picPlayer);
    EXPECT_EQ(dlg.imgSlider->x(), knob);
    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 0; }, 10000));
    EXPECT_GT(jobstate::previewState.previewPos, was - 3.5f);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

TEST_F(PreviewSession, AStartMarkAloneSurvivesARestart)
{
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));
    FrmOptions &dlg = dialogFor(20);
    dlg.show();
    dlg.newPlay(clip, 0);
    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 1.5f; }, 10000));
    QTest::mouseClick(dlg.lblMark[0], Qt::LeftButton);
    const QString start = dlg.lblMark[0]->Tag();
    ASSERT_FALSE(start.isEmpty());
    auto markKept = [&](const char *after) {
        EXPECT_EQ(dlg.lblMark[0]->Tag(), start) << after;
        EXPECT_TRUE(dlg.lblMark[1]->Tag().isEmpty()) << after;
        EXPECT_FALSE(dlg.shpScope->isHidden()) << after;
    };

    // Stop, then Play: the preview starts from 0 again, behind the mark.
    QTest::mouseClick(dlg.lblStop, Qt::LeftButton);
    ASSERT_FALSE(dlg.tmrCheck.isActive());
    QTest::mouseClick(dlg.lblPlay, Qt::LeftButton);
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 0.2f; }, 10000));
    EXPECT_LT(jobstate::previewState.previewPos, start.toFloat());
    markKept("stop and play");

    // Big screen and back: each switch restarts the preview a little earlier.
    dlg.lbl2BigScreen->setButtonState(2);
    dlg.lbl2BigScreen_Click();
    ASSERT_EQ(jobstate::previewState.playerMode, 2);
    QTest::qWait(700);
    markKept("big screen");
    dlg.lbl2BigScreen->setButtonState(0);
    dlg.lbl2BigScreen_Click();
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    QTest::qWait(700);
    markKept("back from the big screen");
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

TEST_F(PreviewSession, AScreenshotLandsInTheSourceFolderAndIsNamedOnThePicture)
{
    QTemporaryDir folder;
    const QString clip = folder.path() + QStringLiteral("/clip, one.avi");
    ASSERT_TRUE(QFile::copy(testenv::fixture(QStringLiteral("long.avi")), clip));
    const QString before = QDir::currentPath();
    // Notes as long as the real ones: they show whole, name and all.
    lng[txt::SavingEveryPicture] = QStringLiteral("Saving every picture, which can make many files; press the scissors to stop. File name --> ");
    lng[txt::SavingSingleScreenshot] = QStringLiteral("Saving a single screenshot. File name --> ");
    auto noteFits = [&](FrmOptions &dlg) {
        const QSize hint = dlg.lblPlayerNote->sizeHint();
        EXPECT_LE(hint.width(), dlg.picPlayer->width()) << noteText(dlg).toStdString();
        EXPECT_LE(dlg.lblPlayerNote->geometry().right(), dlg.picPlayer->width());
        EXPECT_GE(dlg.lblPlayerNote->height(), hint.height());
    };
    FrmOptions &dlg = dialogFor(20);
    dlg.newPlay(clip, 0);
    EXPECT_EQ(QDir::currentPath(), before);  // only the tool works in the source's folder
    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 0.3f; }, 10000));
    dlg.lblSrceenshot_MouseUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return noteText(dlg).startsWith(lng[txt::SavingSingleScreenshot]); }, 5000))
        << noteText(dlg).toStdString();
    const QString name = noteText(dlg).mid(lng[txt::SavingSingleScreenshot].size());
    EXPECT_TRUE(name.endsWith(QStringLiteral(".png"))) << name.toStdString();
    EXPECT_TRUE(QFile::exists(folder.path() + QLatin1Char('/') + name)) << name.toStdString();
    noteFits(dlg);

    // Continuous pictures: on with the latch, off again, and the preview stops on that frame.
    dlg.lblCut2Pic->setButtonState(2);
    dlg.lblCut2Pic_MouseDown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return noteText(dlg).startsWith(lng[txt::SavingEveryPicture]); }, 5000));
    EXPECT_TRUE(noteText(dlg).endsWith(QStringLiteral(".png"))) << noteText(dlg).toStdString();
    noteFits(dlg);
    dlg.lblCut2Pic->setButtonState(0);
    dlg.lblCut2Pic_MouseDown();
    EXPECT_EQ(dlg.picPlayerTag, QStringLiteral("Pause"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.lblCut2Pic->Tag().isEmpty(); }, 5000)) << "no last report";
    const int pictures = int(QDir(folder.path()).entryList({QStringLiteral("*.png")}).size());
    EXPECT_GT(pictures, 2);
    QTest::qWait(700);
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.png")}).size(), pictures) << "pictures go on";
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

TEST_F(PreviewSession, AnAnimatedGifRunsOnItsFrameCounterAndEndsWithoutFailure)
{
    const QString gif = testenv::fixture(QStringLiteral("anim.gif"));  // 10 frames
    FrmOptions &dlg = dialogFor(1);
    jobstate::sourceInfo.srcFps = 10;
    jobstate::sourceInfo.gifFrames = 10;
    dlg.newPlay(gif, 0);
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    EXPECT_EQ(dlg.tmrCheckTag, QStringLiteral("ani_gif"));
    float seen = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        seen = std::max(seen, jobstate::previewState.previewPos);
        return !dlg.tmrCheck.isActive();
    }, 8000));
    EXPECT_GT(seen, 0.1f);
    EXPECT_LE(seen, 1.0f);

    // The tool knows no length of a GIF: its end is still no failure.
    jobstate::sourceInfo.srcLength = 0;
    dlg.newPlay(gif, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.tmrCheck.isActive(); }, 8000));
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

TEST_F(PreviewSession, AToolThatCannotShowVideoIsReported)
{
    dir.fakeTool(1, "echo 'FATAL: Cannot initialize video driver.'\nexec sleep 30\n");
    FrmOptions &dlg = dialogFor(20);
    dlg.newPlay(testenv::fixture(QStringLiteral("mpeg4.avi")), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.tmrCheck.isActive(); }, 5000));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), lng[txt::PlayingFailed]);
    EXPECT_FALSE(mdlConsole::IsRunning());
}

TEST_F(PreviewSession, AToolThatEndsBeforePlayingIsReportedAndAMissingToolNamed)
{
    // Length unknown and the tool ends at once: nothing was played.
    dir.fakeTool(1, "echo 'Exiting... (End of file)'\n");
    FrmOptions &dlg = dialogFor(0);
    dlg.newPlay(testenv::fixture(QStringLiteral("mpeg4.avi")), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.tmrCheck.isActive(); }, 5000));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), lng[txt::PlayingFailed]);

    QFile::remove(dir.pluginPath(1));
    dlg.newPlay(testenv::fixture(QStringLiteral("mpeg4.avi")), 0);
    EXPECT_FALSE(dlg.tmrCheck.isActive());
    EXPECT_FALSE(dlg.lblPlayerNote->isHidden());
    EXPECT_TRUE(noteText(dlg).contains(dir.pluginPath(1))) << noteText(dlg).toStdString();
}

} // namespace
