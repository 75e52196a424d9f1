// The player window's transport: play, pause, stop, ten seconds back and forward,
// mute, the seek bar and the volume slider.
#include "player/frmplayer.h"

#include "controls/orvexbutton.h"
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "player/playerpointer.h"
#include "player/slaveprotocol.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>

#include <algorithm>
#include <cmath>

void FrmPlayer::mbPlay_Click()
{
    if (isBusy)
        return;
    enableTransportButtons(true);
    setPlayButtonState(OrvexButton::StateDown);
    if (myStatus != MPlayer::Paused) {
        picPlayer->setToolDraws(!player().isAudioOnly());
        player().playMCI(0, seekTotalFrames);
        if (!player().isSuccess()) {
            playSingle(player().FileName());
            return;
        }
    } else {
        player().resumeMCI();
        myStatus = MPlayer::Playing;
    }
    if (player().isSuccess()) {
        showPlayingState(true);
        tmrCheck_Timer();
    } else {
        failPlay();
    }
}

void FrmPlayer::mbPause_Click()
{
    if (isBusy)
        return;
    enableTransportButtons(false);
    mbPause->setState(OrvexButton::StateDown);
    shareBnPause();
    tmrCheck_Timer();
}

void FrmPlayer::shareBnPause()
{
    player().pauseMCI();
    myStatus = MPlayer::Paused;
    setPlayButtonState(OrvexButton::StateUp);
}

void FrmPlayer::mbStop_Click()
{
    shareBnStop();
}

void FrmPlayer::shareBnStop(bool, bool noStopMCI, bool, bool)
{
    tmrCheck.stop();
    // Stop while a file opens ends that opening; the window stays busy until the
    // probe has returned.
    if (opening_)
        player().cancelOpen();
    if (!noStopMCI)
        player().stopMCI();
    ifStopped(false);
    isBusy = opening_;
}

void FrmPlayer::mbBackward_Click()
{
    if (!isBusy)
        seekTenSeconds(-1);
}

void FrmPlayer::mbForward_Click()
{
    if (!isBusy)
        seekTenSeconds(1);
}

void FrmPlayer::seekTenSeconds(int dir)
{
    if (isBusy)
        return;
    const float fps = player().getFramesPerSecond();
    const long cur = player().getCurFrame();
    long target = long(numbertext::roundHalfEven(double(fps) * dir * 10 + cur));
    if (target >= seekTotalFrames) {
        mbStop_Click();
        return;
    }
    if (target < 1) {
        target = 0;
        myStatus = MPlayer::Paused;
    }
    player().setCurFrame(target, myStatus != MPlayer::Paused);
    enableTransportButtons(false);
    if (myStatus != MPlayer::Paused)
        mbPlay->setState(OrvexButton::StateDown);
    else
        mbPause->setState(OrvexButton::StateDown);
    tmrCheck_Timer();
}

void FrmPlayer::mbSound_Click()
{
    if (isBusy)
        return;
    sendVolumeNow();
}

// Mute, or the stored volume, to the running player.
void FrmPlayer::sendVolumeNow()
{
    // A disabled sound button means no file with sound plays here (or the window is
    // the preview's big screen, whose player has the preview's volume): nothing to set.
    if (mbSound->State() == OrvexButton::StateDisabled)
        return;
    if (mbSound->State() == OrvexButton::StateDown)
        player().setVolume(0);
    else
        player().setVolume(int(numbertext::Val(picVolPosTag)));
}

void FrmPlayer::showPlayingState(bool keepLooks)
{
    if (!keepLooks) {
        enableTransportButtons(false);
        setPlayButtonState(OrvexButton::StateDown);
    }
    setTimeLabelsVisible(true);
    initVolumeControls(false);
    myStatus = MPlayer::Playing;
    tmrCheck.start();
}

void FrmPlayer::setPlayButtonState(int state)
{
    mbPlay->setState(state);
}

