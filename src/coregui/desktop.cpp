#include "coregui/desktop.h"

#include <QApplication>
#include <QBitmap>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFontInfo>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <xcb/xcb.h>

namespace mdlMavrell {

void flushWindowSystem()
{
    // Opacity and shape changes reach the X server only once the connection is flushed.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    if (auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        if (xcb_connection_t *c = x11->connection())
            xcb_flush(c);
}

QString cjkFamilyFor(const QString &code)
{
    return code == QLatin1String("gb") ? QStringLiteral("Noto Sans CJK SC") : QStringLiteral("Noto Sans CJK TC");
}

QStringList windowFamilies(const QString &latin, const QString &code)
{
    if (code != QLatin1String("tw") && code != QLatin1String("gb"))
        return {latin};
    // The script's face first: Qt keeps one set of fallback faces per first face, so
    // two lists that begin alike would share the glyph forms of whichever came first.
    // A Latin face the system knows only by a stand-in (Arial by Liberation Sans) is
    // named by that stand-in, as an unknown name in a list is passed over.
    return {cjkFamilyFor(code), QFontInfo(QFont(latin)).family()};
}

void applyInterfaceFont(const QString &code)
{
    const bool chinese = code == QLatin1String("tw") || code == QLatin1String("gb");
    QFont f = QApplication::font();
    f.setFamilies(chinese ? QStringList{cjkFamilyFor(code)}
                          : QStringList{QStringLiteral("DejaVu Sans"), cjkFamilyFor(code)});
    QApplication::setFont(f);
}

void SetTopMost(QWidget *window, bool onTop)
{
    if (!window)
        return;
    if (window->testAttribute(Qt::WA_WState_Created) && window->windowHandle()) {
        // The window exists on screen: setWindowFlag would make Qt destroy and build
        // again its native windows, and with them the ids a child process draws into.
        // The hint is changed on the living window instead.
        Qt::WindowFlags flags = window->windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
        window->overrideWindowFlags(flags);
        window->windowHandle()->setFlags(flags);
        if (onTop && window->isVisible())
            window->raise();
        return;
    }
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

void SetTranslucent(QWidget *window, int colorKey, int alpha, int restoreStyle)
{
    if (!window)
        return;
    if (restoreStyle != 0) {
        window->setWindowOpacity(1.0);
        window->clearMask();
        flushWindowSystem();
        return;
    }
    if (colorKey > -1) {
        // Pixels of the key colour (0x00BBGGRR) become holes in the window.
        const QColor key(colorKey & 0xFF, (colorKey >> 8) & 0xFF, (colorKey >> 16) & 0xFF);
        const QImage shot = window->grab().toImage();
        if (!shot.isNull()) {
            const QBitmap mask = QBitmap::fromImage(shot.createMaskFromColor(key.rgb(), Qt::MaskInColor));
            window->setMask(mask);
        }
    }
    if (alpha > -1 && alpha <= 255)
        window->setWindowOpacity(alpha / 255.0);
    flushWindowSystem();
}

void OpenURL(const QString &url) { QDesktopServices::openUrl(QUrl(url)); }

void ShellOpen(const QString &file) { QDesktopServices::openUrl(QUrl::fromLocalFile(file)); }

void ShowInExplorer(const QString &file)
{
    // The desktop's file manager with the file selected; the folder alone where there is none.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(file).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
}

} // namespace mdlMavrell
