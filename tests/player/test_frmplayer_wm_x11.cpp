// The player window under a real window manager (openbox), which puts a frame round it:
// closed and opened again, normal or maximized, the window comes back where it was.
#include "player/frmplayer.h"
#include "player/playersettings.h"
#include "support/testenv.h"
#include "support/windowmanager.h"

#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString settingsText()
{
    QFile f(playersettings::settingsPath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The window shown and framed by the window manager.
FrmPlayer &shownPlayer()
{
    FrmPlayer &w = frmPlayer();
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry() != w.geometry(); }, 3000)) << "no frame came";
    return w;
}

} // namespace

TEST(PlayerUnderAWindowManager, ReopensWhereItWasNormalOrMaximized)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    testenv::WindowManager wm;
    ASSERT_TRUE(wm.ready()) << "openbox is not installed or did not start";
    testenv::placeholderTexts();
    testenv::ProgramDir dir;
    dir.activate();

    FrmPlayer *w = &shownPlayer();
    const QPoint frameAt(300, 300);
    w->move(frameAt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->frameGeometry().topLeft() == frameAt; }, 3000));
    const QRect placed = w->geometry();

    QString written;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const bool maximized = round == 2;
        if (maximized) {
            w->setWindowState(Qt::WindowMaximized);
            ASSERT_TRUE(QTest::qWaitFor([&] { return w->isMaximized() && w->geometry() != placed; }, 3000));
        }
        unloadFrmPlayer();
        if (round == 0)
            written = settingsText();
        else
            EXPECT_EQ(settingsText(), written);  // the same place, written again
        w = &shownPlayer();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->frameGeometry().topLeft() == frameAt; }, 3000))
            << w->frameGeometry().x() << "," << w->frameGeometry().y();
        EXPECT_EQ(w->geometry(), placed);
    }
    unloadFrmPlayer();
}
