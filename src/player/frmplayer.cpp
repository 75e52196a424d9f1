// The player window: construction, load, opening a file, the stopped state, the
// status tick, the keyboard, the language and the console callback.
#include "player/frmplayer.h"

#include "controls/orvexbutton.h"
#include "core/console.h"
#include "core/fileobject.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "player/playerlook.h"
#include "player/playersettings.h"
#include "player/slaveprotocol.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace {

FrmPlayer *g_player = nullptr;

// The options dialog's polling interval, which the player's tick copies.
constexpr int pollIntervalMs = 333;

const QString &lng(int n)
{
    return mdlMavrell::lng[n];
}

} // namespace

FrmPlayer &frmPlayer()
{
    if (!g_player) {
        g_player = new FrmPlayer();
    }
    return *g_player;
}

bool frmPlayerLoaded()
{
    return g_player != nullptr;
}

void unloadFrmPlayer()
{
    if (!g_player)
        return;
    FrmPlayer *p = g_player;
    if (p->inUse_ > 0) {
        p->requestClose();
        return;
    }
    p->Form_Unload();
    g_player = nullptr;
    delete p;
}

void showPlayerAndPlay(const QString &path, const std::function<void()> &beforePlay)
{
    QPointer<FrmPlayer> player = &frmPlayer();
    player->show();
    QCoreApplication::processEvents();
    if (!player || g_player != player.data() || !player->isVisible())
        return;
    if (beforePlay)
        beforePlay();
    player->playSingle(path);
}

