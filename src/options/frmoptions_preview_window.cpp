// The options dialog's preview: starting and stopping the player tool, its transport
// buttons and big screen, the poll of its output, the time slider, the cut marks, the
// crop rectangle on the picture and the hover help. The rules are in
// frmoptions_preview.h; these handlers read the controls, apply them and write back.
#include "controls/stylebutton.h"
#include "core/devconsole.h"
#include "core/fileobject.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "coregui/mousecodes.h"
#include "engine/keyframeprobe.h"
#include "engine/targetkinds.h"
#include "options/frmoptions.h"
#include "options/frmoptions_preview.h"
#include "options/numberedit.h"
#include "options/optionpieces.h"
#include "player/frmplayer.h"
#include "player/slaveprotocol.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <functional>

using mdlMavrell::lng;

namespace {

// Hands the events of the preview's controls to the dialog's handlers.
class PreviewEvents : public QObject {
public:
    PreviewEvents(QObject *parent, std::function<bool(QObject *, QEvent *)> handler)
        : QObject(parent), handler_(std::move(handler))
    {
    }
    bool eventFilter(QObject *watched, QEvent *event) override { return handler_(watched, event); }

private:
    std::function<bool(QObject *, QEvent *)> handler_;
};

QString timeTenths(float seconds) { return mdlMavrell::FormatTime(seconds, 3, 1); }

const QString playTag = QStringLiteral("Play");
const QString pauseTag = QStringLiteral("Pause");
const QString nearStopTag = QStringLiteral("In Near Stop Screenshot");

} // namespace

// ---------------------------------------------------------------- wiring

void FrmOptions::connectPreview()
{
    connect(lblPlay, &StyleButton::Click, this, [this] { lblPlay_Click(); });
    connect(lblPause, &StyleButton::Click, this, [this] { lblPause_Click(); });
    connect(lblBackward, &StyleButton::Click, this, [this] { lblBackward_Click(); });
    connect(lblForward, &StyleButton::Click, this, [this] { lblForward_Click(); });
    connect(lbl2BigScreen, &StyleButton::Click, this, [this] { lbl2BigScreen_Click(); });
    connect(lblSrceenshot, &StyleButton::MouseUp, this, [this](int button, int, float, float) {
        if (button == 1)
            lblSrceenshot_MouseUp();
    });
    connect(lblCut2Pic, &StyleButton::MouseDown, this, [this](int button, int, float, float) {
        if (button == 1)
            lblCut2Pic_MouseDown();
    });
    for (int i = 0; i < 2; ++i)
        connect(lblMark[i], &StyleButton::Click, this, [this, i] { lblMark_Click(i); });
    connect(lblMarkDel, &StyleButton::Click, this, [this] { lblMarkDel_Click(); });
    connect(&tmrCheck, &QTimer::timeout, this, [this] { tmrCheck_Timer(); });
    connect(&tmrSpecCheck, &QTimer::timeout, this, [this] { tmrSpecCheck_Timer(); });
    connect(&tmrWindowFrom, &QTimer::timeout, this, [this] { tmrWindowFrom_Timer(); });

    // The rectangle and the note lie on the picture but never take its mouse.
    shpCrop->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblPlayerNote->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *events = new PreviewEvents(nullptr, [this](QObject *watched, QEvent *event) {
        const QEvent::Type t = event->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseMove || t == QEvent::MouseButtonRelease) {
            auto *m = static_cast<QMouseEvent *>(event);
            const QPointF at = m->position();
            if (watched == picPlayer) {
                if (t == QEvent::MouseButtonPress)
                    picPlayer_MouseDown(at.x(), at.y());
                else if (t == QEvent::MouseMove)
                    picPlayer_MouseMove(mousecodes::buttons(m->buttons()), at.x(), at.y());
                else
                    picPlayer_MouseUp();
                return true;
            }
            if (watched == imgSlider && t == QEvent::MouseMove) {
                imgSlider_MouseMove(mousecodes::buttons(m->buttons()), at.x());
                return true;
            }
            if (watched == imgSlider && t == QEvent::MouseButtonRelease) {
                imgSlider_MouseUp(mousecodes::button(m->button()), at.x());
                return true;
            }
            if (watched == imgSliderBG && t == QEvent::MouseButtonRelease) {
                imgSliderBG_MouseUp(mousecodes::button(m->button()), at.x());
                return true;
            }
            return false;
        }
        for (int i = 0; i < 2; ++i) {
            if (watched != txtScope[i])
                continue;
            if (t == QEvent::FocusOut) {
                // Another window taking the focus is no leaving of the box.
                const Qt::FocusReason why = static_cast<QFocusEvent *>(event)->reason();
                if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason)
                    txtScope_LostFocus(i);
            } else if (t == QEvent::KeyPress) {
                // Enter checks the range; it does not confirm the dialog.
                auto *key = static_cast<QKeyEvent *>(event);
                if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                    txtScope_LostFocus(i);
                    return true;
                }
                return numberKeyRefused(*key, [](QChar c) { return preview::rangeKeyAllowed(c.unicode()); });
            }
        }
        return false;
    });
    for (QObject *o : {static_cast<QObject *>(picPlayer), static_cast<QObject *>(imgSlider),
                       static_cast<QObject *>(imgSliderBG), static_cast<QObject *>(txtScope[0]),
                       static_cast<QObject *>(txtScope[1])})
        o->installEventFilter(events);
    previewEvents_ = events;
}

