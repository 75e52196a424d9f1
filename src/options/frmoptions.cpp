// The options dialog: its one instance, its start-up and shutdown, the public routines
// the other windows call and the handlers of its controls. The rules themselves live
// in the option logic (optionlists.h, optionpages.h, optionchecks.h, optionpieces.h,
// optionsummary.h); the handlers copy the controls into data, call it, copy it back.
#include "options/frmoptions.h"

#include "controls/orvextab.h"
#include "controls/stylebutton.h"
#include "core/commdialog.h"
#include "core/fileobject.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/systeminfo.h"
#include "core/userprompts.h"
#include "coregui/desktop.h"
#include "coregui/jobstate.h"
#include "engine/optionpresets.h"
#include "options/numberedit.h"
#include "options/optionchecks.h"
#include "options/optionlists.h"
#include "options/optionpages.h"
#include "options/optionpieces.h"
#include "player/frmplayer.h"
#include "player/playerlayout.h"
#include "player/slaveprotocol.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <memory>

using mdlMavrell::lng;

namespace {

std::unique_ptr<FrmOptions> &instance()
{
    static std::unique_ptr<FrmOptions> dialog;
    return dialog;
}

// Lets the window show the page and focus the field a message is about before the
// message box appears, whoever shows it.
class BeforeMessage : public prompts::UserPrompts {
public:
    BeforeMessage(prompts::UserPrompts &inner, std::function<void()> hook) : inner_(inner), hook_(std::move(hook)) {}
    prompts::Answer message(const prompts::MessageRequest &request) override
    {
        hook_();
        return inner_.message(request);
    }
    prompts::FileAnswer file(const prompts::FileRequest &request) override { return inner_.file(request); }
    int modalWindow(QDialog &window) override { return inner_.modalWindow(window); }

private:
    prompts::UserPrompts &inner_;
    std::function<void()> hook_;
};

// Installs a BeforeMessage for the lifetime of this object.
class MessageHook {
public:
    explicit MessageHook(std::function<void()> hook)
        : previous_(prompts::current()), wrapper_(previous_, std::move(hook))
    {
        prompts::install(&wrapper_);
    }
    ~MessageHook() { prompts::install(&previous_); }

private:
    prompts::UserPrompts &previous_;
    BeforeMessage wrapper_;
};

} // namespace

FrmOptions &frmOptions()
{
    auto &dialog = instance();
    if (!dialog) {
        dialog = std::make_unique<FrmOptions>();
        // A dialog nobody unloaded goes before the application object does.
        static const bool once = (qAddPostRoutine(unloadFrmOptions), true);
        Q_UNUSED(once);
    }
    return *dialog;
}

bool frmOptionsLoaded() { return instance() != nullptr; }

void unloadFrmOptions() { instance().reset(); }

FrmOptions::FrmOptions() : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint)
{
    // A dialog of the main window (made its transient when shown): a window manager keeps
    // it above the main window, which waits for it, and sends a click on that window here.
    setWindowModality(Qt::WindowModal);
    // The preview's own windows (the video surface and what lies over it) must not
    // turn the dialog's other controls into windows too.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    buildControls();
    Form_Load();
    connectHandlers();
}

FrmOptions::~FrmOptions()
{
    delete previewEvents_;
    previewEvents_ = nullptr;
    // A borrowed player window no longer asks this dialog for its pause state.
    if (frmPlayerLoaded()) {
        frmPlayer().previewTag = nullptr;
        frmPlayer().setPreviewTag = nullptr;
    }
    // Form_Unload: the preview's player ends with the dialog.
    tmrCheck.stop();
    tmrWindowFrom.stop();
    mdlConsole::StopConsole();
}

