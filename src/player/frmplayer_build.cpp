// The player window's controls in their design places, and the mouse routing of
// its picture boxes to the handlers.
#include "player/frmplayer.h"

#include "controls/orvexbutton.h"
#include "controls/videosurface.h"
#include "coregui/drawing.h"
#include "coregui/mousecodes.h"
#include "player/playerlayout.h"
#include "player/playerlook.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace {

PictureBox *box(QWidget *parent, const char *name, QRect geometry, std::uint32_t colour)
{
    auto *b = new PictureBox(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setBackColor(colour);
    return b;
}

QLabel *label(QWidget *parent, const char *name, int x, int y)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    l->setFixedHeight(15);
    return l;
}

constexpr std::uint32_t buttonFace = 0xC8D0D4;   // 0x00BBGGRR
constexpr std::uint32_t trackColour = 0x808080;
constexpr std::uint32_t thumbColour = 0x6A4A2A;

} // namespace

void FrmPlayer::buildControls()
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    const QSize client = playerlayout::minimumClientSize();
    resize(client);

    auto *container = box(this, "picPlayerContainer", QRect(1, 1, client.width() - 2, 20), 0x000000);
    picPlayerContainer = container;
    picPlayer = new VideoSurface(container);
    picPlayer->setObjectName(QStringLiteral("picPlayer"));
    picPlayer->setGeometry(0, 0, container->width(), container->height());
    {
        QPalette pal = picPlayer->palette();
        pal.setColor(QPalette::Window, playerlook::colorKey());
        picPlayer->setPalette(pal);
    }
    // The note lies over the video surface, a window of its own above the picture.
    lblPlayerNote = new QLabel(picPlayer);
    lblPlayerNote->setObjectName(QStringLiteral("lblPlayerNote"));
    lblPlayerNote->setAutoFillBackground(true);
    lblPlayerNote->setStyleSheet(QStringLiteral("QLabel { background: black; color: white; padding: 2px 6px; }"));
    lblPlayerNote->hide();
    VideoSurface::makeOverlay(lblPlayerNote);

    picPlusBk = box(this, "picPlusBk", QRect(0, client.height() - playerlayout::barHeight, client.width(),
                                             playerlayout::barHeight), buttonFace);
    picHsbBack = box(picPlusBk, "picHsbBack", QRect(8, 3, client.width() - 17, 16), buttonFace);
    picHsb = box(picPlusBk, "picHsb", QRect(8, 8, client.width() - 17, 7), trackColour);
    picHsb->setFrameShape(QFrame::Panel);
    picHsb->setFrameShadow(QFrame::Sunken);
    picHsb2 = box(picPlusBk, "picHsb2", QRect(4, 5, 9, 13), thumbColour);
    picHsb2->setFrameShape(QFrame::Panel);
    picHsb2->setFrameShadow(QFrame::Raised);

    picBnBk = box(picPlusBk, "picBnBk", QRect(0, 22, client.width() + 2, 22), buttonFace);
    auto makeButton = [this](QWidget *parent, const char *name, int x, int mode, playerlook::Face f) {
        auto *b = new OrvexButton(parent);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 0, 23, 22);
        b->setMode(mode);
        b->setBackColor(buttonFace);
        b->setPicture(playerlook::face(f, 17, 16, false));
        b->setDisabledPicture(playerlook::face(f, 17, 16, true));
        return b;
    };
    mbPlay = makeButton(picBnBk, "mbPlay", 4, 2, playerlook::Face::Play);
    mbPause = makeButton(picBnBk, "mbPause", 27, 2, playerlook::Face::Pause);
    mbStop = makeButton(picBnBk, "mbStop", 50, 2, playerlook::Face::Stop);
    mbBackward = makeButton(picBnBk, "mbBackward", 73, 0, playerlook::Face::Backward);
    mbForward = makeButton(picBnBk, "mbForward", 96, 0, playerlook::Face::Forward);
    picSndBk = box(picBnBk, "picSndBk", QRect(picBnBk->width() - 78 - 8, 0, 78, 22), buttonFace);
    mbSound = makeButton(picSndBk, "mbSound", 3, 1, playerlook::Face::Sound);
    mbSound->setDownPicture(playerlook::face(playerlook::Face::Muted, 17, 16, false));
    picVolSdr = box(picSndBk, "picVolSdr", QRect(32, 8, 40, 6), trackColour);
    picVolSdr->setFrameShape(QFrame::Panel);
    picVolSdr->setFrameShadow(QFrame::Sunken);
    picVolSdr2 = box(picSndBk, "picVolSdr2", QRect(72, 8, 3, 6), buttonFace);
    picVolPos = box(picSndBk, "picVolPos", QRect(68, 3, 7, 16), thumbColour);
    picVolPos->setFrameShape(QFrame::Panel);
    picVolPos->setFrameShadow(QFrame::Raised);

    picMsgBk = box(picPlusBk, "picMsgBk", QRect(0, 47, client.width(), 22), buttonFace);
    picAssIcon = box(picMsgBk, "picAssIcon", QRect(0, 3, 20, 16), buttonFace);
    lblFnName = label(picMsgBk, "lblFnName", 24, 4);
    lblCover = new QLabel(picMsgBk);
    lblCover->setObjectName(QStringLiteral("lblCover"));
    lblCover->setGeometry(200, 1, 100, 25);
    lblCover->setAutoFillBackground(true);
    {
        QPalette pal = lblCover->palette();
        pal.setColor(QPalette::Window, QColor(0xD4, 0xD0, 0xC8));  // the bar's colour
        lblCover->setPalette(pal);
    }
    lblCurTime = label(picMsgBk, "lblCurTime", 220, 4);
    lblSplit = label(picMsgBk, "lblSplit", 260, 4);
    lblSplit->setText(QStringLiteral("/"));
    lblTtTime = label(picMsgBk, "lblTtTime", 270, 4);

    mnuMain = new QMenu(this);
    mnuMain->setObjectName(QStringLiteral("mnuMain"));
    mnuOpen = mnuMain->addAction(QString(), this, &FrmPlayer::mnuOpen_Click);
    mnuExplorer = mnuMain->addAction(QString(), this, &FrmPlayer::mnuExplorer_Click);
    mnuMain->addSeparator();
    mnuShowHideMain = mnuMain->addAction(QString(), this, &FrmPlayer::mnuShowHideMain_Click);
    mnuKeepDef = mnuMain->addAction(QString(), this, &FrmPlayer::mnuKeepDef_Click);
    mnuMain->addSeparator();
    mnuKeepWH = mnuMain->addAction(QString(), this, &FrmPlayer::mnuKeepWH_Click);
    mnuKeepWH->setCheckable(true);
    mnuKeepWH->setChecked(true);
    mnuTopMost = mnuMain->addAction(QString(), this, &FrmPlayer::mnuTopMost_Click);
    mnuTopMost->setCheckable(true);
    mnuEnd = mnuMain->addAction(QString(), this, &FrmPlayer::mnuEnd_Click);
    mnuMain->insertSeparator(mnuEnd);

    tmrCheck.setInterval(333);
    tmrCheckResize.setInterval(250);
    tmrDrag.setInterval(250);
    connect(&tmrCheck, &QTimer::timeout, this, &FrmPlayer::tmrCheck_Timer);
    connect(&tmrCheckResize, &QTimer::timeout, this, &FrmPlayer::tmrCheckResize_Timer);
    connect(&tmrDrag, &QTimer::timeout, this, &FrmPlayer::tmrDrag_Timer);

    connect(mbPlay, &OrvexButton::Click, this, &FrmPlayer::mbPlay_Click);
    connect(mbPause, &OrvexButton::Click, this, &FrmPlayer::mbPause_Click);
    connect(mbStop, &OrvexButton::Click, this, &FrmPlayer::mbStop_Click);
    connect(mbBackward, &OrvexButton::Click, this, &FrmPlayer::mbBackward_Click);
    connect(mbForward, &OrvexButton::Click, this, &FrmPlayer::mbForward_Click);
    connect(mbSound, &OrvexButton::Click, this, &FrmPlayer::mbSound_Click);

    // Keys reach the window from every control; mouse events of the picture boxes
    // go to their handlers.
    for (QWidget *w : findChildren<QWidget *>())
        if (!qobject_cast<QMenu *>(w))
            w->installEventFilter(this);
}