VideoSurface *FrmOptions::videoWindow()
{
    if (jobstate::previewState.playerMode > 0 && frmPlayerLoaded())
        return frmPlayer().picPlayer;
    return picPlayer;
}

bool FrmOptions::timeShown() const { return !lblCurTime->text().isEmpty() && !lblTotalTime->text().isEmpty(); }

void FrmOptions::placePlayerNote(const QString &note, bool atTop)
{
    // The whole note shows: it is broken into lines of the picture's width.
    const QFontMetrics metrics(lblPlayerNote->font());
    const int frame = lblPlayerNote->width() - lblPlayerNote->contentsRect().width();
    QString text = note;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lblPlayerNote->setText(preview::wrapNote(text, picPlayer->width() - frame - 2,
                                             [&](const QString &t) { return metrics.horizontalAdvance(t); }));
    lblPlayerNote->adjustSize();
    const int w = std::min(lblPlayerNote->width(), picPlayer->width());
    lblPlayerNote->resize(w, lblPlayerNote->height());
    const int x = (picPlayer->width() - w) / 2;
    const int y = atTop ? 0 : (picPlayer->height() - lblPlayerNote->height()) / 2;
    lblPlayerNote->move(x, y);
}

void FrmOptions::showPlayFailed()
{
    prompts::MsgBox(lng[txt::PlayingFailed], prompts::Buttons::Ok, prompts::Icon::None, QString(), this);
}

// ---------------------------------------------------------------- start and transport

