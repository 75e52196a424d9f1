// The options dialog: one caption-less window with the preview area on top and six
// settings pages on a tab strip below, closed only through OK and Cancel.
//
// The controls are the state. Each one carries the name the rest of the program knows
// it by (its objectName too: "cboFps", "txtExpand(2)", "picOrvexTab(3)"), and a
// control's Tag is its "Tag" property. The logic of the pages, lists, checks and
// pieces works on plain data (options/optionsform.h): the dialog copies its controls
// into an opt::OptionsForm, runs that logic and copies the result back.
//
// Callers from other windows may set the controls directly (setCurrentIndex,
// setEnabled, setProperty("Tag", ...)), or change the data in one go with
// edit([](opt::OptionsForm &f) { ... }).
//
// The embedded preview (frmoptions_preview_window.cpp) plays the source through the
// player tool in slave mode, drawn into picPlayer or, as a big screen, into the player
// window; its rules without a window are options/frmoptions_preview.h.
#pragma once

#include "controls/videosurface.h"
#include "controls/windowdrag.h"
#include "core/console.h"
#include "options/frmoptions_preview.h"
#include "options/optionsform.h"
#include "options/optionsummary.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class OrvexTab;
class StyleButton;
namespace engine {
struct OptionPreset;
}

class FrmOptions : public QWidget, public ConsoleOwner {
    Q_OBJECT

public:
    FrmOptions();
    ~FrmOptions() override;

    // Client size of the dialog.
    static constexpr int formWidth = 460;
    static constexpr int formHeight = 615;

    // ---- Called by the main window and the conversion engine ----
    // Captions, tooltips and the language-bound lists (sizes, code pages, audio bit
    // rates) from mdlMavrell::lng, keeping the selections; the range note is rewritten.
    void ChangeLanguage();
    // The language switch: ChangeLanguage, then the target-bound lists (frame rates —
    // the WMV list for a WMV target —, video bit rates, rotation) rebuilt for the
    // current job keeping the chosen values, then every adjuster caption.
    void applyLanguage();

    void setCboFpsItem(bool isMPG);
    // Frame rates of a WMV target from the source's srcFps, never above it; selects one itself.
    // The argument is not used.
    void setCboFpsItemIsWmv(bool flag = false);
    void setCboVideoBitrateItem(bool isMPEG1);
    void setCboRotateItem(bool isVCDDVD);

    // The preset of a new source and target (engine/optionpresets.h) put into the
    // controls: lists, selections, enabled rows, size boxes, order of scale and crop,
    // the first page; then the size, audio and subtitle pages are applied and the job's audioOpts
    // written (SetSizeSetting, SetSubSetting(True), SetAudioSetting(True), setAduioPara).
    void applyPreset(const engine::OptionPreset &preset);
    // Sets the value part of lblFormatStr ("<txt::TargetFormatIs><value>").
    void setFormatCaption(const QString &value);

    // The size boxes from the size list.
    void SetSizeSetting();
    void SetAudioSetting(bool isToDefault);
    void SetSubSetting(bool isToDefault);
    // The job's audioOpts from the audio page.
    void setAduioPara();
    // Captions of the adjusters from their Tags: the one of caption mode Mode, or all.
    void setLblColorAndVolPara(int Mode, bool all);
    // The settings summary into the main window's lblEncodeNote; -1 keeps the size of
    // the previous call.
    void SetMainEncodeNote(int wdt, int hgt);
    // The range boxes and the range note from the marks.
    void SetScopeNote();
    // The video surface inside its container, in the source's proportions, centred.
    void adjustVideoLoc();
    // Starts the preview on fn ("" the source last given) from StartTime seconds.
    void newPlay(const QString &fn, float StartTime);
    // Stops the preview: timer off, player ended, paused state, slider and times reset.
    void setStopDosIo() override { setStopDosIo(false, false); }
    void setStopDosIo(bool sliderTo0, bool noNeedUnloadFrmplayer);
    // OK (0) or Cancel (1).
    void cmdOkCancel_Click(int Index);
    // The settings command's snapshot for Cancel: every setting control's value into its Tag.
    void takeSnapshot();
    // The settings command: the snapshot for Cancel, the dialog shown (not modal;
    // centred over the main window the first time), the main window disabled, the
    // preview started on sourcePath and the hover help switched on.
    void showForSettings(const QString &sourcePath);

    // Copies the controls into data, lets change work on it, and puts it back.
    template <typename Change>
    void edit(Change &&change)
    {
        readForm();
        change(form_);
        writeForm();
    }
    // The controls as data (a fresh copy).
    opt::OptionsForm form();

    // The hover-help line (empty hides it).
    void showNote(const QString &text);

    // Right button with the developer marker file: asks whether to show the console window.
    void developerSwitch();