void FrmOptions::Form_Load()
{
    // The window has no caption bar; the title names it for the task list.
    setWindowTitle(QStringLiteral("Mavrell - Options"));
    paintSkins();

    // Masks over pages that do not apply: black, white text, 2 pixels inside the page, hidden.
    for (int i = 0; i < 5; ++i) {
        const QFrame *page = picOrvexTab[i];
        picTabMask[i]->setGeometry(2, 2, page->width() - 4, page->height() - 4);
        QPalette pal = picTabMask[i]->palette();
        pal.setColor(QPalette::Window, Qt::black);
        picTabMask[i]->setPalette(pal);
        lblTabMaskMsg[i]->setStyleSheet(QStringLiteral("color: #FFFFFF;"));
        lblTabMaskMsg[i]->setGeometry(8, 8, picTabMask[i]->width() - 16, picTabMask[i]->height() - 16);
        picTabMask[i]->hide();
    }

    if (MainWindowLink *link = mdlMavrell::mainWindowLink())
        if (QWidget *main = link->mainWidget())
            main->show();

    readForm();
    opt::fillDesignLists(form_);
    writeForm();
    fillSubFontList();
    edit([](opt::OptionsForm &f) { f.cboRotate.select(0); });
    setStopDosIo(true, false);

    // The colour key the preview's player is given, as the player reads it on X11.
    QPalette key = picPlayer->palette();
    key.setColor(QPalette::Window, QColor::fromRgb(slaveprotocol::colorKeyRgb));
    picPlayer->setPalette(key);
    shpScope->hide();
    lneCrSpec->move(picCrSpec->width() / 2, 0);
    layoutPages();
}

// ---------------------------------------------------------------- public routines

void FrmOptions::ChangeLanguage()
{
    edit([](opt::OptionsForm &f) { opt::ChangeLanguage(f); });
    applyLanguageFonts();
    layoutPages();
}

void FrmOptions::applyLanguageFonts()
{
    // The language's own CJK face in Chinese, Arial in English; the tab captions are
    // Chinese in every language.
    const QString code = languageCode();
    const QStringList families = mdlMavrell::windowFamilies(QStringLiteral("Arial"), code);
    auto refont = [&families](QWidget *w) {
        QFont f = w->font();
        f.setFamilies(families);
        w->setFont(f);
    };
    refont(this);
    for (QWidget *w : findChildren<QWidget *>())
        refont(w);
    const QString captionScript = code == QLatin1String("gb") ? code : QStringLiteral("tw");
    QFont caption = tabMn->TabCapFont();
    caption.setFamilies(mdlMavrell::windowFamilies(QStringLiteral("Arial"), captionScript));
    tabMn->setTabCapFont(caption);
}

void FrmOptions::applyLanguage()
{
    ChangeLanguage();
    edit([](opt::OptionsForm &f) { opt::rebuildTargetLists(f); });
    setLblColorAndVolPara(0, true);
    if (jobstate::sourceInfo.srcLength > 0)
        SetMainEncodeNote(-1, -1);
}

void FrmOptions::setCboFpsItem(bool isMPG)
{
    edit([&](opt::OptionsForm &f) { opt::setCboFpsItem(f.cboFps, isMPG); });
}

void FrmOptions::setCboFpsItemIsWmv(bool)
{
    edit([](opt::OptionsForm &f) { opt::setCboFpsItemIsWmv(f.cboFps, jobstate::sourceInfo.srcFps); });
}

void FrmOptions::setCboVideoBitrateItem(bool isMPEG1)
{
    edit([&](opt::OptionsForm &f) { opt::setCboVideoBitrateItem(f.cboVideoBitrate, isMPEG1); });
}

void FrmOptions::setCboRotateItem(bool isVCDDVD)
{
    edit([&](opt::OptionsForm &f) { opt::setCboRotateItem(f.cboRotate, isVCDDVD); });
}

void FrmOptions::setFormatCaption(const QString &value)
{
    lblFormatStr->setText(lng[txt::TargetFormatIs] + value);
}

