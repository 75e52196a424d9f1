#include "mainwin/application.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/quitsignals.h"
#include "coregui/qtprompts.h"
#include "mainwin/frmmain.h"
#include "mainwin/singleinstance.h"

#include <QApplication>
#include <QDir>

int mavrellMain(int argc, char **argv)
{
    // The embedded player draws into a native child window; its siblings stay alien.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    // Embedding the player with -wid needs X11, also under a Wayland session.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mavrell"));
    // The window closes through its own question; the program ends with it.
    QApplication::setQuitOnLastWindowClosed(true);
    prompts::useQtDialogs();
    quitsignals::install();

    mdlMavrell::appDir = mdlMavrell::AddSlash(QCoreApplication::applicationDirPath());
    mdlMavrell::tempDir = mdlMavrell::AddSlash(QDir::tempPath());

    FrmMain &w = frmMain();
    w.instanceName = singleinstance::serverName();  // one working copy per user and display
    w.Form_Load();
    if (w.handedOff())
        return 0;
    w.show();
    // A signal that came during the start-up found no loop to end yet.
    const int rc = quitsignals::requested() ? 128 + quitsignals::signalNumber() : app.exec();
    destroyFrmMain();
    return rc;
}