void FrmOptions::newPlay(const QString &fnIn, float StartTime)
{
    if (tmrCheck.isActive())
        return;
    if (!fnIn.isEmpty())
        previewSource = fnIn;
    const QString fn = previewSource;
    setStopDosIo(false, false);
    if (fn.isEmpty())
        return;
    // The name goes into the player's start line: one that cannot stand there plays nothing.
    if (!mdlMavrell::Quotable(fn)) {
        prompts::FileMsgBox(lng[txt::InvalidFileName], fn, this);
        return;
    }
    previewBusy = true;

    placePlayerNote(lng[txt::PlayingDots], false);
    lblPlayerNote->raise();
    lblPlayerNote->show();

    // The tool writes its screenshots into its current folder: the source's.
    const QString savedDir = QDir::currentPath();
    mdlMavrell::SetCurrentDir(fn, QDir::homePath());

    const QString tool = mdlMavrell::ToolPath(1);
    jobstate::previewState.previewAddOpts.clear();
    jobstate::previewState.previewVolumeOpt.clear();
    if (!lblVolPlay->Tag().isEmpty())
        jobstate::previewState.previewVolumeOpt = QStringLiteral(" -volume ") + numbertext::number(numbertext::Val(lblVolPlay->Tag()));

    const QColor key(0x01, 0x02, 0x03);  // the colour the tool keys its picture to on X11
    if (lbl2BigScreen->ButtonState() == StyleButton::StateDown) {
        jobstate::previewState.playerMode = 1;
        FrmPlayer &big = frmPlayer();
        QPalette pal = big.picPlayer->palette();
        pal.setColor(QPalette::Window, key);
        big.picPlayer->setPalette(pal);
        big.lblFnName->setToolTip(fn);
        mdlIconVarne::DrawFileIcon(big.picAssIcon, fn, 4, 0, 16, 16);
        const QString caption = mdlMavrell::mainWindowLink() ? mdlMavrell::mainWindowLink()->settingsButtonCaption()
                                                             : QString();
        big.lblFnName->setText(QString(lng[txt::PlayingTakenOver]).replace(QLatin1String("aaa"), caption.trimmed()));
        big.lblFnName->adjustSize();
        big.picHsb2->hide();
        big.picVolPos->hide();
        big.previewTag = [this] { return picPlayerTag; };
        big.setPreviewTag = [this](const QString &tag) { picPlayerTag = tag; };
        big.show();
        QCoreApplication::processEvents();
        big.mnuOpen->setEnabled(false);
        big.mnuExplorer->setEnabled(false);
        big.mnuShowHideMain->setEnabled(false);
        const bool hasPicture = jobstate::sourceInfo.hasPicture();
        big.mnuKeepDef->setEnabled(hasPicture);
        big.mnuKeepWH->setEnabled(hasPicture);
        jobstate::previewState.playerMode = 2;
        placeBigScreen(big);
    } else {
        QPalette pal = picPlayer->palette();
        pal.setColor(QPalette::Window, key);
        picPlayer->setPalette(pal);
    }

    tmrCheckTag.clear();
    QString name = fn;
    if (!fn.contains(QLatin1Char('*'))
        && mdlMavrell::fileObject().GetExtensionName(name).toLower() == QLatin1String("gif"))
        tmrCheckTag = QStringLiteral("ani_gif");

    readForm();
    bool subFailed = false;
    const QString subtitles = opt::getSubPara(form_, subFailed, true);
    writeForm();

    // A start inside a source whose times begin at an offset (ASF): the tool's "-ss"
    // on such files lands early, so the seek is calibrated as a cut's start is.
    float seek = StartTime < 0 ? 0 : StartTime;
    if (seek > 0 && jobstate::sourceInfo.srcStartTime != 0 && mdlMavrell::ToolExists(1))
        seek /= keyframeprobe::seekScale(jobstate::sourceInfo, seek,
                                         [&fn](float t) { return keyframeprobe::getKeyFrameTime(fn, t); });

    slaveprotocol::PreviewStart start;
    start.toolPath = tool;
    start.fileName = fn;
    start.srcFps = jobstate::sourceInfo.srcFps;
    start.srcLength = jobstate::sourceInfo.srcLength;
    start.subtitlePiece = subtitles;
    start.addOpts = jobstate::previewState.previewAddOpts;
    start.volumeOpt = jobstate::previewState.previewVolumeOpt;
    start.winId = static_cast<unsigned long long>(videoWindow()->winId());
    start.startSeconds = seek;
    start.demuxer = jobstate::sourceInfo.srcDemuxer;
    bool show = false;
    const int started = mdlConsole::StartConsole(slaveprotocol::previewStartLine(start), this, show);
    QDir::setCurrent(savedDir);

    if (started != mdlConsole::startOk) {
        // Nothing runs to poll: the preview area says so at once, naming the tool.
        setStopDosIo(true, false);
        placePlayerNote(lng[txt::PlayingFailed] + QStringLiteral("\n") + tool, false);
        lblPlayerNote->raise();
        lblPlayerNote->show();
        return;
    }

    // The picture box is the tool's while it draws there: Qt paints nothing over it.
    // A source without a picture leaves it to Qt, so that no note stays behind.
    videoWindow()->setToolDraws(jobstate::sourceInfo.hasPicture());
    tmrCheck.start();
    picPlayerTag = playTag;
    adjustVideoLoc();
    lblTotalTime->setText(jobstate::sourceInfo.srcLength > 0
                              ? mdlMavrell::FormatTime(float(numbertext::roundHalfEven(jobstate::sourceInfo.srcLength)), 3, 0)
                              : lng[txt::Calculating]);
    picTime->show();
    tmrSpecCheck.start();
    previewBusy = false;
}

void FrmOptions::tmrSpecCheck_Timer()
{
    tmrSpecCheck.stop();
    mdlConsole::SetConsoleTitle(QStringLiteral("Mavrell - Player"));
}

