// On a real X server the splash's opacity steps reach the server at once: the main
// window is see-through while the splash is up and opaque once it has gone.
#include "core/mdlmavrell.h"
#include "mainwin/frmmain.h"
#include "mainwin/frmsplash.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace {

// The opacity the X server holds for a window, as xprop reports it ("" when unset).
QString serverOpacity(QWidget *w)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w->winId()),
                                          QStringLiteral("_NET_WM_WINDOW_OPACITY")});
    if (!xprop.waitForFinished(5000))
        return QStringLiteral("xprop did not answer");
    const QString out = QString::fromLocal8Bit(xprop.readAllStandardOutput()).trimmed();
    const int eq = out.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : out.mid(eq + 1).trimmed();
}

// The place of a window in the X server's stacking order among the root's children
// (0 is the bottom); -1 when it is not there.
int stackingPlace(QWidget *w)
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return -1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (!tree)
        return -1;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    int place = -1;
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
        if (children[i] == xcb_window_t(w->winId()))
            place = i;
    free(tree);
    return place;
}

} // namespace

// Without a window manager the splash still lies above the main window shown after it.
TEST(SplashOnX11, TheSplashStaysAboveTheMainWindow)
{
    testenv::ProgramDir prog;
    prog.activate();
    ScriptedPrompts prompts;
    FrmMain &main = frmMain();
    FrmSplash &sp = frmSplash();
    sp.show();
    QCoreApplication::processEvents();
    main.show();  // as the start-up does: the splash first, the main window after it
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    sp.timeMarquee_Timer();
    QCoreApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitFor([&] { return stackingPlace(&sp) > stackingPlace(&main); }, 2000))
        << stackingPlace(&sp) << " " << stackingPlace(&main);
    EXPECT_GE(stackingPlace(&main), 0);
    unloadFrmSplash();
    destroyFrmMain();
    mdlMavrell::mainFormShown = false;
}

TEST(SplashOnX11, TheFadeReachesTheServer)
{
    testenv::ProgramDir prog;
    prog.activate();
    ScriptedPrompts prompts;
    FrmMain &main = frmMain();
    main.show();
    FrmSplash &sp = frmSplash();
    sp.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(serverOpacity(&main).toStdString(), "0");

    mdlMavrell::mainFormShown = true;
    for (int t = 1; t <= 60; ++t)
        sp.timeMarquee_Timer();  // first seen at tick 1: alpha 124 at tick 60
    const quint64 half = serverOpacity(&main).toULongLong();
    EXPECT_GT(half, 0x40000000u);
    EXPECT_LT(half, 0xC0000000u);

    unloadFrmSplash();
    const QString full = serverOpacity(&main);
    EXPECT_TRUE(full.isEmpty() || full == QLatin1String("4294967295")) << full.toStdString();
    destroyFrmMain();
    mdlMavrell::mainFormShown = false;
}
