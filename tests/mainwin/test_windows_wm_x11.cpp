// The main window and the windows it owns under a real window manager (openbox): the
// options dialog stays above the main window, which waits for it and cannot be closed
// meanwhile; the boxes the main window and the dialog own are transient for their
// owner; the main window and the dialog come back where they were.
#include "core/mdlmavrell.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmdevcmd.h"
#include "mainwin/frmdonation.h"
#include "mainwin/frmmain.h"
#include "mainwin/frmsplash.h"
#include "options/frmoptions.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"
#include "support/windowmanager.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QTest>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

using testenv::runX11Tool;

// The window w says it belongs to (WM_TRANSIENT_FOR), 0 for none.
WId transientFor(WId w)
{
    QString out;
    runX11Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w), QStringLiteral("WM_TRANSIENT_FOR")},
               &out);
    const qsizetype at = out.indexOf(QLatin1String("# 0x"));
    return at < 0 ? 0 : out.mid(at + 2).trimmed().toULongLong(nullptr, 16);
}

// The window manager's stacking order, bottom first.
QList<WId> stacking()
{
    QString out;
    runX11Tool(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")}, &out);
    QList<WId> ids;
    const qsizetype at = out.indexOf(QLatin1Char('#'));
    for (const QString &id : out.mid(at + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids << id.trimmed().toULongLong(nullptr, 16);
    return ids;
}

bool above(const QWidget &upper, const QWidget &lower)
{
    const QList<WId> order = stacking();
    return order.indexOf(upper.winId()) > order.indexOf(lower.winId()) && order.contains(lower.winId());
}

// What a window manager sends for its close button or Alt+F4.
void askToClose(const QWidget &w)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_TRUE(x11 && x11->connection());
    xcb_connection_t *c = x11->connection();
    auto atom = [c](const char *name) {
        xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    };
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = xcb_window_t(w.winId());
    ev.type = atom("WM_PROTOCOLS");
    ev.data.data32[0] = atom("WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, ev.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&ev));
    xcb_flush(c);
}

bool clickAt(QPoint at)
{
    return runX11Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()),
                                                  QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}

class WindowsUnderAWindowManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        ASSERT_TRUE(wm.ready()) << "openbox is not installed or did not start";
        prog.activate();
    }
    void TearDown() override
    {
        if (frmOptionsLoaded() && frmOptions().isVisible())
            frmOptions().cmdOkCancel_Click(1);
        destroyFrmMain();
    }
    // The main window as the program starts it, on the screen and opaque.
    FrmMain &startMain()
    {
        FrmMain &main = frmMain();
        main.Form_Load();
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
        unloadFrmSplash();
        return main;
    }
    testenv::WindowManager wm;
    testenv::ProgramDir prog;
    ScriptedPrompts prompts;
};

} // namespace

TEST_F(WindowsUnderAWindowManager, TheOptionsDialogStaysAboveTheMainWindowThatWaitsForIt)
{
    FrmMain &main = startMain();
    FrmOptions &dlg = frmOptions();
    dlg.showForSettings(QString());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_EQ(transientFor(dlg.winId()), main.winId());
    EXPECT_FALSE(main.isEnabled());

    // A click on the main window, where the dialog leaves it bare: the dialog stays
    // above it and gets the keyboard back.
    QPoint bare;
    for (const QPoint p : {main.geometry().topLeft() + QPoint(6, 6), main.geometry().bottomRight() - QPoint(6, 6),
                           main.geometry().bottomLeft() + QPoint(6, -6), main.geometry().topRight() + QPoint(-6, 6)})
        if (!dlg.frameGeometry().contains(p))
            bare = p;
    ASSERT_FALSE(bare.isNull());
    ASSERT_TRUE(clickAt(bare));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dlg; }, 3000));
    EXPECT_TRUE(above(dlg, main));

    // The window manager's close on the main window asks nothing while it waits.
    askToClose(main);
    QTest::qWait(300);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(dlg.isVisible());

    // The same close of the dialog is its Cancel.
    askToClose(dlg);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); }, 3000));
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

TEST_F(WindowsUnderAWindowManager, WhatTheMainWindowAndTheDialogOwnIsTransientForIt)
{
    FrmMain &main = startMain();
    FrmOptions &dlg = frmOptions();
    // A box shown, its owner read while it shows.
    auto ownerOf = [](QDialog &box) {
        box.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
        const WId owner = transientFor(box.winId());
        box.hide();
        return owner;
    };
    EXPECT_EQ(ownerOf(frmAbout(&main)), main.winId());
    unloadFrmAbout();
    EXPECT_EQ(ownerOf(frmMoney(&main)), main.winId());
    unloadFrmMoney();

    // The developer's review of a command line, shown modal by the encode step.
    WId reviewOwner = 0;
    prompts.windowActions.push_back([&](QDialog &w) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        reviewOwner = transientFor(w.winId());
    });
    FrmOutput::reviewCommand(&main, QStringLiteral("echo"));
    EXPECT_EQ(reviewOwner, main.winId());
    unloadFrmOutput();

    dlg.showForSettings(QString());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(ownerOf(frmMoney(&dlg)), dlg.winId());
    unloadFrmMoney();
}

TEST_F(WindowsUnderAWindowManager, TheMainWindowAndTheDialogComeBackWhereTheyWere)
{
    const QPoint mainAt(200, 150), dialogAt(640, 120);
    FrmMain *main = &startMain();
    main->move(mainAt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->frameGeometry().topLeft() == mainAt; }, 3000));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        FrmOptions &dlg = frmOptions();
        dlg.showForSettings(QString());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        if (round == 0)
            dlg.move(dialogAt);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.frameGeometry().topLeft() == dialogAt; }, 3000))
            << dlg.frameGeometry().x() << "," << dlg.frameGeometry().y();
        dlg.cmdOkCancel_Click(1);
        ASSERT_TRUE(main->saveSettings());
        destroyFrmMain();
        main = &startMain();
        EXPECT_TRUE(QTest::qWaitFor([&] { return main->frameGeometry().topLeft() == mainAt; }, 3000))
            << main->frameGeometry().x() << "," << main->frameGeometry().y();
    }
}