void FrmOptions::lblPlay_Click()
{
    if (previewBusy)
        return;
    if (!tmrCheck.isActive()) {
        newPlay(previewSource, 0);
        return;
    }
    if (picPlayerTag == pauseTag) {
        mdlConsole::SendSlave(slaveprotocol::cmdPause, true);
        picPlayerTag = playTag;
    }
}

void FrmOptions::lblPause_Click()
{
    if (previewBusy)
        return;
    if (!tmrCheck.isActive()) {
        // Starts and stays on the first frame.
        newPlay(previewSource, 0);
        if (tmrCheck.isActive()) {
            mdlConsole::SendSlave(slaveprotocol::cmdFrameStep, picPlayerTag == pauseTag);
            picPlayerTag = pauseTag;
        }
    } else if (picPlayerTag == playTag) {
        mdlConsole::SendSlave(slaveprotocol::cmdPause, false);
        picPlayerTag = pauseTag;
    } else {
        // Pause while paused steps one frame.
        mdlConsole::SendSlave(slaveprotocol::cmdFrameStep, true);
    }
}

void FrmOptions::lblBackward_Click()
{
    if (!previewBusy)
        seekPlay(-10, 0, true, true);
}

void FrmOptions::lblForward_Click()
{
    if (!previewBusy)
        seekPlay(10, 0, true, true);
}

void FrmOptions::lbl2BigScreen_Click()
{
    if (previewBusy)
        return;
    float restart = jobstate::previewState.previewPos - 2;
    if (restart < 0)
        restart = 0;
    // The knob stays where it is while the preview starts again.
    imgSlider->setProperty("Tag", QStringLiteral("3"));
    tmrCheck.stop();
    newPlay(previewSource, restart);
}

void FrmOptions::lblSrceenshot_MouseUp()
{
    if (previewBusy || isAudioOnlySource(jobstate::sourceInfo))
        return;
    if (!lblCurTime->text().isEmpty()) {
        if (lblCut2Pic->ButtonState() != StyleButton::StateDown)
            mdlConsole::SendSlave(slaveprotocol::screenshot(false), picPlayerTag == pauseTag);
    } else if (!tmrCheck.isActive()) {
        prompts::MsgBox(lng[txt::PlayMediaFirst], prompts::Buttons::Ok, prompts::Icon::None, QString(), this);
    }
}

void FrmOptions::lblCut2Pic_MouseDown()
{
    if (previewBusy || isAudioOnlySource(jobstate::sourceInfo))
        return;
    if (lblCut2Pic->ButtonState() == StyleButton::StateDown) {
        if (!tmrCheck.isActive()) {
            lblCut2Pic->setButtonState(StyleButton::StateUp);
            QCoreApplication::processEvents();
            prompts::MsgBox(lng[txt::PlayMediaFirst], prompts::Buttons::Ok, prompts::Icon::None, QString(), this);
            return;
        }
        if (picPlayerTag == pauseTag) {
            mdlConsole::SendSlave(slaveprotocol::cmdPause, true);
            picPlayerTag = playTag;
        }
        if (!lblCurTime->text().isEmpty())
            mdlConsole::SendSlave(slaveprotocol::screenshot(true), picPlayerTag == pauseTag);
        return;
    }
    // Switched off: without a running preview there is nothing to switch off.
    if (!tmrCheck.isActive())
        return;
    lblCut2Pic->setTag(nearStopTag);
    mdlConsole::SendSlave(slaveprotocol::screenshot(true), picPlayerTag == pauseTag);
    if (picPlayerTag == playTag) {
        mdlConsole::SendSlave(slaveprotocol::cmdPause, false);
        picPlayerTag = pauseTag;
    }
}

// ---------------------------------------------------------------- the poll

