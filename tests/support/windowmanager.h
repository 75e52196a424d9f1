// A real window manager (openbox) on the test's X server, and the X tools that look at
// or drive that server (xdotool, xprop), for the tests named test_*_x11.cpp.
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWindow>

#include <optional>

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

// Where the inner area of the shown top-level window w stands on the screen, as the X
// server has it (Qt's own idea of it may run ahead of the window manager); none while it
// is not shown.
inline std::optional<QPoint> innerCorner(WId w)
{
    QString info;
    if (!runX11Tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(w)}, &info))
        return std::nullopt;
    const QRegularExpressionMatch x = QRegularExpression(QStringLiteral("Absolute upper-left X: +(-?\\d+)")).match(info);
    const QRegularExpressionMatch y = QRegularExpression(QStringLiteral("Absolute upper-left Y: +(-?\\d+)")).match(info);
    if (!x.hasMatch() || !y.hasMatch() || !info.contains(QLatin1String("IsViewable")))
        return std::nullopt;
    return QPoint(x.captured(1).toInt(), y.captured(1).toInt());
}

// Where the frame that the window manager put round the top-level window w stands, as
// the X server has it (Qt's own frame geometry can stay without the frame when the
// window did not move as it was framed); none before the window is framed.
inline std::optional<QPoint> frameCorner(WId w)
{
    QString extents;
    if (!runX11Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w), QStringLiteral("_NET_FRAME_EXTENTS")},
                    &extents))
        return std::nullopt;
    const QRegularExpressionMatch e =
        QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(extents);
    const std::optional<QPoint> inner = innerCorner(w);
    if (!e.hasMatch() || !inner)
        return std::nullopt;
    return *inner - QPoint(e.captured(1).toInt(), e.captured(3).toInt());
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

    // Whether it runs, has claimed the screen and frames the windows shown.
    bool ready()
    {
        if (!wm_.waitForStarted(5000))
            return false;
        const bool claimed = QTest::qWaitFor(
            [] {
                QString out;
                return runX11Tool(QStringLiteral("xprop"),
                                  {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, &out)
                       && out.contains(QLatin1String("window id"));
            },
            5000);
        if (!claimed)
            return false;
        // It claims the screen a moment before it handles windows: one shown in between
        // was measured never to appear. A probe is shown until one comes with a frame.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000) {
            QWindow probe;
            probe.setGeometry(0, 0, 16, 16);
            probe.show();
            if (QTest::qWaitFor([&probe] { return probe.frameMargins().top() > 0; }, 1000))
                return true;
        }
        return false;
    }

private:
    QProcess wm_;
};

} // namespace testenv
