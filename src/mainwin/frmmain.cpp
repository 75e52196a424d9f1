// The main window: its controls, look, shared routines, title bar and closing.
#include "mainwin/frmmain.h"

#include "controls/stylebutton.h"
#include "core/cpuload.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/userprompts.h"
#include "coregui/drawing.h"
#include "coregui/mousecodes.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmdevcmd.h"
#include "mainwin/frmdonation.h"
#include "mainwin/frmmain_look.h"
#include "mainwin/frmsplash.h"
#include "mainwin/singleinstance.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <cstdlib>

using namespace mdlMavrell;

// ---------------------------------------------------------------- the one instance

namespace {
FrmMain *theMainWindow = nullptr;
}

FrmMain &frmMain()
{
    if (!theMainWindow)
        theMainWindow = new FrmMain;
    return *theMainWindow;
}

bool frmMainExists() { return theMainWindow != nullptr; }

void destroyFrmMain()
{
    delete theMainWindow;
    theMainWindow = nullptr;
}

// ---------------------------------------------------------------- construction

FrmMain::FrmMain(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Mavrell"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(look::windowSize);
    setMouseTracking(true);  // the hover link follows the pointer without a button held
    tickSource = [] { return QDateTime::currentMSecsSinceEpoch(); };
    endProgram = [] { std::_Exit(0); };

    tmrCPU.setInterval(1000);
    tmrFun.setInterval(120);
    tmrDrag.setInterval(250);

    mnuTargetDefDir1Tag = AddSlash(QDir::homePath());
    buildControls();
    buildMenus();
    connectControls();
    setMainWindowLink(this);
}

FrmMain::~FrmMain()
{
    if (mainWindowLink() == this)
        setMainWindowLink(nullptr);
    if (theMainWindow == this)
        theMainWindow = nullptr;
}

