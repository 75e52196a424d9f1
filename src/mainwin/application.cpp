#include "mainwin/application.h"

#include "core/mdlmavrell.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

int mavrellMain(int argc, char **argv)
{
    // The embedded player draws into a native child window; its siblings stay alien.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    // Embedding the player with -wid needs X11, also under a Wayland session.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mavrell"));
    mdlMavrell::appDir = QCoreApplication::applicationDirPath() + '/';
    mdlMavrell::tempDir = QDir::tempPath() + '/';

    QWidget window;
    window.setWindowTitle(QStringLiteral("Mavrell"));
    window.resize(640, 420);
    window.show();
    return app.exec();
}
