#include "core/mdlmavrell.h"

#include "core/fileobject.h"

#include <cmath>

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