void FrmMain::buildControls()
{
    QFont base = font();
    base.setPixelSize(12);
    setFont(base);

    auto makeButton = [this](const char *name, const QRect &geo) {
        auto *b = new StyleButton(this, QString::fromLatin1(name));
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(geo);
        look::styleMainButton(b);
        return b;
    };
    cmdInput = makeButton("cmdInput", look::rowButton(0));
    cmdOutput = makeButton("cmdOutput", look::rowButton(1));
    cmdOpt = makeButton("cmdOpt", look::rowButton(2));
    cmdEncode[0] = makeButton("cmdEncode0", look::encodeButton);
    cmdEncode[1] = makeButton("cmdEncode1", look::encodeButton);
    look::styleEncodeButton(cmdEncode[0], false);
    look::styleEncodeButton(cmdEncode[1], true);
    cmdInput->setOLEDropMode(1);

    auto makeLabel = [this](const char *name, const QRect &geo) {
        auto *l = new ClickableLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(geo);
        look::styleLabel(l);
        return l;
    };
    lblInput = makeLabel("lblInput", look::pathLabel(0));
    lblOutput = makeLabel("lblOutput", look::pathLabel(1));
    lblInputCheck = makeLabel("lblInputCheck", look::pathLabel(0));
    lblVideoSize = makeLabel("lblVideoSize", look::videoSizeLabel);
    lblVideoLen = makeLabel("lblVideoLen", look::videoLenLabel);
    lblEncodeNote = makeLabel("lblEncodeNote", look::encodeNoteLabel);
    lblEncodeNoteCheck = makeLabel("lblEncodeNoteCheck", look::encodeNoteCheckLabel);
    lblEncodeEsti = makeLabel("lblEncodeEsti", look::cpuLabel);
    lblVer = makeLabel("lblVer", look::versionLabel);
    lblMsgSay = makeLabel("lblMsgSay", look::msgSayLabel);
    for (ClickableLabel *l : {lblInput, lblOutput}) {
        look::stylePathLabel(l);
        l->setElideMiddle(true);
    }
    for (ClickableLabel *l : {lblVideoSize, lblVideoLen, lblEncodeEsti})
        look::styleSmallLabel(l);
    look::styleNoteLabel(lblEncodeNote);
    look::styleBusyNote(lblInputCheck);
    look::styleBusyNote(lblEncodeNoteCheck);
    look::styleVersionLabel(lblVer);
    look::styleLinkLabel(lblMsgSay);
    lblInputCheck->hide();
    lblEncodeNoteCheck->hide();
    lblMsgSay->hide();

    for (int i = 0; i < 4; ++i) {
        auto *b = new ClickableLabel(this);
        b->setObjectName(QStringLiteral("lblButton%1").arg(i));
        b->setGeometry(look::titleButton(i));
        look::styleTitleButton(b, i);
        lblButton[size_t(i)] = b;
    }

    imgMsgSay = new QLabel(this);
    imgMsgSay->setObjectName(QStringLiteral("imgMsgSay"));
    imgMsgSay->setGeometry(look::msgSayImage);
    imgMsgSay->setPixmap(look::msgSayPicture());
    imgMsgSay->hide();

    for (int i = 0; i < 2; ++i) {
        auto *f = new ClickableLabel(this);
        f->setObjectName(QStringLiteral("imgFun%1").arg(i));
        f->setPixmap(look::funPicture(i == 1));
        f->setGeometry(look::funStart(i == 1));
        f->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        f->setVisible(i == 0);
        imgFun[size_t(i)] = f;
    }
    for (int i = 0; i < 3; ++i) {
        auto *lock = new QLabel(this);
        lock->setObjectName(QStringLiteral("imgButton%1").arg(i));
        lock->setPixmap(look::lockPicture());
        lock->setGeometry(look::lockOn(look::rowButton(i)));
        lock->setAttribute(Qt::WA_TransparentForMouseEvents);
        lock->hide();
        imgButton[size_t(i)] = lock;
    }

    shpBlock = new QFrame(this);
    shpBlock->setObjectName(QStringLiteral("shpBlock"));
    shpBlock->setGeometry(look::progressFrame);
    look::setBlockColour(shpBlock, look::blockResting);
    picProgress = new PictureBox(this);
    picProgress->setObjectName(QStringLiteral("picProgress"));
    picProgress->setGeometry(look::progressBox);
    picProgress->setBackColor(0x000000);
    picEncodeEsti = new PictureBox(this);
    picEncodeEsti->setObjectName(QStringLiteral("picEncodeEsti"));
    picEncodeEsti->setGeometry(look::estimateBox);
    look::styleEstimateBox(picEncodeEsti);
    picEncodeEsti->hide();

    cmdDelSrc = new QPushButton(QStringLiteral("Del Src"), this);
    cmdDelSrc->setObjectName(QStringLiteral("cmdDelSrc"));
    cmdDelSrc->setGeometry(look::developerControl(0));
    chkCheckAsfMci = new QCheckBox(QStringLiteral("MCI probe"), this);
    chkCheckAsfMci->setObjectName(QStringLiteral("chkCheckAsfMci"));
    chkCheckAsfMci->setGeometry(look::developerControl(1));
    chkCheckCmd = new QCheckBox(QStringLiteral("Review cmd"), this);
    chkCheckCmd->setObjectName(QStringLiteral("chkCheckCmd"));
    chkCheckCmd->setGeometry(look::developerControl(2));
    cboCmdEditSpec = new QComboBox(this);
    cboCmdEditSpec->setObjectName(QStringLiteral("cboCmdEditSpec"));
    cboCmdEditSpec->setGeometry(look::developerControl(3));
    cboCmdEditSpec->addItems({QStringLiteral("0 - no preset"), QStringLiteral("1 - preset 1"),
                              QStringLiteral("2 - preset 2"), QStringLiteral("3 - preset 3")});
    for (QWidget *w : std::initializer_list<QWidget *>{cmdDelSrc, chkCheckAsfMci, chkCheckCmd, cboCmdEditSpec}) {
        look::styleDeveloperControl(w);
        w->hide();
    }

    // The walking figure stays behind the labels it passes.
    for (ClickableLabel *f : imgFun)
        f->lower();
    cmdEncode[1]->hide();
}