void FrmOptions::tmrCheck_Timer()
{
    using namespace mdlMavrell;
    QString s;
    mdlConsole::ReadConsole(s);
    const preview::PollRead r = preview::readPoll(s, tmrCheckTag == QLatin1String("ani_gif"), jobstate::sourceInfo.srcStartTime,
                                                  jobstate::sourceInfo.srcLength, jobstate::sourceInfo.gifFrames);
    if (r.hasPosition) {
        jobstate::previewState.previewPos = r.position;
        lblCurTime->setText(FormatTime(jobstate::previewState.previewPos, 3, 0));
    }

    const bool held = noteHeld_;
    noteHeld_ = false;
    if (r.indexPercent > 0) {
        lblCurTime->clear();
        placePlayerNote(lng[txt::RebuildingIndex] + numbertext::integer(r.indexPercent) + QStringLiteral(" %"), false);
        lblPlayerNote->raise();
        lblPlayerNote->show();
    } else if (lblCut2Pic->ButtonState() != StyleButton::StateDown && !lblCurTime->text().isEmpty() && !held) {
        lblPlayerNote->hide();
    }

    if (!r.screenshot.isEmpty()) {
        const bool continuous = lblCut2Pic->ButtonState() == StyleButton::StateDown || !lblCut2Pic->Tag().isEmpty();
        placePlayerNote((continuous ? lng[txt::SavingEveryPicture] : lng[txt::SavingSingleScreenshot]) + r.screenshot, true);
        lblPlayerNote->show();
        if (continuous) {
            lblCut2Pic->setTag(QString());
        } else {
            // A single picture's note stays for the next poll too, so it can be read.
            noteHeld_ = true;
        }
    } else if (!lblCut2Pic->Tag().isEmpty()) {
        // The tool reports no picture after continuous pictures were switched off: a
        // poll without a report ends the wait, or a later single picture would be
        // announced as a continuous one.
        lblCut2Pic->setTag(QString());
    }

    switch (preview::endAction(r, jobstate::sourceInfo.srcLength, jobstate::previewState.previewPos, previewSource)) {
    case preview::EndAction::Failed:
        setStopDosIo(true, false);
        showPlayFailed();
        break;
    case preview::EndAction::Stop:
        // A range left open ends where the play ended.
        if (!lblMark[0]->Tag().isEmpty() && lblMark[1]->Tag().isEmpty())
            lblMark_Click(1);
        setStopDosIo(true, false);
        break;
    case preview::EndAction::None: break;
    }

    if (showDosOutput) {
        devconsole::Sink &sink = devconsole::current();
        if (s.contains(QLatin1Char('_')) || s.contains(QLatin1Char('*'))) {
            QString spec;
            for (const QString &part : s.split(QLatin1Char('\r')))
                if (part.contains(QLatin1Char('_')) || part.contains(QLatin1Char('*')))
                    spec += part + QStringLiteral("\r\n");
            sink.setCommand(spec);
        }
        if (s.isEmpty()) {
            ++emptyReads_;
            sink.setOutput(QStringLiteral("無內容 (") + numbertext::integer(emptyReads_) + QLatin1Char(')'));
        } else {
            emptyReads_ = 0;
            sink.setOutput(s);
        }
    }

    if (jobstate::previewState.secPerSliderUnit > 0) {
        const bool holding = (QApplication::mouseButtons() & Qt::LeftButton)
                             && QApplication::widgetAt(QCursor::pos()) == imgSlider;
        if (!holding) {
            const int frozen = int(numbertext::Val(imgSlider->property("Tag").toString()));
            if (frozen == 0 && jobstate::previewState.previewPos > 0) {
                imgSlider->move(preview::knobLeftFor(jobstate::previewState.previewPos, jobstate::previewState.secPerSliderUnit, imgSliderBG->x(), imgSlider->width()),
                                imgSlider->y());
            } else {
                const int left = frozen - 1;
                imgSlider->setProperty("Tag", left <= 0 ? QString() : numbertext::integer(left));
            }
        }
    }

    // An open range runs from the start mark to the position. A position behind the
    // mark (a restart from 0, a seek back) is no range drawn backwards: the mark stays
    // and the bar shows just the mark until the play passes it.
    if (!lblMark[0]->Tag().isEmpty() && lblMark[1]->Tag().isEmpty()) {
        const float start = preview::markSeconds(lblMark[0]->Tag());
        setMarkLoc(start, std::max(start, jobstate::previewState.previewPos));
    }
}

// ---------------------------------------------------------------- slider and seeking