void FrmOptions::applyPreset(const engine::OptionPreset &p)
{
    setFormatCaption(p.formatText);
    edit([&](opt::OptionsForm &f) {
        auto put = [](opt::Combo &c, const engine::ComboPreset &cp) {
            c.items = cp.items;
            c.enabled = cp.enabled;
            if (cp.index >= 0 && cp.index < c.count()) {
                c.select(cp.index);
            } else {
                c.listIndex = -1;
                c.text = cp.text;
            }
        };
        put(f.cboFps, p.fps);
        put(f.cboVideoBitrate, p.videoBitrate);
        put(f.cboAudioBitrate, p.audioBitrate);
        put(f.cboAudioSample, p.audioSample);
        put(f.cboRotate, p.rotate);
        f.lblFpsStr.enabled = p.fps.enabled;
        f.lblVideoBitrateStr.enabled = p.videoBitrate.enabled;
        f.lblAudioBitrateStr.enabled = p.audioBitrate.enabled;
        f.lblAudioSampleStr.enabled = p.audioSample.enabled;
        f.lblRotateStr.enabled = f.lblRotateStr2.enabled = p.rotate.enabled;

        f.lblScopeStr.enabled = f.lblScopeStr2.enabled = p.scopeEnabled;
        f.txtScope[0].enabled = f.txtScope[1].enabled = p.scopeEnabled;

        f.optAudio[0].enabled = p.audioOnEnabled;
        f.optAudio[1].enabled = p.audioOffEnabled;
        // A job without the choice keeps its sound.
        if (!p.audioOffEnabled) {
            f.optAudio[0].value = true;
            f.optAudio[1].value = false;
        }
        f.lblAudioDelayStr.enabled = f.txtAudioDelay.enabled = f.chkAudioVolnorm.enabled = p.delayNormEnabled;

        f.cboSize.enabled = p.sizeListEnabled;
        f.cboSize.select(p.sizeIndex);
        f.lblSizeStr.enabled = f.lblSizeStr2.enabled = p.sizeEnabled;
        f.txtSize[0].text = numbertext::integer(p.sizeWidth);
        f.txtSize[1].text = numbertext::integer(p.sizeHeight);
        f.optScaleCrop[0].value = !p.cropFirst;
        f.optScaleCrop[1].value = p.cropFirst;
        f.optScaleCrop[0].enabled = f.optScaleCrop[1].enabled = p.scaleCropEnabled;
        f.lblExpandStr.enabled = p.bordersEnabled;
        for (int i = 0; i < 4; ++i)
            f.lblExpand2Str[i].enabled = f.txtExpand[i].enabled = p.bordersEnabled;
        f.lblCropStr.enabled = p.pictureEnabled;
        for (opt::Adjuster a : {opt::Adjuster::Brightness, opt::Adjuster::Contrast, opt::Adjuster::Hue,
                                opt::Adjuster::Saturation})
            opt::valueLabel(f, a).enabled = p.pictureEnabled;
        f.lblVolume.enabled = p.volumeEnabled;
        f.tabNow = p.firstPage;

        opt::SetSizeSetting(f);
        // Sizes the preset fixes (VCD, DVD, or none for sound jobs) stay as given.
        if (!p.sizeEnabled) {
            f.txtSize[0].enabled = f.txtSize[1].enabled = false;
            f.txtSize[0].text = numbertext::integer(p.sizeWidth);
            f.txtSize[1].text = numbertext::integer(p.sizeHeight);
        }
        opt::SetSubSetting(f, true);
        opt::SetAudioSetting(f, true);
        opt::setAduioPara(f);
    });
    picCrSpec->setVisible(p.pictureEnabled);
    imgCrSpecGray->setVisible(!p.pictureEnabled);
    if (!picTabMask[4]->isHidden())
        picTabMask[4]->raise();
}

void FrmOptions::SetSizeSetting()
{
    edit([](opt::OptionsForm &f) { opt::SetSizeSetting(f); });
}

void FrmOptions::SetAudioSetting(bool isToDefault)
{
    edit([&](opt::OptionsForm &f) { opt::SetAudioSetting(f, isToDefault); });
}

void FrmOptions::SetSubSetting(bool isToDefault)
{
    edit([&](opt::OptionsForm &f) { opt::SetSubSetting(f, isToDefault); });
    // The mask of a page that does not apply stays over the controls just enabled.
    if (!picTabMask[4]->isHidden())
        picTabMask[4]->raise();
}

