// The player window on a real X server: the player tool draws the video into the
// window's picture box (-wid), and the window takes the video's own size.
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "player/frmplayer.h"
#include "support/mediaprobe.h"
#include "support/testenv.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testenv::onScreen;
using testenv::pictureColours;

TEST(PlayerWindowX11, ToolDrawsIntoThePictureBox)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    for (int n = 1; n < mdlMavrell::lngSize; ++n)
        mdlMavrell::lng[n] = QStringLiteral("L%1").arg(n);
    testenv::ProgramDir dir;
    dir.activate();
    dir.fakeTool(1, "exec /usr/bin/mplayer \"$@\" -ao null\n");
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

} // namespace
