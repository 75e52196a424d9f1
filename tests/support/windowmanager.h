// A real window manager (openbox) on the test's X server, and the X tools that look at
// or drive that server (xdotool, xprop), for the tests named test_*_x11.cpp.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

namespace testenv {

// Runs an X tool to its end; true when it ended with status 0. Its output goes to out.
inline bool runX11Tool(const QString &program, const QStringList &args, QString *out = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool ok = p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (out)
        *out = QString::fromLocal8Bit(p.readAllStandardOutput());
    return ok;
}

// openbox on this display, ended with the object.
class WindowManager {
public:
    WindowManager()
    {
        wm_.setProgram(QStringLiteral("openbox"));
        wm_.setArguments({QStringLiteral("--sm-disable")});
        wm_.start();
    }
    ~WindowManager()
    {
        wm_.terminate();
        if (!wm_.waitForFinished(3000))
            wm_.kill();
        wm_.waitForFinished(3000);
    }
    WindowManager(const WindowManager &) = delete;
    WindowManager &operator=(const WindowManager &) = delete;

    // Whether it runs and has claimed the screen.
    bool ready()
    {
        if (!wm_.waitForStarted(5000))
            return false;
        return QTest::qWaitFor(
            [] {
                QString out;
                return runX11Tool(QStringLiteral("xprop"),
                                  {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, &out)
                       && out.contains(QLatin1String("window id"));
            },
            5000);
    }

private:
    QProcess wm_;
};

} // namespace testenv