    // ---- The controls ----
    // Preview area
    StyleButton *lblSrceenshot = nullptr, *lblCut2Pic = nullptr, *lbl2BigScreen = nullptr, *lblVolPlay = nullptr;
    std::array<StyleButton *, 2> lblVol{};
    QFrame *picTime = nullptr;
    QLabel *lblCurTime = nullptr, *lblSp = nullptr, *lblTotalTime = nullptr;
    QFrame *picPlayerFrame = nullptr, *picPlayerContainer = nullptr;
    VideoSurface *picPlayer = nullptr;
    QLabel *lblPlayerNote = nullptr;
    QFrame *shpCrop = nullptr;
    QLabel *imgSlider = nullptr, *imgSliderBG = nullptr;
    QFrame *shpScope = nullptr;
    StyleButton *lblPlay = nullptr, *lblPause = nullptr, *lblStop = nullptr, *lblBackward = nullptr,
                *lblForward = nullptr;
    std::array<StyleButton *, 2> lblMark{};
    StyleButton *lblMarkDel = nullptr;
    QLabel *lblScopeNote = nullptr;

    // Tab strip, pages and masks
    OrvexTab *tabMn = nullptr;
    std::array<QFrame *, 6> picOrvexTab{};
    std::array<QFrame *, 5> picTabMask{};
    std::array<QLabel *, 5> lblTabMaskMsg{};
    std::array<StyleButton *, 2> cmdOkCancel{};
    QLabel *lblNote = nullptr;
    QLabel *lblPos = nullptr;
    QPushButton *cmdFocus = nullptr;
    QTimer tmrWindowFrom, tmrSpecCheck, tmrCheck;

    // Page 0: main
    QLabel *lblFormatStr = nullptr, *lblScopeStr = nullptr, *lblScopeStr2 = nullptr, *lblFpsStr = nullptr,
           *lblRotateStr = nullptr, *lblRotateStr2 = nullptr, *imgFun = nullptr;
    std::array<QLineEdit *, 2> txtScope{};
    QComboBox *cboFps = nullptr, *cboRotate = nullptr;

    // Page 1: video
    QLabel *lblVideoBitrateStr = nullptr, *lblSizeStr = nullptr, *lblSizeStr2 = nullptr, *lblCropStr = nullptr,
           *lblExpandStr = nullptr;
    std::array<QLabel *, 4> lblExpand2Str{};
    QComboBox *cboVideoBitrate = nullptr, *cboSize = nullptr;
    std::array<QLineEdit *, 2> txtSize{};
    std::array<QRadioButton *, 2> optScaleCrop{};
    QFrame *ShapCropBase = nullptr;
    std::array<QLineEdit *, 4> txtExpand{};

    // Page 2: audio
    std::array<QRadioButton *, 2> optAudio{};
    QLabel *lblAudioBitrateStr = nullptr, *lblAudioSampleStr = nullptr, *lblAudioDelayStr = nullptr;
    QComboBox *cboAudioBitrate = nullptr, *cboAudioSample = nullptr;
    QLineEdit *txtAudioDelay = nullptr;
    QCheckBox *chkAudioVolnorm = nullptr;
    QLabel *lblVolume = nullptr;
    std::array<StyleButton *, 3> imgVolume{};

    // Page 3: picture
    QLabel *lblBrightness = nullptr, *lblContrast = nullptr, *lblHue = nullptr, *lblSaturation = nullptr;
    std::array<StyleButton *, 3> imgBrightness{}, imgContrast{}, imgHue{}, imgSaturation{};
    QFrame *picCrSpec = nullptr;
    QLabel *imgCrSpec = nullptr, *imgCrSpecGray = nullptr;
    QFrame *lneCrSpec = nullptr;

    // Page 4: subtitles
    std::array<QRadioButton *, 2> optSub{};
    QLineEdit *txtSubFile = nullptr;
    StyleButton *mbSubFIle = nullptr;
    QLabel *lblSubSizeStr = nullptr, *lblSubPosHgtStr = nullptr, *lblSubPosHgt2Str = nullptr,
           *lblSubOutlineStr = nullptr, *lblSubBlurStr = nullptr, *lblSubDelayStr = nullptr, *lblSubFontStr = nullptr,
           *lblSubcpStr = nullptr;
    QLineEdit *txtSubSize = nullptr, *txtSubPosHgt = nullptr, *txtSubOutline = nullptr, *txtSubBlur = nullptr,
              *txtSubDelay = nullptr;
    QComboBox *cboSubFont = nullptr, *cboSubcp = nullptr;
    QPushButton *cmdSubPlay = nullptr;

    // Page 5: special
    QLabel *lblTabSpec = nullptr;
    StyleButton *cmdDonation = nullptr;

