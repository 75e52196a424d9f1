// The main window: a caption-less skinned window with the source, target, settings and
// encode buttons, the path labels, the settings summary, the progress bar, the status
// lines and every popup menu. Logic that needs no window lives in the core and engine
// libraries and in mainwin/settingsfile.h and mainwin/frmmain_text.h; this class
// applies it to its controls.
#pragma once

#include "controls/clickablelabel.h"
#include "controls/windowdrag.h"
#include "core/mainwindowlink.h"
#include "engine/encodeflow.h"
#include "engine/targetmenu.h"
#include "mainwin/encodetimeestimate.h"

#include <QLabel>
#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QMenu;
class QMimeData;
class QPushButton;
class PictureBox;
class StyleButton;
class cpuUsageNT;
namespace singleinstance { class Receiver; }

class FrmMain : public QWidget, public MainWindowLink, public encodeflow::EncodeWindow {
    Q_OBJECT
public:
    explicit FrmMain(QWidget *parent = nullptr);
    ~FrmMain() override;

    // ---- Buttons ----
    StyleButton *cmdInput = nullptr;   // source: pops up the target menu
    StyleButton *cmdOutput = nullptr;  // target: pops up the target-file menu
    StyleButton *cmdOpt = nullptr;     // conversion settings
    std::array<StyleButton *, 2> cmdEncode{};  // 0 encode, 1 Stop (shown while a run goes on)

    // ---- Labels ----
    ClickableLabel *lblInput = nullptr;      // source path
    ClickableLabel *lblOutput = nullptr;     // target path
    ClickableLabel *lblInputCheck = nullptr; // "analysing the source" note over lblInput
    ClickableLabel *lblVideoSize = nullptr;
    ClickableLabel *lblVideoLen = nullptr;
    ClickableLabel *lblEncodeNote = nullptr;      // the settings summary
    ClickableLabel *lblEncodeNoteCheck = nullptr; // the key-frame note over lblEncodeNote
    ClickableLabel *lblEncodeEsti = nullptr;      // the CPU-load line
    ClickableLabel *lblVer = nullptr;
    ClickableLabel *lblMsgSay = nullptr;          // hover link in the top strip
    std::array<ClickableLabel *, 4> lblButton{};  // title bar: 0 language, 1 help, 2 minimise, 3 close

    // ---- Pictures ----
    QLabel *imgMsgSay = nullptr;
    std::array<ClickableLabel *, 2> imgFun{};     // walking figure facing right, facing left
    std::array<QLabel *, 3> imgButton{};      // locks over the three buttons during a run
    PictureBox *picProgress = nullptr;        // Tag: last percentage drawn
    PictureBox *picEncodeEsti = nullptr;      // Tag: start tick of the running encode (ms)
    QFrame *shpBlock = nullptr;               // frame behind the progress bar

    // ---- Developer controls (shown in developer mode only) ----
    QPushButton *cmdDelSrc = nullptr;
    QCheckBox *chkCheckAsfMci = nullptr;
    QCheckBox *chkCheckCmd = nullptr;
    QString chkCheckCmdTag;  // an edited command line handed over by the review window
    QComboBox *cboCmdEditSpec = nullptr;

    // ---- Menus ----
    QMenu *mnuSrcType = nullptr;  // the source button's popup
    std::array<QAction *, 2> mnuToPlay{};  // 0 play a new file, 1 play the current source
    QString mnuToPlay0Tag;                 // a dropped file waiting to be played
    QMenu *mnuToEncode = nullptr;
    QMenu *mnuToEncodeMusic = nullptr;
    QMenu *mnuToChangeVol = nullptr;
    QMenu *mnuToCut = nullptr;
    QMenu *mnuToFix = nullptr;
    QList<QAction *> mnuSrcIsFileToMpg, mnuSrcIsFileToWmv, mnuSrcIsFileToAvi, mnuSrcIsFileToSound,
        mnuSrcIsFileToChangeVol, mnuSrcIsFileToCut, mnuSrcIsFileToFix;
    QAction *mnuToScreenshot = nullptr;

    QMenu *mnuTarget = nullptr;  // the target button's popup
    QAction *mnuToPlay2 = nullptr;
    QAction *mnuTargetFile = nullptr;
    QMenu *mnuTargetDir = nullptr;
    std::array<QAction *, 2> mnuTargetDefDir{};  // 0 beside the source, 1 the fixed folder
    QString mnuTargetDefDir1Tag;                 // the fixed folder, ending in "/"