void FrmMain::connectControls()
{
    connect(cmdInput, &StyleButton::Click, this, &FrmMain::cmdInput_Click);
    connect(cmdOutput, &StyleButton::Click, this, &FrmMain::cmdOutput_Click);
    connect(cmdOpt, &StyleButton::Click, this, &FrmMain::cmdOpt_Click);
    connect(cmdEncode[0], &StyleButton::Click, this, [this] { cmdEncode_Click(0); });
    connect(cmdEncode[1], &StyleButton::Click, this, [this] { cmdEncode_Click(1); });
    for (int i = 0; i < 4; ++i)
        connect(lblButton[size_t(i)], &ClickableLabel::Click, this, [this, i] { lblButton_Click(i); });

    // A drag started on these moves the window; hovering over them hides the link.
    for (ClickableLabel *l : {imgFun[0], imgFun[1], lblEncodeEsti, lblEncodeNote, lblEncodeNoteCheck, lblInputCheck,
                          lblVer, lblInput, lblOutput, lblVideoSize, lblVideoLen})
        connect(l, &ClickableLabel::MouseMove, this, [this, l](int b, int, float x, float y) {
            // The left button drags (whatever else is held); a move with neither the
            // left nor the right button down is a hover.
            if (b & mousecodes::Left)
                dragWindow(l->mapToGlobal(QPointF(x, y)).toPoint());
            else if (!(b & mousecodes::Right))
                Form_MouseMove(0, 0, 0, 0);
        });

    connect(mnuAbout, &QAction::triggered, this, &FrmMain::mnuAbout_Click);
    connect(mnuMoney, &QAction::triggered, this, &FrmMain::mnuMoney_Click);

    connect(chkCheckAsfMci, &QCheckBox::clicked, this, [this] { refreshProgress(); });
    connect(chkCheckCmd, &QCheckBox::clicked, this, [this] { refreshProgress(); });

    connect(&tmrCPU, &QTimer::timeout, this, &FrmMain::tmrCPU_Timer);
    connect(&tmrFun, &QTimer::timeout, this, &FrmMain::tmrFun_Timer);
}

// ---------------------------------------------------------------- look

void FrmMain::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    look::paintBackground(p, rect(), summaryRect());
}

QString FrmMain::fontFamilyFor(const QString &code)
{
    if (code == QLatin1String("gb"))
        return QStringLiteral("Noto Sans CJK SC");
    if (code == QLatin1String("tw"))
        return QStringLiteral("Noto Sans CJK TC");
    return QStringLiteral("DejaVu Sans");
}

// ---------------------------------------------------------------- shared routines

bool FrmMain::busyGuard() const
{
    return !lblEncodeNoteCheck->isHidden() || !cmdInput->Tag().isEmpty() || !cmdOutput->Tag().isEmpty();
}

bool FrmMain::isBusy() const
{
    return busyGuard() || !cmdEncode[1]->isHidden() || !lblInputCheck->isHidden();
}

void FrmMain::alignPathLabels()
{
    lblInput->move(lblInput->x(), cmdInput->y() + (cmdInput->height() - lblInput->height()) / 2 + 2);
    lblOutput->move(lblOutput->x(), cmdOutput->y() + (cmdOutput->height() - lblOutput->height()) / 2 + 2 - 1);
}

void FrmMain::refreshProgress()
{
    picProgress->Refresh();
}

void FrmMain::setEncodeNote(const QString &text)
{
    lblEncodeNote->setText(text);
}

