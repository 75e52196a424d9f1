// The player window's sizing: its own size for a video, the picture's aspect fit,
// the minimum size, the bottom bar's layout and the deferred layout of a frame drag.
#include "player/frmplayer.h"

#include "controls/orvexbutton.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "player/playerlayout.h"
#include "player/playerpointer.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QGuiApplication>
#include <QScreen>

void FrmPlayer::myPutSize(bool isDefaulSize)
{
    if (isMinimized())
        return;
    resizeGuard = true;
    updateMenuStates();
    picPlusBk->move(picPlusBk->x(), -picPlusBk->height());

    int w = 0, h = 0;
    if (jobstate::previewState.playerMode > 0) {
        w = jobstate::sourceInfo.srcWidth;
        h = jobstate::sourceInfo.srcHeight;
    } else {
        player().getDefaultSize(w, h);
    }
    if (isDefaulSize || jobstate::previewState.playerMode == 1) {
        if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
            setWindowState(Qt::WindowNoState);
        const QRect frame = frameGeometry();
        const QSize margins(frame.width() - width(), frame.height() - height());
        QRect avail(QPoint(0, 0), QSize(1280, 1024));
        if (QScreen *s = screen())
            avail = s->availableGeometry();
        // A video larger than the screen gets the screen: the bar stays on it, and
        // the picture is fitted into what is left.
        const QSize client = playerlayout::clientSizeOnScreen(playerlayout::clientSizeFor(w, h), margins,
                                                              avail.size());
        const QSize outer = client + margins;
        const QPoint at = playerlayout::keepOnScreen(frame.topLeft(), outer, avail);
        resize(client);
        move(at);
    }
    picPlayerContainer->resize(width() - playerlayout::containerMargin,
                               height() - picPlusBk->height() - playerlayout::containerMargin);
    QString fn = player().FileName();
    const bool haveFile = jobstate::previewState.playerMode > 0 || mdlMavrell::fileObject().FileExists(fn);
    const QRect pic = playerlayout::pictureRect(w, h, picPlayerContainer->size(), mnuKeepWH->isChecked(), haveFile);
    lblPlayerNote->hide();
    picPlayer->setGeometry(pic);
    player().putMCI(pic.width(), pic.height());
    layoutTimeBar();
    picPlusBk->move(picPlusBk->x(), height() - picPlusBk->height());
    if (tmrCheck.isActive())
        moveSeekThumb(player().getCurFrame());
    resizeGuard = false;
    if (isPausedPicture())
        player().stepMCI(1);
    QString caption = QStringLiteral(" ") + lblFnNameTag;
    if (!player().isAudioOnly())
        caption += QStringLiteral("  - ( ") + QString::number(picPlayer->width()) + QStringLiteral(" , ")
            + QString::number(picPlayer->height()) + QStringLiteral(" )");
    setWindowTitle(caption);
}

bool FrmPlayer::isPausedPicture() const
{
    if (myStatus == MPlayer::Paused)
        return true;
    return jobstate::previewState.playerMode > 0 && previewTag && previewTag() == QLatin1String("Pause");
}

void FrmPlayer::setFormSize()
{
    if (windowState() != Qt::WindowNoState && windowState() != Qt::WindowActive)
        return;
    resizeGuard = true;
    const QSize min = playerlayout::minimumClientSize();
    if (width() < min.width())
        resize(min.width(), height());
    if (height() < min.height())
        resize(width(), min.height());
    resizeGuard = false;
}

void FrmPlayer::resizeEvent(QResizeEvent *)
{
    Form_Resize();
}

void FrmPlayer::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void FrmPlayer::Form_Resize()
{
    if (isMinimized() || resizeGuard || unloaded_)
        return;
    setFormSize();
    const Qt::WindowStates state = windowState() & ~Qt::WindowActive;
    if (playerpointer::leftButtonHeld() && state == lastWindowState_) {
        tmrCheckResize.start();
    } else {
        tmrCheckResize.stop();
        myPutSize(false);
    }
    lastWindowState_ = state;
}

void FrmPlayer::tmrCheckResize_Timer()
{
    if (playerpointer::leftButtonHeld())
        return;
    tmrCheckResize.stop();
    myPutSize(false);
}

void FrmPlayer::layoutTimeBar()
{
    const int inner = width();
    picPlusBk->resize(inner, picPlusBk->height());
    picMsgBk->resize(inner - 2 * picMsgBk->x(), picMsgBk->height());
    picBnBk->resize(picMsgBk->width() + 2, picBnBk->height());
    picSndBk->move(picBnBk->width() - picSndBk->width() - 8, picSndBk->y());

    const float total = player().getTotalSeconds();
    int parts = 0;
    lblTtTimeTag = numbertext::single(total);
    lblTtTime->setText(mdlMavrell::FormatTime(total, 2, 0, &parts));
    lblTtTime->adjustSize();
    lblCurTimeTag = QString::number(parts);
    lblCurTime->setText(mdlMavrell::FormatTime(0, parts, 0));
    lblCurTime->adjustSize();
    lblTtTime->move(picMsgBk->width() - lblTtTime->width() - 5, lblTtTime->y());
    lblSplit->setText(QStringLiteral("/"));
    lblSplit->adjustSize();
    lblSplit->move(lblTtTime->x() - lblSplit->width() - 3, lblSplit->y());
    lblCurTime->move(lblSplit->x() - lblCurTime->width() - 2, lblCurTime->y());
    lblCover->setGeometry(lblCurTime->x() - 10, lblCover->y(), 100, lblCover->height());

    picHsb->resize(picPlusBk->width() - 2 * picHsb->x() - 1, picHsb->height());
    picHsbBack->resize(picHsb->width(), picHsbBack->height());
    const playerlayout::SeekScale s = playerlayout::seekScale(picHsb->width(), player().getTotalFrames());
    seekTotalFrames = s.totalFrames;
    seekScale = s.scale;
}

void FrmPlayer::updateMenuStates()
{
    if (jobstate::previewState.playerMode > 0)
        return;
    QString fn = player().FileName();
    const bool picture = !fn.isEmpty() && !player().isAudioOnly();
    mnuKeepDef->setEnabled(picture);
    mnuKeepWH->setEnabled(picture);
    mnuExplorer->setEnabled(mdlMavrell::fileObject().FileExists(fn));
}

void FrmPlayer::enableTransportButtons(bool keepPlay)
{
    if (!keepPlay)
        mbPlay->setState(OrvexButton::StateUp);
    mbPause->setState(OrvexButton::StateUp);
    mbStop->setState(OrvexButton::StateUp);
    mbBackward->setState(OrvexButton::StateUp);
    mbForward->setState(OrvexButton::StateUp);
    picHsb->setEnabled(true);
    QCoreApplication::processEvents();
}

QList<QRect> FrmPlayer::screenAreas() const
{
    QList<QRect> areas;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (QScreen *s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen())
            areas << s->availableGeometry();
    return areas;
}