    QMenu *mnuLanguage = nullptr;
    QString mnuLanguageTag;  // code of the language last applied
    QAction *mnuLngEN = nullptr, *mnuLngTW = nullptr, *mnuLngGB = nullptr;

    QMenu *mnuMainHelp = nullptr;
    QAction *mnuMoney = nullptr, *mnuNotice = nullptr, *mnuBlog = nullptr, *mnuHelp = nullptr,
            *mnuVerNote = nullptr, *mnuLearn = nullptr, *mnuUpdate = nullptr, *mnuAbout = nullptr,
            *mnuCoopAds = nullptr;
    QMenu *mnuDownloadFamily = nullptr;
    std::array<QAction *, 4> mnuDlFamilyNew{};
    std::array<QAction *, 6> mnuDlFamily{};

    // ---- Timers ----
    QTimer tmrCPU;   // 1000 ms: CPU line and remaining time
    QTimer tmrFun;   // 120 ms: walking figure
    QTimer tmrDrag;  // 250 ms: plays a dropped file outside the drop

    // ---- Fields ----
    std::unique_ptr<cpuUsageNT> cpuMeter;
    QString helpPath;
    QString iniPath;
    // The clock of the remaining-time line (ms); tests give their own.
    std::function<qint64()> tickSource;

    // ---- Start-up and closing ----
    void Form_Load();
    bool iniExistedAtStart() const { return iniExistedAtStart_; }

    // ---- Single instance (frmmain_windows.cpp; the hand-off itself in singleinstance.h) ----
    // The hand-off's server name (singleinstance::serverName() for the program; tests give
    // their own). Empty: this window neither hands over nor answers later launches.
    QString instanceName;
    // Ends a second copy at once after its hand-off (no unload, no settings); tests replace it.
    std::function<void()> endProgram;
    // This copy found a running one and handed its command line over.
    bool handedOff() const { return handedOff_; }
    void sendDdeCommand(const QString &cmd);
    // A running copy's answer to a hand-off: the command is accepted and ignored; the
    // window comes to the front.
    void Form_LinkExecute(const QString &CmdStr, int &Cancel);

    // ---- About, donation and the developer window ----
    void mnuAbout_Click();
    void mnuMoney_Click();
    void showDonation(QWidget *owner) override;
    void setConsoleWindowVisible(bool visible) override;
    void stopFunEffect() override;
    // A press on the window: the right button switches the developer console, any
    // other closes the splash.
    void Form_MouseDown(int Button, int Shift, float X, float Y);

    // ---- Language ----
    void applyLanguage(const QString &code);
    void mnuLngEN_Click() { applyLanguage(QStringLiteral("en")); }
    void mnuLngTW_Click() { applyLanguage(QStringLiteral("tw")); }
    void mnuLngGB_Click() { applyLanguage(QStringLiteral("gb")); }

    // ---- Settings file ----
    void loadSettings();
    bool saveSettings();

    // ---- Status displays ----
    void tmrCPU_Timer();
    void setEncodeTimeEsti(QString &capt);
    void setVideoInfoNote();

    // ---- Shared routines of the window ----
    bool busyGuard() const;
    // A conversion or a probe holds the window: it cannot be closed now.
    bool isBusy() const;
    void alignPathLabels();
    void refreshProgress();
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void tmrFun_Timer();

    // ---- Title bar and menus ----
    void lblButton_Click(int index);
    void cmdInput_Click();
    void cmdOutput_Click();
    void mnuTargetDefDir_Click(int index);
    void mnuHelp_Click();

    // ---- Web pages and mail (frmmain_links.cpp) ----
    void lblMsgSay_Click();
    void mnuLearn_Click();
    void mnuNotice_Click();
    void mnuVerNote_Click();
    void mnuBlog_Click();
    void mnuUpdate_Click();
    // 0-3 the four new sibling products, 0-5 the six further ones.
    void mnuDlFamilyNew_Click(int index);
    void mnuDlFamily_Click(int index);
    // Asks first (txt::CooperationMailQuestion); the player stops before the question.
    void mnuCoopAds_Click();