// The summary is as tall as its wrapped text and centred on the settings button. It
// must stay between the target path and the progress bar: a text too tall for that band
// is set in a smaller type, down to 8 pixels, and then starts at the top of the band.
void FrmMain::placeEncodeNote(bool conversionLayout)
{
    const int bandTop = lblOutput->geometry().bottom() + 3;
    const int bandBottom = shpBlock->y() - 2;
    QFont f = lblEncodeNote->font();
    f.setPixelSize(look::encodeNotePixelSize);
    lblEncodeNote->setFont(f);
    int height = lblEncodeNote->heightForWidth(lblEncodeNote->width());
    while (height > bandBottom - bandTop && f.pixelSize() > 8) {
        f.setPixelSize(f.pixelSize() - 1);
        lblEncodeNote->setFont(f);
        height = lblEncodeNote->heightForWidth(lblEncodeNote->width());
    }
    lblEncodeNote->resize(lblEncodeNote->width(), height);
    int top = int((2.0f * float(cmdOpt->y()) + float(cmdOpt->height()) - float(height)) / 2.0f);
    if (conversionLayout)
        top -= 2;
    top = std::min(top, bandBottom - height);
    top = std::max(top, bandTop);
    lblEncodeNote->move(lblEncodeNote->x(), top);
    update();
}

QRect FrmMain::summaryRect() const
{
    // The summary's label is as tall as its text.
    if (!lblEncodeNote || lblEncodeNote->isHidden() || lblEncodeNote->text().isEmpty())
        return {};
    return lblEncodeNote->geometry();
}

// The settings summary names these two buttons.
QString FrmMain::settingsButtonCaption() const { return cmdOpt ? cmdOpt->Caption() : QString(); }

QString FrmMain::encodeButtonCaption() const { return cmdEncode[0] ? cmdEncode[0]->Caption() : QString(); }

QString FrmMain::encodeNote() const
{
    return lblEncodeNote->text();
}

void FrmMain::setProgressNote(float pg, const QString &bCaption, bool isPreview)
{
    if (isPreview)
        mdlProgressBar::drawProgressBar(picProgress, 0, 100, pg, bCaption + QStringLiteral("   "), true, 0x008000,
                                        0x000000, 0x004040);
    else
        mdlProgressBar::drawProgressBar(picProgress, 0, 100, pg, bCaption + QStringLiteral("   "), true, 0xFFFFFF,
                                        0x000000, 0x0040C0);
    picProgress->Tag = numbertext::single(pg);
}

void FrmMain::encodeStarted(qint64 startTick, const QString &estimateText)
{
    picEncodeEsti->Tag = numbertext::integer(startTick);
    picEncodeEsti->show();
    QString capt = estimateText;
    setEncodeTimeEsti(capt);
}

void FrmMain::encodeEnded()
{
    picEncodeEsti->hide();
}

void FrmMain::setCpuLoadText(const QString &text)
{
    lblEncodeEsti->setText(text);
}

void FrmMain::showEncodeButton()
{
    cmdEncode[1]->hide();
    cmdEncode[0]->show();
}

void FrmMain::showStopButton()
{
    cmdEncode[0]->hide();
    cmdEncode[1]->show();
}

void FrmMain::restProgressFrame()
{
    look::setBlockColour(shpBlock, look::blockResting);
    picProgress->setGeometry(look::progressBox);
}