void FrmPlayer::initVolumeControls(bool noAudio)
{
    if (noAudio) {
        mbSound->setState(OrvexButton::StateDisabled);
        if (numbertext::Val(picVolPosTag) < 0)
            picVolPosTag = QStringLiteral("1000");
    } else if (player().isVideoOnly()) {
        mbSound->setState(OrvexButton::StateDisabled);
    } else if (mbSound->State() == OrvexButton::StateDisabled) {
        mbSound->setState(OrvexButton::StateUp);
    }
    mbSound_Click();
    placeVolumeKnob();
}

void FrmPlayer::placeVolumeKnob()
{
    const double vol = numbertext::Val(picVolPosTag);
    picVolPos->move(int(std::lround(picVolSdr->x() + picVolSdr->width() * vol / volScaleWidth - picVolPos->width() / 2.0)),
                    picVolPos->y());
}

void FrmPlayer::checkSeekable()
{
    if (player().getTotalSeconds() <= 0) {
        mbPlay->setState(OrvexButton::StateDisabled);
        setTimeLabelsVisible(false);
    }
}

void FrmPlayer::moveSeekThumb(long frame)
{
    // The user holds the thumb: it stays where the mouse has it.
    if (playerpointer::leftButtonHeld() && QApplication::widgetAt(QCursor::pos()) == picHsb2)
        return;
    // The thumb stays on the track, also for times past the length the probe found.
    frame = std::clamp(frame, 0L, std::max(0L, seekTotalFrames));
    picHsb2->move(int(std::lround(seekScale * frame - picHsb2->width() / 2.0 + picHsb->x())), picHsb2->y());
}

void FrmPlayer::dragSeekThumb(int button, int x, bool commit)
{
    if (!tmrCheck.isActive() || button != 1)
        return;
    const int lo = picHsb->x();
    const int hi = picHsb->x() + picHsb->width();
    const int pos = std::clamp(picHsb2->x() + x, lo, hi);
    if (!commit) {
        picHsb2->move(pos - picHsb2->width() / 2, picHsb2->y());
        return;
    }
    player().setCurFrame(long(numbertext::roundHalfEven((pos - lo) / seekScale)), myStatus != MPlayer::Paused);
    picHsbBack->update();
    picHsb->update();
}

void FrmPlayer::picHsb_MouseUp(int button, int x)
{
    if (!tmrCheck.isActive() || button != 1 || isBusy)
        return;
    player().setCurFrame(long(numbertext::roundHalfEven(x / seekScale)), myStatus != MPlayer::Paused);
    tmrCheck_Timer();
}

void FrmPlayer::picPlayer_MouseDown(int button)
{
    if (isBusy)
        return;
    if (button == 2) {
        popupMenu();
        return;
    }
    if (button != 1)
        return;
    if (jobstate::previewState.playerMode == 0) {
        Form_KeyDown(32, 0);
        return;
    }
    if (!previewTag || !setPreviewTag)
        return;
    const QString tag = previewTag();
    if (tag == QLatin1String("Pause")) {
        mdlConsole::SendSlave(slaveprotocol::cmdPause, false);
        setPreviewTag(QStringLiteral("Play"));
    } else if (tag == QLatin1String("Play")) {
        mdlConsole::SendSlave(slaveprotocol::cmdPause, false);
        setPreviewTag(QStringLiteral("Pause"));
    }
}

void FrmPlayer::picVolSdr_MouseDown(int button, int x)
{
    if (isBusy || button != 1 || mbSound->State() != OrvexButton::StateUp || player().FileName().isEmpty())
        return;
    player().setVolume(x);
    picVolPosTag = QString::number(player().getVolume());
    placeVolumeKnob();
}

void FrmPlayer::picVolPos_MouseMove(int buttons, int x)
{
    if (isBusy || buttons != 1 || mbSound->State() != OrvexButton::StateUp || player().FileName().isEmpty())
        return;
    const int lo = picVolSdr->x();
    const int hi = picVolSdr->x() + picVolSdr->width();
    const int pos = std::clamp(picVolPos->x() + x, lo, hi);
    const double vol = double(picVolPos->x() + x - picVolSdr->x()) * volScaleWidth / std::max(1, picVolSdr->width());
    player().setVolume(int(numbertext::roundHalfEven(vol)));
    picVolPosTag = QString::number(player().getVolume());
    picVolPos->move(pos - picVolPos->width() / 2, picVolPos->y());
}
