#include "core/mdlmavrell.h"

#include "core/fileobject.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <xcb/xcb.h>

namespace mdlMavrell {

bool isAudioTarget() { return targetIsAudio; }

bool isAudioOnlySource() { return srcDemuxer == QLatin1String("audio") || (srcWidth == 0 && srcFps == 0); }

bool isJobImpossible()
{
    if ((targetFormat == QLatin1String("onlyTransVol") || targetFormat == QLatin1String("AudIsMp3") || isAudioTarget())
        && srcAudioCodec.isEmpty())
        return true;
    return !isAudioTarget() && isAudioOnlySource();
}

int RoundUp(float x)
{
    return static_cast<int>(std::ceil(x));
}

int Clamp(int v, int lo, int hi)
{
    if (v > hi)
        return hi;
    if (v < lo)
        return lo;
    return v;
}

bool iconFileExists()
{
    QString path = appDir + QStringLiteral("Quennet.ico");
    return fileObject().FileExists(path);
}

void flushWindowSystem()
{
    // Opacity and shape changes reach the X server only once the connection is flushed.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    if (auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        if (xcb_connection_t *c = x11->connection())
            xcb_flush(c);
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

void resetSourceInfo()
{
    srcWidth = srcHeight = 0;
    srcLength = srcFps = srcStartTime = 0;
    gifFrames = 0;
    srcDemuxer.clear();
    srcVideoFormat.clear();
    srcAudioCodec.clear();
    srcAudioBitrate = srcAudioRate = srcAudioChannels = 0;
}

void resetJobOptions()
{
    outWidth = outHeight = 0;
    markIn = markOut = encodeSeconds = 0;
    fpsText.clear();
    videoBitrateText.clear();
    audioBitrateText.clear();
    scaleFilter.clear();
    colorFilter.clear();
    rotateFilter.clear();
    subtitleOpts.clear();
    audioOpts.clear();
    encodeVolumeOpt.clear();
    cropRect.fill(0);
}

void resetJobSettings()
{
    targetExt.clear();
    targetFormat.clear();
    targetIsAudio = false;
    actionWord.clear();
    resetJobOptions();
}

} // namespace mdlMavrell