void FrmMain::setEncodingControls(bool encoding)
{
    cmdInput->setEnabled(!encoding);
    cmdOutput->setEnabled(!encoding);
    cmdOpt->setEnabled(!encoding);
    cmdEncode[0]->setEnabled(true);
    cmdEncode[1]->setEnabled(true);
    for (QLabel *lock : imgButton) {
        lock->setVisible(encoding);
        lock->raise();
    }
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- title bar and dragging

void FrmMain::lblButton_Click(int index)
{
    unloadFrmSplash();
    if (index == 3 && playOpening_)
        closeAfterOpening_ = true;
    if (busyGuard())
        return;
    if (!cmdEncode[1]->isHidden() && index != 2)
        return;
    switch (index) {
    case 0: popupBelow(mnuLanguage, lblButton[0]); break;
    case 1: popupBelow(mnuMainHelp, lblButton[1]); break;
    case 2: showMinimized(); break;
    case 3: close(); break;
    default: break;
    }
}

void FrmMain::popupBelow(QMenu *menu, QWidget *anchor)
{
    menu->popup(anchor->mapToGlobal(QPoint(0, anchor->height())));
}

void FrmMain::Form_MouseMove(int Button, int Shift, float X, float Y)
{
    if (Button == 1) {
        unloadFrmSplash();
        dragWindow(QCursor::pos());
    } else if (Button == 0) {
        drag_.end();
        const bool over = X > 0 && Y > 0 && Y < cmdInput->y() + 10;
        imgMsgSay->setVisible(over);
        lblMsgSay->setVisible(over);
        if (over)
            lblMsgSay->raise();
    }
}

void FrmMain::mousePressEvent(QMouseEvent *event)
{
    Form_MouseDown(mousecodes::button(event->button()), mousecodes::shift(event->modifiers()),
                   float(event->position().x()), float(event->position().y()));
    if (event->button() == Qt::LeftButton) {
        // Every press begins a drag of its own.
        drag_.end();
        unloadFrmSplash();
        dragWindow(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void FrmMain::mouseMoveEvent(QMouseEvent *event)
{
    const int held = mousecodes::buttons(event->buttons());
    if (held & mousecodes::Left)
        dragWindow(event->globalPosition().toPoint());
    else
        Form_MouseMove(held, mousecodes::shift(event->modifiers()), float(event->position().x()),
                       float(event->position().y()));
}

void FrmMain::tmrFun_Timer()
{
    const int d = funDirection_;
    ClickableLabel *f = imgFun[size_t(d)];
    f->move(f->x() + (d == 0 ? 2 : -2), f->y());
    if (d == 0 && width() - imgFun[0]->width() < imgFun[0]->x()) {
        imgFun[0]->hide();
        imgFun[0]->move(lblEncodeNote->x(), imgFun[0]->y());
        funDirection_ = 1;
        imgFun[1]->show();
    } else if (d == 1 && imgFun[1]->x() < lblEncodeNote->x()) {
        imgFun[1]->hide();
        imgFun[1]->move(width() - imgFun[1]->width(), imgFun[1]->y());
        funDirection_ = 0;
        imgFun[0]->show();
    }
}

void FrmMain::stopFunEffect()
{
    tmrFun.stop();
    imgFun[0]->hide();
    imgFun[1]->hide();
}

// ---------------------------------------------------------------- activation and closing

void FrmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        mainFormShown = true;
    QWidget::changeEvent(event);
}

void FrmMain::showEvent(QShowEvent *event)
{
    mainFormShown = true;
    QWidget::showEvent(event);
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    // A conversion, a probe or a file dialog runs its loop inside one of our handlers:
    // tearing the windows down under it would pull its controls away. Not now.
    if (isBusy() || closing_) {
        if (playOpening_)
            closeAfterOpening_ = true;
        event->ignore();
        return;
    }
    closing_ = true;
    stopPlayerBeforeClosing();
    const prompts::Answer a = prompts::MsgBox(lng[txt::QuitQuestion], prompts::Buttons::YesNo, prompts::Icon::None,
                                              QStringLiteral("Mavrell"), this);
    if (a != prompts::Answer::Yes) {
        closing_ = false;
        event->ignore();
        return;
    }
    saveSettings();
    unloadFrmSplash();
    unloadFrmAbout();
    unloadFrmMoney();
    unloadOtherWindows();
    unloadFrmOutput();
    tmrCPU.stop();
    tmrFun.stop();
    tmrDrag.stop();
    closing_ = false;
    event->accept();
}
