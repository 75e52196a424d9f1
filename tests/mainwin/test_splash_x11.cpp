// On a real X server the splash's opacity steps reach the server at once: the main
// window is see-through while the splash is up and opaque once it has gone.
#include "core/mdlmavrell.h"
#include "mainwin/frmmain.h"
#include "mainwin/frmsplash.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

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

} // namespace

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
