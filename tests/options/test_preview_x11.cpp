// The options dialog's preview on a real X server: the player tool draws the source
// into the dialog's video surface (-wid), the crop rectangle and the note over the
// picture stay in sight while it plays and while it is paused, screenshots hold the
// picture, a click on the marked range seeks, and a sound-only source keeps no note.
#include "controls/stylebutton.h"
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "coregui/jobstate.h"
#include "engine/identifyprobe.h"
#include "options/frmoptions.h"
#include "player/frmplayer.h"
#include "player/playersettings.h"
#include "support/mediaprobe.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"
#include "support/windowmanager.h"

#include <QApplication>
#include <QGuiApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testenv::onScreen;
using testenv::pictureColours;

TEST(PreviewX11, ToolDrawsIntoThePreviewSurface)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    testenv::placeholderTexts();
    ScriptedPrompts prompts;
    testenv::ProgramDir dir;
    dir.activate();
    dir.silentPlayer();
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));  // 320 x 240
    jobstate::sourceInfo = testenv::sampleSource(320, 240, 20, "avi");

    FrmOptions &dlg = frmOptions();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.newPlay(clip, 0);
    ASSERT_TRUE(dlg.tmrCheck.isActive());
    // The 4:3 source fills the 320 x 240 frame.
    EXPECT_EQ(dlg.picPlayer->geometry(), QRect(0, 0, 320, 240));

    (void)QTest::qWaitFor([&] { return pictureColours(onScreen(dlg.picPlayer)) > 8; }, 6000);
    ASSERT_TRUE(mdlConsole::IsRunning()) << "the player ended early";
    const QImage shot = onScreen(dlg.picPlayer);
    if (qEnvironmentVariableIsSet("MAVRELL_PREVIEW_SHOT"))
        shot.save(qEnvironmentVariable("MAVRELL_PREVIEW_SHOT"));
    EXPECT_GT(pictureColours(shot), 8) << "the preview surface stays black";
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
    unloadFrmOptions();
    EXPECT_FALSE(mdlConsole::IsRunning());
}

// The share of a rectangle's pixels that are grey (black, white or between): a note
// the picture covers shows the picture's colours instead.
double greyShare(const QImage &img, const QRect &r)
{
    int grey = 0, all = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x, ++all) {
            const QColor c = img.pixelColor(x, y);
            grey += std::abs(c.red() - c.green()) < 24 && std::abs(c.green() - c.blue()) < 24;
        }
    return all ? double(grey) / all : 0;
}

bool near(QColor a, QColor b) { return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 40; }

// Each video output the player may end up with here: the first that works of those
// the program asks for (OpenGL on this server), and plain X11 images.
class PreviewOverlayX11 : public ::testing::TestWithParam<const char *> {};

