// The options dialog's preview on a real X server: the player tool draws the source
// into the dialog's video surface (-wid).
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "options/frmoptions.h"
#include "support/mediaprobe.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QGuiApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testenv::onScreen;
using testenv::pictureColours;

TEST(PreviewX11, ToolDrawsIntoThePreviewSurface)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    for (int n = 1; n < mdlMavrell::lngSize; ++n)
        mdlMavrell::lng[n] = QStringLiteral("L%1").arg(n);
    ScriptedPrompts prompts;
    testenv::ProgramDir dir;
    dir.activate();
    dir.fakeTool(1, "exec /usr/bin/mplayer \"$@\" -ao null\n");
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));  // 320 x 240
    mdlMavrell::srcWidth = 320;
    mdlMavrell::srcHeight = 240;
    mdlMavrell::srcFps = 25;
    mdlMavrell::srcLength = 20;
    mdlMavrell::srcDemuxer = QStringLiteral("avi");

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

} // namespace