void FrmOptions::setAduioPara()
{
    readForm();
    opt::setAduioPara(form_);
}

void FrmOptions::setLblColorAndVolPara(int Mode, bool all)
{
    edit([&](opt::OptionsForm &f) { opt::setLblColorAndVolPara(f, Mode, all); });
}

void FrmOptions::SetMainEncodeNote(int wdt, int hgt)
{
    readForm();
    MainWindowLink *link = mdlMavrell::mainWindowLink();
    const QString optCaption = link ? link->settingsButtonCaption() : QString();
    const QString encodeCaption = link ? link->encodeButtonCaption() : QString();
    const opt::EncodeNote note = opt::SetMainEncodeNote(form_, noteSize_, wdt, hgt, optCaption, encodeCaption);
    if (link) {
        link->setEncodeNote(note.text);
        link->placeEncodeNote(note.conversionLayout);
    }
}

void FrmOptions::SetScopeNote()
{
    edit([](opt::OptionsForm &f) { f.lblScopeNote.caption = opt::SetScopeNote(f); });
}

void FrmOptions::adjustVideoLoc()
{
    const int cw = picPlayerContainer->width();
    const int ch = picPlayerContainer->height();
    QRect r(0, 0, cw, ch);
    if (jobstate::sourceInfo.srcHeight != 0 && ch != 0) {
        const double ratio = double(jobstate::sourceInfo.srcWidth) / double(jobstate::sourceInfo.srcHeight);
        const double box = double(cw) / double(ch);
        if (box > ratio) {
            const int w = int(ch * ratio + 0.5);
            r = QRect((cw - w) / 2, 0, w, ch);
        } else if (box < ratio && ratio > 0) {
            const int h = int(cw / ratio + 0.5);
            r = QRect(0, (ch - h) / 2, cw, h);
        }
    }
    picPlayer->setGeometry(r);
}

void FrmOptions::setStopDosIo(bool sliderTo0, bool noNeedUnloadFrmplayer)
{
    tmrCheck.stop();
    mdlConsole::StopConsole();
    // Without the tool, the box shows the colour key again.
    picPlayer->setToolDraws(false);
    picPlayerTag = QStringLiteral("Pause");
    if (sliderTo0 || imgSlider->property("Tag").toString().toDouble() == 0)
        imgSlider->move(imgSliderBG->x() - imgSlider->width() / 2, imgSlider->y());
    picTime->hide();
    lblCurTime->clear();
    jobstate::previewState.previewPos = 0;
    lblTotalTime->clear();
    // Continuous screenshots unlatched.
    lblCut2Pic->setButtonState(StyleButton::StateUp);
    lblPlayerNote->hide();
    previewBusy = false;
    // The player window, borrowed as a big screen or open on its own, closes too.
    if (!noNeedUnloadFrmplayer && frmPlayerLoaded()) {
        unloadFrmPlayer();
        QCoreApplication::processEvents();
    }
}

void FrmOptions::takeSnapshot()
{
    edit([](opt::OptionsForm &f) { opt::takeSnapshot(f); });
}

void FrmOptions::showForSettings(const QString &sourcePath)
{
    takeSnapshot();
    QWidget *main = mdlMavrell::mainWindowLink() ? mdlMavrell::mainWindowLink()->mainWidget() : nullptr;
    if (!shownBefore_) {
        // Centred over the main window the first time; afterwards where the user left it.
        const QRect over = main ? main->frameGeometry()
                                : (screen() ? screen()->availableGeometry() : QRect(0, 0, width(), height()));
        move(over.center() - QPoint(width() / 2, height() / 2));
        shownBefore_ = true;
    }
    // Opened wholly on the screen's work area (its top-left corner first on a screen too small),
    // the preview made lower where the work area is lower than the dialog.
    QScreen *on = QGuiApplication::screenAt(frameGeometry().center());
    if (!on)
        on = main ? main->screen() : screen();
    if (on) {
        fitToScreen(on->availableGeometry().adjusted(0, 0, 0, -(frameGeometry().height() - height())));
        move(playerlayout::keepOnScreen(pos(), frameGeometry().size(), on->availableGeometry()));
    }
    // Owned by the main window: it stays above it and goes with it, and the main window
    // waits for it. A click on the main window meanwhile brings the keyboard here.
    if (main && main->window()->windowHandle()) {
        winId();
        if (windowHandle())
            windowHandle()->setTransientParent(main->window()->windowHandle());
    }
    if (main) {
        owner_ = main->window();
        owner_->installEventFilter(this);
    }
    show();
    raise();
    activateWindow();
    if (main)
        main->setEnabled(false);
    newPlay(sourcePath, 0);
    tmrWindowFrom.start();
}