TEST_P(PreviewOverlayX11, TheCropRectangleAndTheNoteShowOverAPlayingAndAPausedPicture)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    testenv::placeholderTexts();
    mdlMavrell::lng[txt::SavingEveryPicture] = QStringLiteral("Saving every picture; press the scissors to stop. File name --> ");
    ScriptedPrompts prompts;
    testenv::ProgramDir dir;
    dir.activate();
    dir.silentPlayer(GetParam());
    QTemporaryDir folder;  // the continuous pictures land beside the source
    const QString clip = folder.path() + QStringLiteral("/clip.avi");
    ASSERT_TRUE(QFile::copy(testenv::fixture(QStringLiteral("long.avi")), clip));
    jobstate::sourceInfo = testenv::sampleSource(320, 240, 20, "avi");
    jobstate::jobSettings.targetFormat = QStringLiteral("XviD");
    jobstate::jobSettings.targetExt = QStringLiteral("avi");

    FrmOptions &dlg = frmOptions();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    ASSERT_TRUE(dlg.lblCropStr->isEnabled());
    dlg.newPlay(clip, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pictureColours(onScreen(dlg.picPlayer)) > 8; }, 6000));
    ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 0.5f; }, 6000));

    // The user drags the crop area over the playing picture.
    QTest::mousePress(dlg.picPlayer, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(dlg.picPlayer, QPoint(120, 100));
    QTest::mouseMove(dlg.picPlayer, QPoint(40, 30));
    QTest::mouseRelease(dlg.picPlayer, Qt::LeftButton, {}, QPoint(40, 30));
    ASSERT_FALSE(dlg.shpCrop->isHidden());
    ASSERT_EQ(dlg.shpCrop->geometry(), QRect(40, 30, 160, 120));
    const QColor light(0xFF, 0xC0, 0x80);
    auto checkCrop = [&](const char *when) {
        const QImage shot = onScreen(dlg.picPlayer);
        if (qEnvironmentVariableIsSet("MAVRELL_PREVIEW_SHOT"))
            shot.save(qEnvironmentVariable("MAVRELL_PREVIEW_SHOT") + QLatin1Char('-') + QLatin1String(when)
                      + QStringLiteral(".png"));
        // Light outer and dark inner line on all four sides; the picture inside.
        for (const QPoint &p : {QPoint(40, 90), QPoint(199, 90), QPoint(120, 30), QPoint(120, 149)})
            EXPECT_TRUE(near(shot.pixelColor(p), light)) << when << " edge at " << p.x() << "," << p.y();
        for (const QPoint &p : {QPoint(41, 90), QPoint(198, 90), QPoint(120, 31), QPoint(120, 148)})
            EXPECT_TRUE(near(shot.pixelColor(p), Qt::black)) << when << " inner line at " << p.x() << "," << p.y();
        EXPECT_GT(testenv::litShare(shot, QRect(44, 34, 152, 112)), 0.8) << when << ": no picture inside the rectangle";
    };
    QTest::qWait(400);  // frames drawn since
    checkCrop("playing");

    // Continuous pictures: their note stays over the top of the playing picture.
    dlg.lblCut2Pic->setButtonState(2);
    dlg.lblCut2Pic_MouseDown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.lblPlayerNote->isHidden(); }, 5000));
    QTest::qWait(400);
    if (qEnvironmentVariableIsSet("MAVRELL_PREVIEW_SHOT"))
        QGuiApplication::primaryScreen()
            ->grabWindow(0, dlg.x(), dlg.y(), dlg.width(), dlg.height())
            .save(qEnvironmentVariable("MAVRELL_PREVIEW_SHOT") + QStringLiteral("-dialog.png"));
    const QRect note = dlg.lblPlayerNote->geometry();
    EXPECT_EQ(note.top(), 0);
    const QImage withNote = onScreen(dlg.picPlayer);
    if (qEnvironmentVariableIsSet("MAVRELL_PREVIEW_SHOT"))
        withNote.save(qEnvironmentVariable("MAVRELL_PREVIEW_SHOT") + QStringLiteral("-note.png"));
    EXPECT_GT(greyShare(withNote, note), 0.97) << "the picture covers the note";
    int white = 0;
    for (int y = note.top(); y <= note.bottom(); ++y)
        for (int x = note.left(); x <= note.right(); ++x)
            white += withNote.pixelColor(x, y).lightness() > 200;
    EXPECT_GT(white, 20) << "no text in the note";

    // Switched off, the preview stops on that frame; the note goes and leaves the picture.
    dlg.lblCut2Pic->setButtonState(0);
    dlg.lblCut2Pic_MouseDown();
    ASSERT_EQ(dlg.picPlayerTag, QStringLiteral("Pause"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.lblPlayerNote->isHidden(); }, 5000));
    // The player redraws the uncovered strip when the X server tells it; give it time.
    QImage after;
    (void)QTest::qWaitFor([&] {
        after = onScreen(dlg.picPlayer);
        return testenv::litShare(after, note) > 0.6;
    }, 3000);
    EXPECT_GT(testenv::litShare(after, note), 0.6) << "a black box where the note was";
    checkCrop("paused");

    // A new rectangle drawn over the paused picture leaves the picture inside it.
    QTest::mousePress(dlg.picPlayer, Qt::LeftButton, {}, QPoint(60, 50));
    QTest::mouseMove(dlg.picPlayer, QPoint(150, 120));
    QTest::mouseMove(dlg.picPlayer, QPoint(220, 170));
    QTest::mouseRelease(dlg.picPlayer, Qt::LeftButton, {}, QPoint(220, 170));
    ASSERT_EQ(dlg.shpCrop->geometry(), QRect(60, 50, 160, 120));
    QTest::qWait(500);
    const QImage redrawn = onScreen(dlg.picPlayer);
    if (qEnvironmentVariableIsSet("MAVRELL_PREVIEW_SHOT"))
        redrawn.save(qEnvironmentVariable("MAVRELL_PREVIEW_SHOT") + QStringLiteral("-redrawn.png"));
    EXPECT_TRUE(near(redrawn.pixelColor(60, 110), light));
    EXPECT_GT(testenv::litShare(redrawn, QRect(64, 54, 152, 112)), 0.8) << "the paused picture blacked out inside";
    // The old rectangle's left line is gone: the picture shows there again.
    int oldLine = 0;
    for (int y = 40; y < 140; ++y)
        oldLine += near(redrawn.pixelColor(40, y), light) || near(redrawn.pixelColor(41, y), Qt::black);
    EXPECT_LT(oldLine, 10) << "the old rectangle stays drawn";
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
    unloadFrmOptions();
}

