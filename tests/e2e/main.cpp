// mavrell-e2e: one conversion through the program's real windows, from the command
// line, for acceptance runs. Not part of the program; built with the tests.
#include "e2eargs.h"
#include "e2edriver.h"

#include "core/quitsignals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const e2e::ParseResult parsed = e2e::parseArgs(arguments);
    if (parsed.args.help) {
        std::fputs(e2e::helpText().toUtf8().constData(), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        e2e::out("error", parsed.error);
        std::fputs("(mavrell-e2e --help lists the options)\n", stderr);
        return int(e2e::Exit::DriverError);
    }

    // Offscreen unless a display is given or the caller chose a platform.
    if (!parsed.args.display.isEmpty()) {
        qputenv("DISPLAY", parsed.args.display.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + QStringLiteral("/mavrell-runtime-") + QString::number(getuid());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
    }

    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mavrell"));
    QApplication::setQuitOnLastWindowClosed(false);
    // As the program: SIGTERM, SIGINT and SIGHUP end the run's tools, remove its
    // unfinished target and end the driver with 128 + the signal.
    quitsignals::install();
    return e2e::runConversion(parsed.args);
}