void FrmOptions::cmdOkCancel_Click(int Index)
{
    setFocusToDummy();
    setStopDosIo(true, false);
    showNote(QString());
    readForm();
    if (Index == 1) {
        opt::cancelClicked(form_);
        writeForm();
    } else {
        opt::OkOutcome outcome;
        {
            // A rejected field: its page and focus are shown before its message.
            MessageHook hook([this] {
                writeForm();
                requestFocus(form_.focusRequest);
            });
            outcome = opt::okClicked(form_);
        }
        writeForm();
        if (!outcome.accepted) {
            requestFocus(form_.focusRequest);
            return;
        }
        if (outcome.marksCleared)
            showAppliedMarks(true);
        SetMainEncodeNote(outcome.summaryWidth, outcome.summaryHeight);
    }

    // Common end of OK and Cancel.
    tmrWindowFrom.stop();
    hide();
    readForm();
    const opt::AppliedMarks marks = opt::SetAppliedValue(form_);
    writeForm();
    showAppliedMarks(marks.clearMarks);
    if (MainWindowLink *link = mdlMavrell::mainWindowLink())
        if (QWidget *main = link->mainWidget())
            main->setEnabled(true);
}

void FrmOptions::showNote(const QString &text)
{
    lblNote->setText(text);
    lblNote->setVisible(!text.isEmpty());
    // As many lines as the text needs at the label's width.
    lblNote->resize(lblNote->width(), std::max(16, lblNote->heightForWidth(lblNote->width())));
    // Centred between the tab strip and the bottom edge, 4 pixels higher.
    lblNote->move(lblNote->x(), (tabMn->y() + tabMn->height() + lblPos->y() - lblNote->height()) / 2 - 4);
}

void FrmOptions::developerSwitch()
{
    if (!mdlMavrell::iconFileExists())
        return;
    const prompts::Answer a = prompts::MsgBox(QStringLiteral("是否開啟 Dos 輸出視窗？"), prompts::Buttons::YesNo,
                                              prompts::Icon::Question, QString(), this);
    mdlMavrell::showDosOutput = a == prompts::Answer::Yes;
    if (MainWindowLink *link = mdlMavrell::mainWindowLink())
        link->setConsoleWindowVisible(mdlMavrell::showDosOutput);
}

// ---------------------------------------------------------------- handlers

void FrmOptions::setFocusToDummy()
{
    cmdFocus->setFocus(Qt::OtherFocusReason);
}