    // ---- Source and target commands (frmmain_commands.cpp) ----
    void mnuTargetFile_Click();
    // 0 a new file (or a dropped one), 1 the current source, 2 the current target.
    void mnuToPlay_Click(int index);
    void mnuToPlay2_Click();
    // A drop on the source button: an existing local file is played from tmrDrag.
    // True when the drop was taken.
    bool cmdInput_OLEDragDrop(const QMimeData *data);
    // The path a drop carries: the first local file, else the text; "" for neither.
    static QString droppedPath(const QMimeData *data);
    void tmrDrag_Timer();
    void cmdDelSrc_Click();

    // ---- The target menu and a new job (frmmain_source.cpp) ----
    void targetMenu_Click(engine::TargetMenu menu, int index);
    // Masks the options pages that cannot apply to the current job.
    void setOptionTabMasks();
    // A new job from a target-menu choice: the source dialog, the checks, the probe,
    // the target name and the options dialog's neutral state and presets.
    void openSourceForTarget(const engine::TargetChoice &choice);
    // Clears the adjuster values the options dialog keeps from the previous source.
    void resetOptionsForm();

    // ---- Filled by the conversion side (frmmain_encode.cpp) ----
    void cmdEncode_Click(int index);
    void cmdOpt_Click();
    // A probed source is there; unless quiet, says why not (txt::ChooseSourceFirst or
    // txt::SourceCannotBeAnalysed).
    bool checkSourceReady(bool quiet);
    // The tool file exists; says which one is missing (txt::ToolFilesMissing and its path).
    bool checkPluginFile(const QString &path);
    // The key-frame note over the settings summary.
    void showKeyframeCheckNote(bool show);
    int developerPreset() override;
    bool reviewRequested() override;
    QString reviewCommand(const QString &command) override;
    void playResult(const QString &target) override;
    // Closes the player window before a new job, a conversion or the options dialog.
    void closePlayerWindow();
    // The encoder runner's limits (tests shorten the stall time).
    encoderunner::EncodeRunLimits encodeLimits;
    // What became of the last press of the encode button.
    encodeflow::StageResult lastEncode;

    // ---- MainWindowLink ----
    QWidget *mainWidget() override { return this; }
    void setEncodeNote(const QString &text) override;
    QString encodeNote() const override;
    QString languageCode() const override { return mnuLanguageTag; }
    QString settingsButtonCaption() const override;
    QString encodeButtonCaption() const override;
    void placeEncodeNote(bool conversionLayout) override;
    // Where the settings summary's text lies (empty when none shows).
    QRect summaryRect() const;

    // ---- The encoder runner's and the run stage's window side ----
    void setProgressNote(float pg, const QString &bCaption, bool isPreview) override;
    void encodeStarted(qint64 startTick, const QString &estimateText) override;
    void encodeEnded() override;
    void setCpuLoadText(const QString &text) override;
    void showEncodeButton() override;
    void showStopButton() override;
    void restProgressFrame() override;
    void setEncodingControls(bool encoding) override;

    // The window's look for a language: the font family of its captions.
    static QString fontFamilyFor(const QString &code);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // A left-button drag moves the window (one drag, one move).
    void dragWindow(const QPoint &globalPos) { drag_.follow(this, globalPos); }
    void buildControls();
    void buildMenus();
    void connectCommands();
    void connectControls();
    void connectLinksAndHover();
    void popupBelow(QMenu *menu, QWidget *anchor);
    // The options dialog's share of applying a language, closing and start-up.
    void applyOptionsLanguage();
    void unloadOtherWindows();
    void stopPlayerBeforeClosing();

    EncodeTimeEstimate estimate_;
    std::unique_ptr<singleinstance::Receiver> ddeReceiver_;
    bool handedOff_ = false;
    bool iniExistedAtStart_ = false;
    int funDirection_ = 0;
    bool closing_ = false;
    // The player opens a file the play entry points gave it; a close asked for
    // meanwhile is carried out once the opening has ended.
    bool playOpening_ = false;
    bool closeAfterOpening_ = false;
    WindowDrag drag_;
};

namespace mainwin {
// The addresses the help popup and the hover link open.
QString sitePage(const QString &path);  // the maker's site and a path in it
QString blogPage();
QString versionNotePage();              // the blog post on this version
// Sibling product 0-9 of familyProducts(); "" for any other index.
QString familyPage(int index);
QString coopMailAddress();              // a "mailto:" address
} // namespace mainwin

// The one main window, created on first use.
FrmMain &frmMain();
// Whether the main window has been created (nothing is created by asking).
bool frmMainExists();
// Destroys the main window (tests, end of the program).
void destroyFrmMain();