INSTANTIATE_TEST_SUITE_P(VideoOutputs, PreviewOverlayX11, ::testing::Values("", " -vo x11"));

// A preview of clip (copied into its own folder, where the player saves screenshots).
class PreviewOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        testenv::placeholderTexts();
        dir.activate();
        dir.silentPlayer();
        jobstate::sourceInfo = testenv::sampleSource(320, 240, 20, "avi");
        jobstate::jobSettings.targetFormat = QStringLiteral("XviD");
        jobstate::jobSettings.targetExt = QStringLiteral("avi");
    }
    void TearDown() override { unloadFrmOptions(); }
    // The dialog shown, playing a copy of fixture under name.
    FrmOptions &play(const QString &fixture, const QString &name)
    {
        clip = folder.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(QFile::copy(testenv::fixture(fixture), clip));
        FrmOptions &dlg = frmOptions();
        jobstate::previewState.secPerSliderUnit = jobstate::sourceInfo.srcLength / float(dlg.imgSliderBG->width());
        dlg.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        dlg.newPlay(clip, 0);
        EXPECT_TRUE(dlg.tmrCheck.isActive());
        return dlg;
    }
    // A left click where the user sees the point p of widget w: into whatever lies
    // under it there.
    static void clickAt(QWidget *w, QPoint p)
    {
        const QPoint global = w->mapToGlobal(p);
        QWidget *under = QApplication::widgetAt(global);
        ASSERT_NE(under, nullptr);
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFromGlobal(global));
    }
    ScriptedPrompts prompts;
    testenv::ProgramDir dir;
    QTemporaryDir folder;
    QString clip;
};

TEST_F(PreviewOnX11, ScreenshotsOfMpeg4AndMpeg2HoldThePicture)
{
    for (const char *source : {"mpeg4.avi", "mpeg2.vob"}) {
        SCOPED_TRACE(source);
        const QString name = QStringLiteral("shot-") + QLatin1String(source);
        jobstate::sourceInfo.srcLength = 3;
        FrmOptions &dlg = play(QLatin1String(source), name);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.lblCurTime->text().isEmpty()
                                                 && pictureColours(onScreen(dlg.picPlayer)) > 8; }, 6000));
        dlg.lblSrceenshot_MouseUp();
        QString shot;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            QDirIterator it(folder.path(), {QStringLiteral("*.png")});
            shot = it.hasNext() ? it.next() : QString();
            return !shot.isEmpty() && QImage(shot).width() > 0;
        }, 5000)) << "no screenshot";
        const QImage picture(shot);
        if (qEnvironmentVariableIsSet("MAVRELL_PREVIEW_SHOT"))
            picture.save(qEnvironmentVariable("MAVRELL_PREVIEW_SHOT") + QLatin1Char('-') + QLatin1String(source)
                         + QStringLiteral(".png"));
        EXPECT_GT(pictureColours(picture), 8) << "a flat screenshot";
        EXPECT_GT(testenv::litShare(picture, picture.rect()), 0.5) << "a black screenshot";
        unloadFrmOptions();
        QFile::remove(shot);
    }
}