void FrmOptions::requestFocus(const QString &controlName)
{
    if (controlName.isEmpty())
        return;
    if (auto *w = findChild<QWidget *>(controlName); w && w->isEnabled()) {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
}

void FrmOptions::showAppliedMarks(bool clearMarks)
{
    // The marks themselves belong to the preview; here only their traces are reset.
    if (clearMarks) {
        lblMark[0]->setTag(QString());
        lblMark[1]->setTag(QString());
        shpScope->hide();
    }
    SetScopeNote();
}

QString FrmOptions::languageCode() const
{
    MainWindowLink *link = mdlMavrell::mainWindowLink();
    const QString code = link ? link->languageCode() : QString();
    return code.isEmpty() ? QStringLiteral("en") : code;
}

void FrmOptions::fillSubFontList()
{
    const QList<mdlGetFontsFile::FontItem> fonts = mdlGetFontsFile::InstalledFonts();
    const QString language = languageCode();
    edit([&](opt::OptionsForm &f) { opt::fillSubFontList(f, fonts, language); });
}

void FrmOptions::adjusterClick(opt::Adjuster a, int index)
{
    edit([&](opt::OptionsForm &f) { opt::adjusterClick(f, a, index); });
}

void FrmOptions::lblVol_Click(int index)
{
    if (previewBusy)
        return;
    readForm();
    const QString command = opt::playbackVolumeClick(form_, index);
    writeForm();
    mdlConsole::SendSlave(command, picPlayerTag == QLatin1String("Pause"));
}

void FrmOptions::lblVolPlay_Click()
{
    if (previewBusy)
        return;
    readForm();
    const int entry = opt::lblVolPlayClick(form_);
    writeForm();
    showNote(lng[entry]);
}

void FrmOptions::mbSubFIle_Click()
{
    if (!txtSubFile->isEnabled())
        return;
    CommDialog &dlg = mdlMavrell::commDialog();
    dlg.hwndOwner = this;
    dlg.DialogTitle.clear();
    dlg.setFilter(QStringLiteral("Sub Files (*.srt;*.sub;*.mkv;*.smi;*.utf;*.ass;*.ssa)|*.srt;*.sub;*.mkv;*.smi;*.utf;"
                                 "*.ass;*.ssa|All Files (*.*)|*.*"));
    dlg.setFilterIndex(1);
    dlg.FileName.clear();
    const QString chosen = dlg.ShowOpen(true, false);
    if (!chosen.isEmpty())
        txtSubFile->setText(chosen);
}

void FrmOptions::cmdSubPlay_Click()
{
    setFocusToDummy();
    setStopDosIo(true, false);
    if (optSub[1]->isChecked() && optSub[1]->isEnabled()) {
        txtSubFile->setText(mdlMavrell::PathAsTyped(txtSubFile->text()));
        QString path = txtSubFile->text();
        if (!mdlMavrell::fileObject().FileExists(path)) {
            if (path.isEmpty())
                prompts::MsgBox(lng[txt::EnterSubtitleFile]);
            else
                prompts::FileMsgBox(lng[txt::SubtitleFileMissing], path, this);
        }
    }
    // The preview then starts again with the subtitles it can find.
    newPlay(QString(), 0);
}

void FrmOptions::cmdDonation_Click()
{
    setFocusToDummy();
    setStopDosIo(true, false);
    if (MainWindowLink *link = mdlMavrell::mainWindowLink())
        link->showDonation(this);
}

void FrmOptions::txtSizeLostFocus(int index)
{
    edit([&](opt::OptionsForm &f) { opt::txtSizeLostFocus(f, index); });
}

void FrmOptions::Form_MouseMove(Qt::MouseButtons buttons, const QPoint &globalPos, const QWidget *from)
{
    // The left button alone drags the caption-less window.
    if (buttons != Qt::LeftButton) {
        drag_.end();
        return;
    }
    drag_.follow(this, globalPos, from);
}

void FrmOptions::connectHandlers()
{
    auto focusOnly = [this](QComboBox *c) { connect(c, &QComboBox::activated, this, [this] { setFocusToDummy(); }); };
    for (QComboBox *c : {cboAudioBitrate, cboAudioSample, cboFps, cboRotate, cboSubcp, cboSubFont, cboVideoBitrate})
        focusOnly(c);
    connect(cboSize, &QComboBox::activated, this, [this] {
        setFocusToDummy();
        SetSizeSetting();
    });
    for (QRadioButton *o : optScaleCrop)
        connect(o, &QRadioButton::clicked, this, [this] { setFocusToDummy(); });
    for (QRadioButton *o : optAudio)
        connect(o, &QRadioButton::released, this, [this] {
            setFocusToDummy();
            SetAudioSetting(false);
        });
    for (QRadioButton *o : optSub)
        connect(o, &QRadioButton::clicked, this, [this] {
            setFocusToDummy();
            SetSubSetting(false);
        });
    connect(chkAudioVolnorm, &QCheckBox::clicked, this, [this] { setFocusToDummy(); });

    const std::array<std::pair<std::array<StyleButton *, 3> *, opt::Adjuster>, 5> adjusters{{
        {&imgVolume, opt::Adjuster::Volume},
        {&imgBrightness, opt::Adjuster::Brightness},
        {&imgContrast, opt::Adjuster::Contrast},
        {&imgHue, opt::Adjuster::Hue},
        {&imgSaturation, opt::Adjuster::Saturation},
    }};
    for (const auto &[buttons, a] : adjusters)
        for (int i = 0; i < 3; ++i)
            connect((*buttons)[i], &StyleButton::Click, this, [this, a = a, i] { adjusterClick(a, i); });
    for (int i = 0; i < 2; ++i) {
        connect(lblVol[i], &StyleButton::Click, this, [this, i] { lblVol_Click(i); });
        connect(cmdOkCancel[i], &StyleButton::Click, this, [this, i] { cmdOkCancel_Click(i); });
    }
    connect(lblVolPlay, &StyleButton::Click, this, [this] { lblVolPlay_Click(); });
    connect(mbSubFIle, &StyleButton::Click, this, [this] { mbSubFIle_Click(); });
    connect(cmdSubPlay, &QPushButton::clicked, this, [this] { cmdSubPlay_Click(); });
    connect(cmdDonation, &StyleButton::Click, this, [this] { cmdDonation_Click(); });
    connect(lblStop, &StyleButton::Click, this, [this] { setStopDosIo(true, false); });
    connectPreview();
    connect(txtSize[0], &QLineEdit::editingFinished, this, [this] { txtSizeLostFocus(0); });

    // Key filters.
    auto filter = [this](QObject *o, opt::KeyFilter kind) {
        o->setProperty("keyFilter", int(kind));
        o->installEventFilter(this);
    };
    // The number lists filter in their own edit fields (numberCombo).
    for (QLineEdit *t : {txtSize[0], txtSize[1], txtExpand[0], txtExpand[1], txtExpand[2], txtExpand[3], txtSubSize,
                         txtSubPosHgt, txtSubOutline, txtSubBlur})
        filter(t, opt::KeyFilter::DigitsBox);
    filter(txtAudioDelay, opt::KeyFilter::SignedDecimal);
    filter(txtSubDelay, opt::KeyFilter::SignedDecimal);

    // Labels, pictures and pages that drag the window.
    QList<QWidget *> draggers{lblAudioBitrateStr, lblAudioDelayStr, lblAudioSampleStr, lblBrightness, lblContrast,
                              lblCropStr,         lblExpandStr,     lblFormatStr,      lblFpsStr,     lblHue,
                              lblNote,            lblRotateStr,     lblRotateStr2,     lblSaturation, lblScopeStr,
                              lblScopeStr2,       lblSizeStr,       lblSizeStr2,       lblSubBlurStr, lblSubcpStr,
                              lblSubDelayStr,     lblSubFontStr,    lblSubOutlineStr,  lblSubPosHgt2Str,
                              lblSubPosHgtStr,    lblSubSizeStr,    lblTabSpec,        lblVideoBitrateStr,
                              lblVolume,          lblCurTime,       lblTotalTime,      lblScopeNote,  imgCrSpec,
                              imgFun,             picTime,          picPlayerFrame,    picPlayerContainer};
    for (QLabel *l : lblExpand2Str)
        draggers.append(l);
    for (QFrame *p : picOrvexTab)
        draggers.append(p);
    for (QWidget *w : draggers) {
        w->setProperty("dragsWindow", true);
        w->installEventFilter(this);
    }
}

bool FrmOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == owner_ && event->type() == QEvent::WindowActivate && isVisible()) {
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                activateWindow();
        });
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const QVariant kind = watched->property("keyFilter");
        if (kind.isValid()) {
            auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && (watched == txtSize[0] || watched == txtSize[1])) {
                // Enter in a size box sets the size; it does not confirm the dialog.
                txtSizeLostFocus(watched == txtSize[0] ? 0 : 1);
                return true;
            }
            const auto filter = opt::KeyFilter(kind.toInt());
            return numberKeyRefused(*key, [filter](QChar c) { return opt::filterKey(filter, c.unicode()) != 0; });
        }
    }
    if (watched->property("dragsWindow").toBool()) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseMove) {
            Form_MouseMove(mouse->buttons(), mouse->globalPosition().toPoint(), qobject_cast<QWidget *>(watched));
        } else if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            drag_.end();
            drag_.press(mouse->globalPosition().toPoint());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            drag_.end();
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool FrmOptions::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab go only to what the user sees: not to the controls of the pages
    // behind the chosen one, nor under a page's mask, nor outside the client area.
    QWidget *start = focusWidget() ? focusWidget() : this;
    QWidget *w = start;
    for (;;) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == start)
            return false;
        if (tabReachable(w)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}

