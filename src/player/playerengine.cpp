#include "player/playerengine.h"

#include "core/cmdoutput.h"
#include "core/console.h"
#include "core/identify.h"
#include "core/numbertext.h"
#include "core/probes.h"
#include "core/timetext.h"
#include "core/toolpaths.h"
#include "player/slaveprotocol.h"

#include <algorithm>
#include <cmath>

namespace playerengine {

void readIdentify(const QString &output, Fields &f)
{
    const identify::Keys k = identify::read(output);
    f.videoWidth = k.width;
    f.videoHeight = k.height;
    f.framesPerSecond = k.fps;
    f.lengthSeconds = k.length;
    f.toolStartTime = k.hasStartTime ? k.startTime : -1;
    f.demuxer = k.demuxer;
    f.videoFormat = k.videoFormat;
    f.audioCodec = k.audioCodec;
}

void readGifSize(const QString &output, Fields &f)
{
    identify::readGifSize(output, f.videoWidth, f.videoHeight);
}

void readGifFrames(const QString &output, Fields &f)
{
    const identify::VideoStatus st = identify::lastVideoStatus(output);
    if (!st.found || !st.counted)
        return;
    f.lengthSeconds = float(st.seconds);
    if (st.frame >= 0 && f.lengthSeconds > 0)
        f.framesPerSecond = float(numbertext::roundHalfEven(st.frame / f.lengthSeconds * 100.0) / 100.0);
}

void fixAsf(Fields &f, float tool3Start, float tool3Fps)
{
    if (f.demuxer != QLatin1String("asf") || !(f.framesPerSecond == 1000 || f.framesPerSecond == 0))
        return;
    if (f.toolStartTime >= 0) {
        f.startOffset = f.toolStartTime;
    } else {
        if (tool3Start != 0)
            f.startOffset = tool3Start;
        if (f.startOffset == 0)
            f.startOffset = 3;
        f.lengthSeconds -= f.startOffset;
    }
    if (tool3Fps > 0)
        f.framesPerSecond = tool3Fps;
    if (!(f.framesPerSecond > 0 && f.framesPerSecond <= 30))
        f.framesPerSecond = 30;
    if (f.framesPerSecond >= 29 && f.framesPerSecond < 30)
        f.framesPerSecond = 29.97f;
}

void finish(Fields &f)
{
    f.lengthSeconds = float(numbertext::roundHalfEven(f.lengthSeconds));
    if (f.framesPerSecond <= 0 || f.framesPerSecond == 1000)
        f.framesPerSecond = 30;
}

bool needsTool3Length(const Fields &f)
{
    return f.demuxer == QLatin1String("mpegps") || f.videoFormat == QLatin1String("0x10000001")
        || f.videoFormat == QLatin1String("0x10000002");
}

} // namespace playerengine

MPlayer::MPlayer(std::function<int()> playState, ConsoleOwner *owner)
    : playState_(std::move(playState)), owner_(owner)
{
}

bool MPlayer::paused() const
{
    return playState_ && playState_() == Paused;
}

void MPlayer::send(const QString &command)
{
    mdlConsole::SendSlave(command, paused());
}

bool MPlayer::isAudioOnly()
{
    audioOnlyFlag_ = f_.lengthSeconds > 0 && f_.videoWidth * f_.videoHeight == 0;
    return audioOnlyFlag_;
}

bool MPlayer::isSuccess()
{
    successFlag_ = f_.lengthSeconds > 0 || f_.videoWidth * f_.videoHeight > 0;
    return successFlag_;
}

void MPlayer::openMCI(const QString &fileName, unsigned long long hwnd, const QString &)
{
    fileName_ = fileName;
    videoWindow_ = hwnd;
    volume_ = 100;
    curSeconds_ = 0;
    totalFrames_ = 0;
    totalSeconds_ = 0;
    f_ = playerengine::Fields();
    indexPercent_ = -1;
    cancelOpen_ = false;
    probeMedia();
    if (cancelOpen_)
        f_ = playerengine::Fields();
}