TEST_F(PreviewOnX11, AClickOnTheTrackInsideTheMarkedRangeSeeks)
{
    FrmOptions &dlg = play(QStringLiteral("long.avi"), QStringLiteral("clip.avi"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.lblCurTime->text().isEmpty(); }, 6000));
    const int w = dlg.imgSliderBG->width();
    const int y = dlg.imgSliderBG->height() / 2;
    auto seekTo = [&](double share, float seconds) {
        clickAt(dlg.imgSliderBG, QPoint(int(w * share), y));
        return QTest::qWaitFor([&] { return std::abs(jobstate::previewState.previewPos - seconds) < 1.5f; }, 5000);
    };
    ASSERT_TRUE(seekTo(0.5, 10));
    ASSERT_TRUE(seekTo(0.25, 5));
    dlg.lblMark_Click(0);
    ASSERT_TRUE(seekTo(0.75, 15));
    dlg.lblMark_Click(1);
    ASSERT_TRUE(dlg.shpScope->isVisible());
    ASSERT_GT(dlg.shpScope->width(), w / 3);

    // The middle of the bar lies on the track, half-way.
    const QPoint mid = dlg.shpScope->geometry().center();
    ASSERT_EQ(dlg.shpScope->parentWidget(), dlg.imgSliderBG->parentWidget());
    ASSERT_TRUE(dlg.imgSliderBG->geometry().contains(mid));
    clickAt(dlg.shpScope, dlg.shpScope->rect().center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(jobstate::previewState.previewPos - 10) < 1.5f; }, 5000))
        << "at " << jobstate::previewState.previewPos;
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

// Big screen restarts the preview about two seconds before where it was, in a WMV
// (whose times start at an offset and whose seeks land early) as in an AVI.
TEST_F(PreviewOnX11, BigScreenRestartsTwoSecondsBack)
{
    for (const char *source : {"long.avi", "seek.wmv"}) {
        SCOPED_TRACE(source);
        const QString name = QStringLiteral("big-") + QLatin1String(source);
        ASSERT_TRUE(QFile::copy(testenv::fixture(QLatin1String(source)), folder.path() + QLatin1Char('/') + name));
        engine::analyseSource(folder.path() + QLatin1Char('/') + name, jobstate::sourceInfo);
        ASSERT_GT(jobstate::sourceInfo.srcLength, 19);
        ASSERT_EQ(jobstate::sourceInfo.srcStartTime != 0, QLatin1String(source).endsWith(QLatin1String(".wmv")));
        QFile::remove(folder.path() + QLatin1Char('/') + name);
        FrmOptions &dlg = play(QLatin1String(source), name);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.lblCurTime->text().isEmpty(); }, 6000));
        clickAt(dlg.imgSliderBG, QPoint(dlg.imgSliderBG->width() / 2, dlg.imgSliderBG->height() / 2));
        ASSERT_TRUE(QTest::qWaitFor([&] { return jobstate::previewState.previewPos > 8; }, 6000))
            << "at " << jobstate::previewState.previewPos;
        QTest::qWait(400);

        const float before = jobstate::previewState.previewPos;
        dlg.lbl2BigScreen->setButtonState(StyleButton::StateDown);
        dlg.lbl2BigScreen_Click();
        ASSERT_EQ(jobstate::previewState.playerMode, 2);
        ASSERT_TRUE(QTest::qWaitFor([] { return jobstate::previewState.previewPos > 0; }, 6000));
        // The player lands on a key frame (a second apart in the AVI, at or after the seek
        // time there), and the first time read lies within a poll after the landing.
        const float first = jobstate::previewState.previewPos;
        EXPECT_GE(first, before - 2 - 0.5f) << "from " << before;
        EXPECT_LE(first, before - 2 + 1.4f) << "from " << before;
        EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
        unloadFrmOptions();
    }
}