bool FrmPlayer::mouseFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease && t != QEvent::MouseMove)
        return false;
    auto *m = static_cast<QMouseEvent *>(event);
    const int button = t == QEvent::MouseMove ? (mousecodes::buttons(m->buttons()) & mousecodes::Left)
                                                : mousecodes::button(m->button());
    const int x = int(m->position().x());
    if (watched == picHsb2) {
        if (t == QEvent::MouseMove) {
            dragSeekThumb(button, x, false);
        } else if (t == QEvent::MouseButtonRelease) {
            picHsb2Tag = QStringLiteral("3");
            dragSeekThumb(button, x, true);
        }
        return t != QEvent::MouseButtonPress || button == 1;
    }
    if (watched == picHsb && t == QEvent::MouseButtonRelease) {
        picHsb_MouseUp(button, x);
        return true;
    }
    if (watched == picHsbBack && t == QEvent::MouseButtonRelease) {
        if (picHsb->isEnabled())
            picHsb_MouseUp(button, x + picHsbBack->x() - picHsb->x());
        return true;
    }
    if ((watched == picHsb || watched == picHsbBack) && t == QEvent::MouseButtonPress)
        return true;  // the release decides
    if (watched == picVolSdr && t == QEvent::MouseButtonPress) {
        picVolSdr_MouseDown(button, int(m->position().x() * volScaleWidth / std::max(1, picVolSdr->width())));
        return true;
    }
    if (watched == picVolPos && (t == QEvent::MouseMove || t == QEvent::MouseButtonPress)) {
        picVolPos_MouseMove(mousecodes::buttons(m->buttons()) & mousecodes::Left, x);
        return true;
    }
    if (watched == picPlayer && t == QEvent::MouseButtonPress) {
        picPlayer_MouseDown(button);
        return true;
    }
    if ((watched == picPlayerContainer || watched == picBnBk) && t == QEvent::MouseButtonPress) {
        if (button == 2 && !isBusy)
            popupMenu();
        return true;
    }
    return false;
}

void FrmPlayer::mousePressEvent(QMouseEvent *event)
{
    // The free area of the window (not a bar or a label whose click came up to
    // here): a left click acts like Space.
    if (childAt(event->position().toPoint()))
        return;
    if (!isBusy && event->button() == Qt::LeftButton)
        Form_KeyDown(32, 0);
}

void FrmPlayer::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText())
        event->acceptProposedAction();
}

void FrmPlayer::dropEvent(QDropEvent *event)
{
    Form_OLEDragDrop(event->mimeData());
    event->acceptProposedAction();
}