void FrmOptions::seekPlay(float seekValue, int seekType, bool inSeconds, bool allowSeek)
{
    using namespace mdlMavrell;
    if (!tmrCheck.isActive())
        lblPlay_Click();
    if (!tmrCheck.isActive() || jobstate::sourceInfo.srcLength == 0) {
        imgSlider->move(preview::knobRestLeft(imgSliderBG->x(), imgSlider->width()), imgSlider->y());
        return;
    }
    if (jobstate::sourceInfo.srcLength < 0 || !allowSeek)
        return;
    const QString command = preview::seekCommand(seekValue, seekType, inSeconds, jobstate::previewState.secPerSliderUnit, jobstate::sourceInfo.srcLength);
    const bool paused = picPlayerTag == pauseTag;
    mdlConsole::SendSlave(command, paused);
    if (paused) {
        // The paused picture shows the new place.
        mdlConsole::SendSlave(slaveprotocol::cmdFrameStep, true);
        QCoreApplication::processEvents();
        mdlConsole::SendSlave(slaveprotocol::cmdFrameStep, true);
    }
    tmrCheck_Timer();
}

void FrmOptions::imgSlider_MouseMove(int button, double x)
{
    if (button != 1 || previewBusy)
        return;
    const int left = int(numbertext::roundHalfEven(imgSlider->x() + x - imgSlider->width() / 2.0));
    if (preview::knobMoveAllowed(left, imgSliderBG->x(), imgSliderBG->width(), imgSlider->width()))
        imgSlider->move(left, imgSlider->y());
}

void FrmOptions::imgSlider_MouseUp(int button, double x)
{
    if (button != 1 || previewBusy)
        return;
    const int left = int(numbertext::roundHalfEven(imgSlider->x() + x - imgSlider->width() / 2.0));
    if (!preview::knobMoveAllowed(left, imgSliderBG->x(), imgSliderBG->width(), imgSlider->width()))
        return;
    imgSlider->setProperty("Tag", QStringLiteral("3"));
    seekPlay(float(left + imgSlider->width() / 2.0 - imgSliderBG->x()), 2, false, true);
}

void FrmOptions::imgSliderBG_MouseUp(int button, double x)
{
    if (button != 1 || previewBusy)
        return;
    imgSlider->setProperty("Tag", QStringLiteral("0"));
    seekPlay(float(x), 2, false, true);
}

// ---------------------------------------------------------------- cut marks

void FrmOptions::lblMark_Click(int Index)
{
    if (previewBusy || engine::isJobImpossible(jobstate::sourceInfo, jobstate::jobSettings) || !lblScopeStr->isEnabled())
        return;
    if (!timeShown() || !txtScope[0]->isEnabled())
        return;
    setMarkTime(Index, jobstate::previewState.previewPos, false);
}

void FrmOptions::setMarkTime(int markIndex, float markSeconds, bool clearWhenWhole)
{
    preview::Marks m{lblMark[0]->Tag(), lblMark[1]->Tag()};
    if (!preview::setMarkTime(m, markIndex, markSeconds, clearWhenWhole, jobstate::sourceInfo.srcLength)) {
        lblMarkDel_Click();
        return;
    }
    lblMark[0]->setTag(m.start);
    lblMark[1]->setTag(m.end);
    SetScopeNote();
    if (markIndex == 1)
        setMarkLoc(preview::markSeconds(m.start), preview::markSeconds(m.end));
}

void FrmOptions::setMarkLoc(float rangeStart, float rangeEnd)
{
    const preview::ScopeBar bar =
        preview::scopeBar(rangeStart, rangeEnd, jobstate::previewState.secPerSliderUnit, imgSliderBG->x());
    if (bar.kind == preview::ScopeBar::Clear) {
        lblMarkDel_Click();
    } else if (bar.kind == preview::ScopeBar::Show) {
        shpScope->setGeometry(bar.left, shpScope->y(), bar.width, shpScope->height());
        shpScope->show();
    }
}

void FrmOptions::lblMarkDel_Click()
{
    if (previewBusy)
        return;
    lblMark[0]->setTag(QString());
    lblMark[1]->setTag(QString());
    shpScope->hide();
    SetScopeNote();
    txtScope[1]->setText(timeTenths(jobstate::sourceInfo.srcLength));
}