bool FrmOptions::tabReachable(QWidget *w) const
{
    if (w->window() != this || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled()
        || !w->isVisibleTo(this))
        return false;
    if (!rect().contains(QRect(w->mapTo(this, QPoint(0, 0)), w->size())))
        return false;
    for (size_t i = 0; i < picTabMask.size(); ++i)
        if (!picTabMask[i]->isHidden() && picOrvexTab[i]->isAncestorOf(w) && !picTabMask[i]->isAncestorOf(w))
            return false;
    return true;
}

void FrmOptions::placeBigScreen(QWidget &big)
{
    // Without a window manager nothing brings the dialog back over a window that covers
    // it, so the big screen leaves these buttons free wherever it opens.
    QList<QRect> keepClear;
    for (const QWidget *w : std::initializer_list<const QWidget *>{
             lblPlay, lblPause, lblStop, lblBackward, lblForward, lblMark[0], lblMark[1], lblMarkDel, cmdOkCancel[0],
             cmdOkCancel[1], lbl2BigScreen})
        keepClear << QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    QScreen *on = big.screen() ? big.screen() : screen();
    if (!on)
        return;
    const QRect frame = big.frameGeometry();
    const QSize margins = frame.size() - big.size();
    const QRect placed =
        playerlayout::placeClearOf(frame, playerlayout::minimumClientSize() + margins, keepClear, on->availableGeometry());
    if (placed.size() != frame.size())
        big.resize(placed.size() - margins);
    if (placed.topLeft() != frame.topLeft())
        big.move(placed.topLeft());
}

