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
    EXPECT_TRUE(QTest::qWaitFor([&] { return testenv::frameCorner(w.winId()).has_value(); }, 3000)) << "no frame came";
    return w;
}

// Whether the frame stands at `at` on the screen.
bool frameAt(const FrmPlayer &w, QPoint at)
{
    return QTest::qWaitFor([&] { return testenv::frameCorner(w.winId()) == at; }, 3000);
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

    // Put where the user leaves it (Qt's move goes by a frame it may not know yet).
    FrmPlayer *w = &shownPlayer();
    const QRect placed(QPoint(300, 300), w->size());
    w->setGeometry(placed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->geometry() == placed; }, 3000));
    // The frame's corner once the window manager has put the inner area there too.
    QPoint corner;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const std::optional<QPoint> at = testenv::frameCorner(w->winId());
            corner = at.value_or(QPoint());
            return at && *at != placed.topLeft() && testenv::innerCorner(w->winId()) == placed.topLeft();
        },
        3000));

    QString written;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        if (round == 2) {
            w->setWindowState(Qt::WindowMaximized);
            ASSERT_TRUE(QTest::qWaitFor([&] { return w->isMaximized() && w->geometry() != placed; }, 3000));
        }
        unloadFrmPlayer();
        if (round == 0)
            written = settingsText();
        else
            EXPECT_EQ(settingsText(), written);  // the same place, written again
        w = &shownPlayer();
        EXPECT_TRUE(frameAt(*w, corner)) << testenv::frameCorner(w->winId()).value_or(QPoint(-1, -1)).x() << ","
                                         << testenv::frameCorner(w->winId()).value_or(QPoint(-1, -1)).y();
        EXPECT_EQ(w->geometry(), placed);
    }
    unloadFrmPlayer();
}