void FrmOptions::txtScope_LostFocus(int Index)
{
    // Before a message: a playing preview is paused so the user sees where it is.
    auto pauseForMessage = [this] {
        if (!lblCurTime->text().isEmpty() && picPlayerTag == playTag) {
            lblPause_Click();
            QCoreApplication::processEvents();
        }
    };
    if (!preview::isRangeTime(txtScope[Index]->text())) {
        pauseForMessage();
        prompts::MsgBox(preview::rangeTimeFormMessage(lng[txt::TimeFormWrong]), prompts::Buttons::Ok, prompts::Icon::None,
                        QString(), this);
        // The boxes show the stored marks again; the marks themselves stay.
        SetScopeNote();
        return;
    }
    if (!preview::isRangeTime(txtScope[1 - Index]->text()))
        return;
    const float start = mdlMavrell::ParseTime(txtScope[0]->text());
    const float end = mdlMavrell::ParseTime(txtScope[1]->text());
    // The whole length as the box shows it (tenths) is no range either.
    const float whole = mdlMavrell::ParseTime(timeTenths(jobstate::sourceInfo.srcLength));
    if (start == 0 && (end == jobstate::sourceInfo.srcLength || end == whole) && shpScope->isHidden())
        return;
    if (end > start) {
        lblMark[0]->setTag(preview::markTag(start));
        setMarkTime(1, end, true);
        return;
    }
    pauseForMessage();
    prompts::MsgBox(lng[txt::MarkEndBeforeStart], prompts::Buttons::Ok, prompts::Icon::None, QString(), this);
    SetScopeNote();
}

// ---------------------------------------------------------------- crop rectangle

void FrmOptions::picPlayer_MouseDown(double x, double y)
{
    if (previewBusy || !lblCropStr->isEnabled())
        return;
    preview::cropPress(crop_, x, y);
    shpCrop->setGeometry(crop_.rect);
    shpCrop->raise();
    shpCrop->show();
}

void FrmOptions::picPlayer_MouseMove(int button, double x, double y)
{
    if (previewBusy || !lblCropStr->isEnabled() || !crop_.dragging)
        return;
    preview::cropMove(crop_, button == 1, x, y, picPlayer->width(), picPlayer->height());
    shpCrop->setGeometry(crop_.rect);
}

void FrmOptions::picPlayer_MouseUp()
{
    if (previewBusy || !lblCropStr->isEnabled() || !crop_.dragging)
        return;
    preview::cropRelease(crop_, picPlayer->width(), picPlayer->height());
    shpCrop->setVisible(crop_.visible);
}

// ---------------------------------------------------------------- hover help

void FrmOptions::tmrWindowFrom_Timer()
{
    if (!isVisible()) {
        tmrWindowFrom.stop();
        return;
    }
    hoverOver(QApplication::widgetAt(QCursor::pos()));
}

void FrmOptions::hoverOver(QWidget *under)
{
    if (under == lastHoverWindow_.data())
        return;
    // The control that owns the widget under the pointer: the nearest one with a row.
    QString control;
    for (QWidget *w = under; w && w != this; w = w->parentWidget())
        if (preview::hasHoverRow(w->objectName())) {
            control = w->objectName();
            break;
        }
    bool inside = false;
    for (QWidget *w = under; w; w = w->parentWidget())
        inside = inside || w == this;
    if (!inside)
        control.clear();

    preview::HoverState st;
    st.audioOnlySource = isAudioOnlySource(jobstate::sourceInfo);
    st.jobImpossible = engine::isJobImpossible(jobstate::sourceInfo, jobstate::jobSettings);
    st.scopeEnabled = txtScope[0]->isEnabled();
    st.timesShown = timeShown();
    st.volumeButtonsShown = !lblVol[0]->isHidden();
    const QLabel *values[5] = {lblVolume, lblBrightness, lblContrast, lblHue, lblSaturation};
    for (int i = 0; i < 5; ++i)
        st.adjusterEnabled[i] = values[i]->isEnabled();
    const engine::TargetKind *kind = engine::targetKindOf(jobstate::jobSettings);
    st.subtitleOnlyHint = kind && !kind->subtitles && picTabMask[4]->isHidden();

    const preview::HoverHelp help = preview::hoverHelp(control, lastHoverControl_, st);
    if (help.change)
        showNote(help.text);
    lastHoverWindow_ = under;
    lastHoverControl_ = control;
}