void MPlayer::probeMedia()
{
    mdlConsole::StopConsole();
    if (!mdlMavrell::ToolExists(1) || fileName_.isEmpty() || !mdlMavrell::Quotable(fileName_))
        return;
    const QString tool = mdlMavrell::ToolPath(1);
    // The window's events run while the probe waits: a Stop or a close there ends it.
    cmdoutput::RunLimits limits;
    limits.cancelled = [this] { return cancelOpen_; };
    const QString out = cmdoutput::RunTool(
        tool + QStringLiteral(" -identify -ao null -vo null -frames 0 ") + mdlMavrell::Quoted(fileName_), limits).output;
    if (cancelOpen_)
        return;
    playerengine::readIdentify(out, f_);

    if (playerengine::needsTool3Length(f_)) {
        float duration = 0, start = 0, fps = 0;
        mdlMavrell::ProbeByTool3(fileName_, duration, start, fps);
        if (duration > 0)
            f_.lengthSeconds = duration;
    }
    // This tool reports neither a GIF's length nor, for some files, its size: the
    // frame-count run supplies them.
    if (f_.demuxer == QLatin1String("gif")) {
        if (f_.videoWidth * f_.videoHeight == 0)
            playerengine::readGifSize(out, f_);
        const QString frames = cmdoutput::RunTool(
            tool + QStringLiteral(" -ao null -vo null -fps 10000 ") + mdlMavrell::Quoted(fileName_), limits).output;
        if (cancelOpen_)
            return;
        playerengine::readGifFrames(frames, f_);
    }
    if (f_.demuxer == QLatin1String("asf") && (f_.framesPerSecond == 1000 || f_.framesPerSecond == 0)) {
        float duration = 0, start = 0, fps = 0;
        mdlMavrell::ProbeByTool3(fileName_, duration, start, fps);
        playerengine::fixAsf(f_, start, fps);
    }
    playerengine::finish(f_);
}

QString MPlayer::infoTip(const QString &sep) const
{
    QString tip = f_.demuxer + sep + f_.videoFormat + sep + f_.audioCodec;
    if (f_.startOffset != 0)
        tip += sep + QStringLiteral("TimeShift= ") + numbertext::single(f_.startOffset);
    return tip;
}

long MPlayer::getTotalFrames()
{
    totalFrames_ = long(numbertext::roundHalfEven(double(f_.lengthSeconds) * f_.framesPerSecond));
    return totalFrames_;
}

float MPlayer::getTotalSeconds()
{
    totalSeconds_ = f_.lengthSeconds;
    return totalSeconds_;
}

QString MPlayer::buildRangeArgs(long fromWhere, long toWhere) const
{
    return slaveprotocol::rangePiece(fromWhere, toWhere, totalFrames_, f_.framesPerSecond);
}

void MPlayer::playMCI(long fromWhere, long toWhere)
{
    if (fromWhere < 0)
        fromWhere = 0;
    if (totalFrames_ < 1)
        getTotalFrames();
    if (toWhere > totalFrames_ || (fromWhere > 0 && toWhere < 1))
        toWhere = totalFrames_;
    mdlConsole::StopConsole();
    lastStartLine_.clear();
    if (!mdlMavrell::ToolExists(1) || fileName_.isEmpty() || !mdlMavrell::Quotable(fileName_))
        return;
    lastStartLine_ = slaveprotocol::playerStartLine(mdlMavrell::ToolPath(1), fileName_, videoWindow_,
                                            buildRangeArgs(fromWhere, toWhere), f_.demuxer);
    bool show = false;
    mdlConsole::StartConsole(lastStartLine_, owner_, show);
}

void MPlayer::pauseMCI()
{
    if (playState_ && playState_() == Playing)
        mdlConsole::SendSlave(slaveprotocol::cmdPause, false);
    else
        mdlConsole::SendSlave(slaveprotocol::cmdFrameStep, paused());
}

void MPlayer::resumeMCI()
{
    send(slaveprotocol::cmdPause);
}

void MPlayer::stepMCI(int)
{
    send(slaveprotocol::cmdFrameStep);
}

void MPlayer::stopMCI(const QString &, long)
{
    mdlConsole::StopConsole();
}

void MPlayer::closeMCI(const QString &)
{
    mdlConsole::StopConsole();
}

void MPlayer::closeAllMCI()
{
    mdlConsole::StopConsole();
}

QString MPlayer::getStatus() const
{
    return mdlConsole::IsRunning() ? QString() : QStringLiteral("stopped");
}

void MPlayer::setCurFrame(long toWhere, bool andPlay)
{
    if (f_.framesPerSecond == 0 || f_.lengthSeconds == 0)
        return;
    if (isAudioOnly())
        send(slaveprotocol::seekRelative(double(toWhere) / f_.framesPerSecond - curSeconds_));
    else
        send(slaveprotocol::seekPercent(double(toWhere) * 100.0 / f_.framesPerSecond / f_.lengthSeconds));
    if (!andPlay)
        send(slaveprotocol::cmdFrameStep);
}

long MPlayer::getCurFrame()
{
    QString s;
    mdlConsole::ReadConsole(s);
    float pos = 0;
    if (slaveprotocol::parsePosition(s, f_.startOffset, pos))
        curSeconds_ = pos;
    indexPercent_ = slaveprotocol::parseIndexProgress(s);
    if (slaveprotocol::hasVideoFailure(s) || slaveprotocol::hasExited(s))
        mdlConsole::StopConsole();
    return long(numbertext::roundHalfEven(double(curSeconds_) * f_.framesPerSecond));
}

void MPlayer::setVolume(int vol)
{
    volume_ = std::clamp(vol, 0, 1000);
    send(slaveprotocol::volume(volume_ / 10));
}

void MPlayer::setAudioShow(bool isOn)
{
    send(slaveprotocol::volume(isOn ? volume_ / 10 : 0));
}
