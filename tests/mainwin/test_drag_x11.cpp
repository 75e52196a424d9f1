// On a real X server without a window manager, the pointer driven with xdotool: a drag
// that starts on a label moves the main window with the pointer, once, and the window
// stays where it is when the button is up again.
#include "core/mdlmavrell.h"
#include "mainwin/frmmain.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QCursor>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

bool xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The pointer to a place on the screen, and every event it caused handled here: the
// server reports the pointer there only after it has sent those events.
bool pointerTo(const QPoint &at)
{
    if (!xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}))
        return false;
    const bool there = QTest::qWaitFor([&] { return QCursor::pos() == at; }, 3000);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return there;
}

} // namespace

TEST(MainWindowOnX11, DragFromALabelMovesTheWindowWhileTheButtonIsHeld)
{
    testenv::ProgramDir prog;
    prog.activate();
    ScriptedPrompts prompts;
    FrmMain &main = frmMain();
    main.move(100, 100);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.pos() == QPoint(100, 100); }, 3000));
    const QPoint start = main.pos();
    const QPoint grip = main.lblVideoLen->mapToGlobal(QPoint(20, 6));

    ASSERT_TRUE(pointerTo(grip));
    ASSERT_TRUE(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
    ASSERT_TRUE(pointerTo(grip + QPoint(10, 5)));
    ASSERT_TRUE(pointerTo(grip + QPoint(40, 25)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return main.pos() == start + QPoint(40, 25); }, 3000))
        << main.pos().x() << "," << main.pos().y();

    ASSERT_TRUE(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    ASSERT_TRUE(pointerTo(grip + QPoint(60, 45)));
    ASSERT_TRUE(pointerTo(grip + QPoint(90, 70)));
    EXPECT_EQ(main.pos(), start + QPoint(40, 25));
    destroyFrmMain();
}
