// Dragging the options dialog on a real X server under a real window manager (openbox,
// which handles the system's move requests), the pointer driven with xdotool: a drag
// that starts on the preview's frame (around the player's native picture) or on a label moves
// the dialog with the pointer and keeps it on the screen.
#include "options/frmoptions.h"
#include "support/scriptedprompts.h"
#include "support/windowmanager.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testenv::runX11Tool;

bool pointerTo(const QPoint &at)
{
    if (!runX11Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}))
        return false;
    const bool there = QTest::qWaitFor([&] { return QCursor::pos() == at; }, 3000);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return there;
}

} // namespace

TEST(OptionsDragUnderAWindowManager, DragsFromThePreviewFrameAndALabelFollowThePointer)
{
    testenv::WindowManager wm;
    ASSERT_TRUE(wm.ready()) << "openbox is not installed or did not start";
    ScriptedPrompts prompts;
    FrmOptions &dlg = frmOptions();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QRect screen = dlg.screen()->availableGeometry();

    struct Grip {
        QWidget *widget;
        QPoint at;
    } grips[] = {{dlg.picPlayerFrame, QPoint(15, 120)}, {dlg.lblScopeNote, QPoint(10, 6)}};
    for (const Grip &g : grips) {
        SCOPED_TRACE(g.widget->objectName().toStdString());
        dlg.move(300, 80);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.pos() == QPoint(300, 80); }, 3000))
            << dlg.pos().x() << "," << dlg.pos().y();
        const QPoint start = dlg.pos();
        const QPoint grip = g.widget->mapToGlobal(g.at);
        ASSERT_TRUE(pointerTo(grip));
        ASSERT_TRUE(runX11Tool(QStringLiteral("xdotool"), {QStringLiteral("mousedown"), QStringLiteral("1")}));
        ASSERT_TRUE(pointerTo(grip + QPoint(8, 4)));
        ASSERT_TRUE(pointerTo(grip + QPoint(20, 10)));
        ASSERT_TRUE(pointerTo(grip + QPoint(40, 25)));
        ASSERT_TRUE(runX11Tool(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")}));
        // The dialog went with the pointer: from the press (followed by the dialog itself),
        // or from the first move (the window manager's move starts there).
        auto withThePointer = [&] {
            const QPoint moved = dlg.pos() - start;
            return moved.x() >= 32 - 2 && moved.x() <= 40 + 2 && moved.y() >= 21 - 2 && moved.y() <= 25 + 2;
        };
        EXPECT_TRUE(QTest::qWaitFor(withThePointer, 3000)) << dlg.pos().x() << "," << dlg.pos().y();
        EXPECT_TRUE(screen.contains(dlg.frameGeometry()));
        // The button is up: the pointer alone moves nothing.
        const QPoint after = dlg.pos();
        ASSERT_TRUE(pointerTo(grip + QPoint(90, 70)));
        QTest::qWait(100);
        EXPECT_EQ(dlg.pos(), after);
    }
    unloadFrmOptions();
}