FrmPlayer::FrmPlayer() : QWidget(nullptr)
{
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    setObjectName(QStringLiteral("frmPlayer"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();
    Form_Load();
}

FrmPlayer::~FrmPlayer()
{
    if (!unloaded_)
        Form_Unload();
    if (g_player == this)
        g_player = nullptr;
}

MPlayer &FrmPlayer::player()
{
    if (!player_)
        player_ = std::make_unique<MPlayer>([this] { return myStatus; }, this);
    return *player_;
}

void FrmPlayer::Form_Load()
{
    mdlMavrell::playerOpen = true;
    if (MainWindowLink *link = mdlMavrell::mainWindowLink())
        if (QWidget *main = link->mainWidget())
            setWindowIcon(main->windowIcon());
    setWindowTitle(QStringLiteral(" Tessaly"));
    picHsbBack->setBackColor(picPlusBk->BackColor());
    tmrCheck.setInterval(pollIntervalMs);
    tmrCheck.stop();
    lblFnName->clear();
    picVolSdr2->move(picVolSdr->x() + picVolSdr->width(), picVolSdr2->y());
    picPlayerContainer->move(1, 1);
    if (jobstate::previewState.playerMode == 0)
        player().closeMCI();
    else
        player();
    settingsPath = playersettings::settingsPath();
    picVolPosTag = QStringLiteral("-1");
    resizeGuard = true;
    loadSettings();
    resizeGuard = false;
    initVolumeControls(true);
    myStatus = MPlayer::Stopped;
    updateMenuStates();
    ifStopped(true);
    setTimeLabelsVisible(false);
    ChangeLanguage();
}

void FrmPlayer::playSingle(QString fn)
{
    // A name handed over in double quotes plays without them. Any other double quote
    // or a line break cannot reach the tool intact: such a name is refused, so that
    // no other file is ever opened in its place.
    if (fn.size() >= 2 && fn.startsWith(QLatin1Char('"')) && fn.endsWith(QLatin1Char('"')))
        fn = fn.mid(1, fn.size() - 2);
    InUse use(this);
    if (!mdlMavrell::Quotable(fn)) {
        prompts::FileMsgBox(lng(txt::InvalidFileName), fn, this);
        return;
    }
    // Asked to play again, the window stays.
    closePending_ = false;
    if (opening_) {
        // Another file is being opened: that opening ends, and this file follows it.
        pendingFile_ = fn;
        player().cancelOpen();
        return;
    }
    for (QString next = fn; !next.isEmpty() && !closePending_;) {
        mbStop_Click();
        newPlay(next);
        next = std::exchange(pendingFile_, QString());
    }
    pendingFile_.clear();
    if (closePending_)
        return;
    show();
    raise();
    resizeGuard = false;
}

void FrmPlayer::newPlay(const QString &fnIn)
{
    InUse use(this);
    QString fn = fnIn;
    seekTotalFrames = 0;
    moveSeekThumb(0);
    picHsb->update();
    picHsbBack->update();
    player().closeMCI();
    // The last file's picture goes with its player.
    picPlayer->setToolDraws(false);
    player().setAudioOnly(false);
    isBusy = true;

    lblPlayerNote->setText(lng(txt::PlayingDots));
    lblPlayerNote->adjustSize();
    placeNote();
    lblPlayerNote->show();
    lblPlayerNote->raise();

    mdlIconVarne::DrawFileIcon(picAssIcon, fn, 4, 0, 16, 16);
    lblFnNameTag = mdlMavrell::fileObject().GetFileName(fn);
    setWindowTitle(QStringLiteral(" ") + lblFnNameTag);
    lblFnName->setText(lng(txt::PlayingProgress) + QStringLiteral(" 0 %"));
    lblFnName->adjustSize();

    opening_ = true;
    player().openMCI(fn, picPlayer->winId());
    opening_ = false;
    if (player().openCancelled()) {
        // Stop, a close or a later file ended the opening: Stop has shown the stopped
        // state already, and nothing of this file plays.
        isBusy = false;
        return;
    }
    picAssIcon->setToolTip(player().infoTip(lng(txt::ListComma)));
    myPutSize(true);
    if (player().isSuccess()) {
        myStatus = MPlayer::Playing;
        picPlayer->setToolDraws(!player().isAudioOnly());
        player().playMCI(0, 0);
        showPlayingState(false);
        checkSeekable();
        updateMenuStates();
    } else {
        failPlay();
    }
    isBusy = false;
    // The volume and mute state chosen before this file reach the new player now.
    sendVolumeNow();
}

void FrmPlayer::failPlay(const QString &, bool)
{
    updateMenuStates();
    setTimeLabelsVisible(false);
    shareBnStop();
    lblFnName->setText(lng(txt::CannotPlay));
    lblFnName->adjustSize();
}

void FrmPlayer::ifStopped(bool allNone)
{
    tmrCheck.stop();
    picPlayer->setToolDraws(false);
    picHsb->setEnabled(false);
    moveSeekThumb(0);
    lblFnName->setText(lblFnNameTag.isEmpty() ? lng(txt::OpenNewFilePlease) : lng(txt::PlayingEnded));
    lblFnName->adjustSize();
    lblPlayerNote->hide();
    if (seekScale != 1) {
        lblCurTime->setText(mdlMavrell::FormatTime(0, int(numbertext::Val(lblCurTimeTag)), 0));
        lblCurTime->adjustSize();
    }
    mbPlay->setState(allNone ? OrvexButton::StateDisabled : OrvexButton::StateUp);
    mbStop->setState(allNone ? OrvexButton::StateDisabled : OrvexButton::StateUp);
    mbPause->setState(OrvexButton::StateDisabled);
    mbBackward->setState(OrvexButton::StateDisabled);
    mbForward->setState(OrvexButton::StateDisabled);
    myStatus = MPlayer::Stopped;
}

void FrmPlayer::tmrCheck_Timer()
{
    const long cur = player().getCurFrame();
    if (player().indexPercent() > 0) {
        lblPlayerNote->setText(lng(txt::RebuildingIndex) + QString::number(player().indexPercent()) + QStringLiteral(" %"));
        lblPlayerNote->adjustSize();
        placeNote();
        lblPlayerNote->show();
        lblPlayerNote->raise();
    } else {
        lblPlayerNote->hide();
    }
    if ((cur != lastFrame_ || myStatus == MPlayer::Paused) && seekTotalFrames > 1) {
        const double cool = numbertext::Val(picHsb2Tag);
        if (cool == 0) {
            moveSeekThumb(cur);
            // A stream whose times run past its length (an MPEG program that starts at
            // 0.5 s) still ends at the end of the track.
            const double ratio =
                std::clamp((picHsb2->x() + picHsb2->width() / 2.0 - picHsb->x()) / double(picHsb->width()), 0.0, 1.0);
            lblFnName->setText((myStatus == MPlayer::Paused ? lng(txt::PausedProgress) : lng(txt::PlayingProgress))
                               + QStringLiteral(" ") + numbertext::fixed(ratio * 100, 0) + QStringLiteral(" %"));
            lblFnName->adjustSize();
            lblCurTime->setText(mdlMavrell::FormatTime(float(numbertext::Val(lblTtTimeTag) * ratio),
                                                       int(numbertext::Val(lblCurTimeTag)), 0));
            lblCurTime->adjustSize();
        } else if (cool > 0) {
            picHsb2Tag = QString::number(int(cool) - 1);
        }
    }
    if (!mdlConsole::IsRunning())
        mbStop_Click();
    lastFrame_ = cur;
}

void FrmPlayer::Form_KeyDown(int keyCode, int)
{
    if (isBusy)
        return;
    switch (keyCode) {
    case 33:
    case 37:
        if (mbBackward->State() < OrvexButton::StateDown)
            seekTenSeconds(-1);
        break;
    case 34:
    case 39:
        if (mbForward->State() < OrvexButton::StateDown)
            seekTenSeconds(1);
        break;
    case 32:
        if (mbPlay->State() < OrvexButton::StateDown || mbPause->State() < OrvexButton::StateDown) {
            if (myStatus == MPlayer::Playing)
                mbPause_Click();
            else
                mbPlay_Click();
        }
        break;
    default: break;
    }
}

void FrmPlayer::ChangeLanguage()
{
    mnuOpen->setText(lng(txt::OpenNewFileMenu));
    mnuExplorer->setText(lng(txt::ShowInFileManager));
    mnuShowHideMain->setText(mnuShowHideMainTag == QLatin1String("hide") ? lng(txt::ShowMainProgram) : lng(txt::HideMainProgram));
    mnuKeepDef->setText(lng(txt::VideoToSourceSize));
    mnuKeepWH->setText(lng(txt::KeepAspectRatio));
    mnuTopMost->setText(lng(txt::AlwaysOnTop));
    mnuEnd->setText(lng(txt::ExitMenu));
    mbPlay->SetToolTip(lng(txt::PlayTip));
    mbPause->SetToolTip(lng(txt::PauseTip));
    mbStop->SetToolTip(lng(txt::StopTip));
    mbBackward->SetToolTip(lng(txt::BackTenSecondsKeysTip));
    mbForward->SetToolTip(lng(txt::ForwardTenSecondsKeysTip));
    lblFnName->clear();
}

void FrmPlayer::setStopDosIo()
{
    tmrCheck.stop();
    mdlConsole::StopConsole();
    // A status tick that read the end shows the stopped state itself; when another
    // read noticed it (a layout placing the thumb), the window shows it once this
    // call has returned, so it never keeps a playing look with its timer off.
    QTimer::singleShot(0, this, [this] {
        if (!isBusy && myStatus != MPlayer::Stopped && !mdlConsole::IsRunning())
            mbStop_Click();
    });
}

void FrmPlayer::placeNote()
{
    lblPlayerNote->move((picPlayer->width() - lblPlayerNote->width()) / 2,
                        (picPlayer->height() - lblPlayerNote->height()) / 2);
}

// Keys reach the window whichever of its controls has the focus.
bool FrmPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        const int code = playerlook::keyCode(k->key());
        if (code) {
            Form_KeyDown(code, 0);
            return true;
        }
        return false;
    }
    return mouseFilter(watched, event);
}

void FrmPlayer::keyPressEvent(QKeyEvent *event)
{
    const int code = playerlook::keyCode(event->key());
    if (code)
        Form_KeyDown(code, 0);
    else
        QWidget::keyPressEvent(event);
}

void FrmPlayer::closeEvent(QCloseEvent *event)
{
    if (inUse_ > 0) {
        event->ignore();
        requestClose();
        return;
    }
    Form_Unload();
    event->accept();
    // A closed player window is unloaded: the next use builds a new one.
    if (g_player == this) {
        g_player = nullptr;
        deleteLater();
    }
}

void FrmPlayer::requestClose()
{
    closePending_ = true;
    pendingFile_.clear();
    if (opening_)
        player().cancelOpen();
    hide();
}

void FrmPlayer::leaveUse()
{
    if (--inUse_ > 0 || !closePending_)
        return;
    // Once the events of this round are done, nothing of this window runs any more.
    QTimer::singleShot(0, this, [this] { finishClose(); });
}

void FrmPlayer::finishClose()
{
    if (inUse_ > 0 || !closePending_)
        return;
    closePending_ = false;
    Form_Unload();
    if (g_player == this)
        g_player = nullptr;
    deleteLater();
}
