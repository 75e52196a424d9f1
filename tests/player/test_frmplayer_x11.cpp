// The player window on a real X server: the player tool draws the video into the
// window's picture box (-wid), the window takes the video's own size, switching
// "always on top" keeps the picture alive, and a note going away leaves no box.
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "player/frmplayer.h"
#include "support/mediaprobe.h"
#include "support/testenv.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace {

using testenv::onScreen;
using testenv::pictureColours;

// The real player, drawing into the window, without sound.
class PlayerWindowX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        testenv::placeholderTexts();
        dir.activate();
        dir.silentPlayer();
    }
    void TearDown() override { unloadFrmPlayer(); }
    testenv::ProgramDir dir;
};

TEST_F(PlayerWindowX11, ToolDrawsIntoThePictureBox)
{
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));  // 320 x 240

    FrmPlayer &w = frmPlayer();
    w.playSingle(clip);
    ASSERT_EQ(w.myStatus, 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // The window took the video's own size: the picture box is the video.
    EXPECT_EQ(w.picPlayer->size(), QSize(320, 240));
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" long.avi  - ( 320 , 240 )"));

    // The tool needs a moment to find a video output that works here.
    (void)QTest::qWaitFor([&] { return pictureColours(onScreen(w.picPlayer)) > 8; }, 6000);
    ASSERT_TRUE(mdlConsole::IsRunning()) << "the player ended early";
    const QImage shot = onScreen(w.picPlayer);
    if (qEnvironmentVariableIsSet("MAVRELL_PLAYER_SHOT"))
        w.grab().toImage().save(qEnvironmentVariable("MAVRELL_PLAYER_SHOT") + QStringLiteral("-window.png")),
            QGuiApplication::primaryScreen()->grabWindow(0, w.frameGeometry().x(), w.frameGeometry().y(),
                                                        w.frameGeometry().width(), w.frameGeometry().height())
                .save(qEnvironmentVariable("MAVRELL_PLAYER_SHOT") + QStringLiteral("-screen.png"));
    EXPECT_GT(pictureColours(shot), 8) << "the picture box shows no video";

    // Paused, the picture stays; stopped, the player is gone.
    w.mbPause_Click();
    EXPECT_EQ(w.myStatus, 4);
    QTest::qWait(300);
    EXPECT_GT(pictureColours(onScreen(w.picPlayer)), 8);
    w.mbStop_Click();
    EXPECT_FALSE(mdlConsole::IsRunning());
    unloadFrmPlayer();
}

// A paused picture, then a file that takes long to open, stopped while its note shows:
// where the note was looks like the rest of the surface, no dark box of the key.
TEST_F(PlayerWindowX11, ANoteGoingAwayOverAPausedPictureLeavesNoBox)
{
    dir.fakeTool(1, "case \"$*\" in\n"
                    " *'-frames 0'*slow*) exec perl -e 'select(undef, undef, undef, 4); exec @ARGV' "
                    "/usr/bin/mplayer \"$@\" -ao null ;;\n"
                    "esac\n"
                    "exec /usr/bin/mplayer \"$@\" -ao null\n");
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));
    const QString slow = dir.appDir() + QStringLiteral("slow.avi");
    ASSERT_TRUE(QFile::copy(clip, slow));

    FrmPlayer &w = frmPlayer();
    w.playSingle(clip);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pictureColours(onScreen(w.picPlayer)) > 8; }, 6000));
    w.mbPause_Click();
    QTest::qWait(300);

    QRect note;
    QTimer::singleShot(500, &w, [&] {
        note = w.lblPlayerNote->isHidden() ? QRect() : w.lblPlayerNote->geometry();
        w.mbStop_Click();
    });
    w.playSingle(slow);
    ASSERT_TRUE(note.isValid()) << "no note while the file opened";
    EXPECT_TRUE(w.lblPlayerNote->isHidden());
    QTest::qWait(500);
    const QImage after = onScreen(w.picPlayer);
    if (qEnvironmentVariableIsSet("MAVRELL_PLAYER_SHOT"))
        after.save(qEnvironmentVariable("MAVRELL_PLAYER_SHOT") + QStringLiteral("-note-gone.png"));
    const QRect beside = note.translated(0, note.height() + 20).intersected(after.rect());
    ASSERT_FALSE(beside.isEmpty());
    EXPECT_LT(std::abs(testenv::litShare(after, note) - testenv::litShare(after, beside)), 0.2)
        << "where the note was differs from the surface beside it";
    EXPECT_FALSE(mdlConsole::IsRunning());
}

// The window id the running player was told to draw into (-wid on its command line).
unsigned long long widOfPlayer()
{
    QFile f(QStringLiteral("/proc/%1/cmdline").arg(mdlConsole::ChildPid()));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> args = f.readAll().split('\0');
    const qsizetype at = args.indexOf("-wid");
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toULongLong() : 0;
}

// Whether the X server still knows the window.
bool windowAlive(unsigned long long id)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !id)
        return false;
    xcb_connection_t *c = x11->connection();
    xcb_get_window_attributes_reply_t *r =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, xcb_window_t(id)), nullptr);
    const bool alive = r != nullptr;
    free(r);
    return alive;
}

TEST_F(PlayerWindowX11, AlwaysOnTopDuringPlaybackKeepsThePicture)
{
    FrmPlayer &w = frmPlayer();
    w.playSingle(testenv::fixture(QStringLiteral("long.avi")));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pictureColours(onScreen(w.picPlayer)) > 8; }, 6000));
    const unsigned long long wid = widOfPlayer();
    ASSERT_EQ(wid, w.picPlayer->winId());

    for (bool onTop : {true, false}) {
        w.mnuTopMost->trigger();
        ASSERT_EQ(w.mnuTopMost->isChecked(), onTop);
        EXPECT_EQ(bool(w.windowFlags() & Qt::WindowStaysOnTopHint), onTop);
        QTest::qWait(500);
        ASSERT_TRUE(mdlConsole::IsRunning()) << "the player ended";
        EXPECT_EQ(w.picPlayer->winId(), wid) << "the picture box is a new window";
        EXPECT_TRUE(windowAlive(wid));
        // The picture goes on: two grabs a moment apart show different frames.
        const QImage first = onScreen(w.picPlayer);
        QTest::qWait(400);
        const QImage second = onScreen(w.picPlayer);
        EXPECT_GT(pictureColours(second), 8) << "on top " << onTop;
        EXPECT_NE(first, second) << "the picture stands still, on top " << onTop;
    }
    unloadFrmPlayer();
}

} // namespace