    // Preview state: "Play" or "Pause".
    QString picPlayerTag = QStringLiteral("Pause");
    bool previewBusy = false;

    // ---- The preview (frmoptions_preview_window.cpp) ----
    // The source the preview plays (the last path newPlay was given).
    QString previewSource;
    // tmrCheck's tag: "ani_gif" while an animated GIF plays.
    QString tmrCheckTag;
    // The widget the player draws into: picPlayer, or the player window's in big-screen mode.
    VideoSurface *videoWindow();
    void lblPlay_Click();
    void lblPause_Click();
    void lblBackward_Click();
    void lblForward_Click();
    void lbl2BigScreen_Click();
    void lblSrceenshot_MouseUp();
    void lblCut2Pic_MouseDown();
    void tmrSpecCheck_Timer();
    // One poll of the player's output.
    void tmrCheck_Timer();
    void seekPlay(float seekValue, int seekType, bool inSeconds, bool allowSeek);
    // Slider: x relative to the knob (drag, drop) or to the track (click).
    void imgSlider_MouseMove(int button, double x);
    void imgSlider_MouseUp(int button, double x);
    void imgSliderBG_MouseUp(int button, double x);
    // Cut marks.
    void lblMark_Click(int Index);
    void lblMarkDel_Click();
    void txtScope_LostFocus(int Index);
    // Crop rectangle, in picPlayer's pixels.
    void picPlayer_MouseDown(double x, double y);
    void picPlayer_MouseMove(int button, double x, double y);
    void picPlayer_MouseUp();
    // Hover help: one tick, and the lookup for the widget under the pointer.
    void tmrWindowFrom_Timer();
    void hoverOver(QWidget *under);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // frmoptions_layout.cpp
    void buildControls();
    void buildPreviewArea();
    void buildPages();
    void buildPage0(QFrame *page);
    void buildPage1(QFrame *page);
    void buildPage2(QFrame *page);
    void buildPage3(QFrame *page);
    void buildPage4(QFrame *page);
    void buildPage5(QFrame *page);
    void paintSkins();
    // Takes as much height off the preview's picture as the dialog needs to fit a work
    // area lower than the dialog (at most half the picture); a higher one gives it back.
    void fitToScreen(const QRect &workArea);
    void layoutPages();

    // frmoptions_form.cpp: the controls to data and back
    void readForm();
    void writeForm();

    // frmoptions.cpp: loading, the language's faces and the handlers
    void Form_Load();
    // Every control's face for the current language.
    void applyLanguageFonts();
    QString languageCode() const;
    void showAppliedMarks(bool clearMarks);
    void connectHandlers();
    void setFocusToDummy();
    void Form_MouseMove(Qt::MouseButtons buttons, const QPoint &globalPos, const QWidget *from = nullptr);
    void cmdDonation_Click();
    void adjusterClick(opt::Adjuster a, int index);
    void lblVol_Click(int index);
    void lblVolPlay_Click();
    void mbSubFIle_Click();
    void cmdSubPlay_Click();
    void txtSizeLostFocus(int index);
    void fillSubFontList();
    void requestFocus(const QString &controlName);
    // Whether Tab may take the focus to w: a control the user can see and reach.
    bool tabReachable(QWidget *w) const;
    // Moves (and if need be shrinks) the big preview screen off the buttons that stop
    // and mark the preview, leave the big screen and close the dialog.
    void placeBigScreen(QWidget &big);
    // frmoptions_preview_window.cpp
    void connectPreview();
    void setMarkTime(int markIndex, float markSeconds, bool clearWhenWhole);
    void setMarkLoc(float rangeStart, float rangeEnd);
    void placePlayerNote(const QString &note, bool atTop);
    void showPlayFailed();
    bool timeShown() const;
    QPointer<QWidget> lastHoverWindow_;
    QString lastHoverControl_;
    int emptyReads_ = 0;
    bool noteHeld_ = false;
    preview::CropDrag crop_;
    // Hands the preview controls' mouse, key and focus events to the handlers; ends
    // first when the dialog goes, so no event of a dying control reaches them.
    QObject *previewEvents_ = nullptr;

    opt::OptionsForm form_;
    opt::NoteSize noteSize_;
    QImage background_;
    WindowDrag drag_;
    bool shownBefore_ = false;
    // The main window while it waits for this dialog: its activation is passed on here.
    QPointer<QWidget> owner_;
    int shrink_ = 0;  // height taken off the preview by fitToScreen
};

// The one options dialog, created hidden on first use.
FrmOptions &frmOptions();
// Whether it exists.
bool frmOptionsLoaded();
// Unloads it (at exit): stops the preview player and destroys the window.
void unloadFrmOptions();