TEST_F(PreviewOnX11, ASoundOnlySourceKeepsNoNoteOnThePicture)
{
    jobstate::sourceInfo = testenv::sampleSource(0, 0, 3, "audio", {}, 0);
    FrmOptions &dlg = play(QStringLiteral("tone.mp3"), QStringLiteral("tone.mp3"));
    ASSERT_FALSE(dlg.lblPlayerNote->isHidden());
    const QRect note = dlg.lblPlayerNote->geometry();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.lblPlayerNote->isHidden(); }, 5000));
    ASSERT_TRUE(mdlConsole::IsRunning());
    QTest::qWait(400);
    const QImage after = onScreen(dlg.picPlayer);
    if (qEnvironmentVariableIsSet("MAVRELL_PREVIEW_SHOT"))
        after.save(qEnvironmentVariable("MAVRELL_PREVIEW_SHOT") + QStringLiteral("-sound.png"));
    int lit = 0;
    for (int y = note.top(); y <= note.bottom(); ++y)
        for (int x = note.left(); x <= note.right(); ++x)
            lit += after.pixelColor(x, y).lightness() > 100;
    EXPECT_EQ(lit, 0) << "the note's text stays where it was";
}

} // namespace

// Without a window manager nothing brings the dialog back over a window that covers
// it: the big screen, whose settings put it right over the dialog, opens where the
// dialog's transport, mark, big-screen, OK and Cancel buttons stay within reach.
TEST_F(PreviewOnX11, TheBigScreenLeavesTheDialogsButtonsWithinReach)
{
    clip = folder.path() + QStringLiteral("/clip.avi");
    ASSERT_TRUE(QFile::copy(testenv::fixture(QStringLiteral("long.avi")), clip));
    FrmOptions &dlg = frmOptions();
    dlg.move(410, 205);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    {
        QFile ini(playersettings::settingsPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("MainRect=%1,%2\r\n").arg((dlg.x() + 60) * 15).arg((dlg.y() + 300) * 15).toLatin1());
    }
    dlg.lbl2BigScreen->setButtonState(StyleButton::StateDown);
    dlg.newPlay(clip, 0);
    ASSERT_EQ(jobstate::previewState.playerMode, 2);
    FrmPlayer &big = frmPlayer();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&big));
    QTest::qWait(300);
    if (qEnvironmentVariableIsSet("MAVRELL_PREVIEW_SHOT"))
        QGuiApplication::primaryScreen()->grabWindow(0).save(qEnvironmentVariable("MAVRELL_PREVIEW_SHOT")
                                                             + QStringLiteral("-bigscreen.png"));
    const QWidget *buttons[] = {dlg.lblPlay, dlg.lblPause, dlg.lblStop, dlg.lblBackward, dlg.lblForward, dlg.lblMark[0],
                                dlg.lblMark[1], dlg.lblMarkDel, dlg.cmdOkCancel[0], dlg.cmdOkCancel[1], dlg.lbl2BigScreen};
    for (const QWidget *b : buttons) {
        SCOPED_TRACE(b->objectName().toStdString());
        const QPoint at = b->mapToGlobal(b->rect().center());
        QString where;
        ASSERT_TRUE(testenv::runX11Tool(QStringLiteral("xdotool"),
                                        {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                         QStringLiteral("getmouselocation"), QStringLiteral("--shell")},
                                        &where));
        EXPECT_TRUE(where.contains(QStringLiteral("WINDOW=%1\n").arg(dlg.winId()))) << where.toStdString();
    }
    EXPECT_TRUE(mdlConsole::IsRunning());
    dlg.setStopDosIo(true, false);
    EXPECT_FALSE(frmPlayerLoaded());
}