void FrmOptions::keyPressEvent(QKeyEvent *event)
{
    // As in any dialog: Escape cancels and Enter confirms, once the control that has the
    // focus has let the key pass. An open list takes both keys itself, and the size and
    // range boxes keep their own Enter.
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape: cmdOkCancel_Click(1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: cmdOkCancel_Click(0); break;
    default: QWidget::keyPressEvent(event); return;
    }
}

void FrmOptions::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        drag_.end();
        drag_.press(event->globalPosition().toPoint());
    }
    // Only the bare surface asks; a press that a control passed on does not.
    if (event->button() == Qt::RightButton && event->buttons() == Qt::RightButton
        && !childAt(event->position().toPoint()))
        developerSwitch();
    QWidget::mousePressEvent(event);
}

void FrmOptions::mouseMoveEvent(QMouseEvent *event)
{
    Form_MouseMove(event->buttons(), event->globalPosition().toPoint());
}

void FrmOptions::mouseReleaseEvent(QMouseEvent *event)
{
    drag_.end();
    QWidget::mouseReleaseEvent(event);
}

void FrmOptions::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, background_);
}

void FrmOptions::closeEvent(QCloseEvent *event)
{
    // The window has no close box; a close from the window system counts as Cancel, so
    // the main window is never left disabled behind a vanished dialog.
    event->ignore();
    if (isVisible())
        cmdOkCancel_Click(1);
}
