// The stand-alone player window: the video area on top (the player tool draws into
// picPlayer), a bottom bar with the file icon, the status and time labels, the seek
// bar, the transport buttons and the volume slider. The options dialog may borrow
// it as a big preview screen (the preview state's playerMode 1 or 2).
//
// Controls carry the names the rest of the program knows them by (also as their
// objectName). All media work goes through the engine `player`.
#pragma once

#include "controls/videosurface.h"
#include "core/console.h"
#include "player/playerengine.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QMimeData;
class OrvexButton;
class PictureBox;

class FrmPlayer : public QWidget, public ConsoleOwner {
    Q_OBJECT

public:
    FrmPlayer();
    ~FrmPlayer() override;

    // ---- What the main window and the console call ----
    // Plays fn (without the double quotes it may be wrapped in): stops what plays,
    // opens fn, shows the window. A name with any other double quote is refused.
    void playSingle(QString fn);
    // Stops playback: player ended, timer off, stopped looks.
    void mbStop_Click();
    // Menu captions, button tooltips; clears the file-name label.
    void ChangeLanguage();
    // The console's callback: timer off and the player ended.
    void setStopDosIo() override;
    // The close sequence (also run by close()): stop, save the settings, flags back,
    // main window shown again.
    void Form_Unload();

    // ---- Play state and other windows' entries ----
    int myStatus = MPlayer::Stopped;  // an MPlayer::PlayState
    bool isBusy = false;
    MPlayer &player();
    void newPlay(const QString &fn);
    void failPlay(const QString &fn = {}, bool onlyNewPlay = false);
    void ifStopped(bool allNone);
    void shareBnStop(bool allSTOP = false, bool noStopMCI = false, bool isDealRng = false,
                     bool isDelay = false);
    void mbPause_Click();
    void shareBnPause();
    void mbPlay_Click();
    void pausePrFn();
    void myPutSize(bool isDefaulSize);
    void Form_KeyDown(int keyCode, int shift);
    void tmrCheck_Timer();
    void Form_OLEDragDrop(const QMimeData *data);

    // Big-screen mode: the options dialog tells the window its preview's pause tag
    // ("Play" / "Pause") and how to change it; unset outside that mode.
    std::function<QString()> previewTag;
    std::function<void(const QString &)> setPreviewTag;

    // ---- Controls ----
    QWidget *picPlayerContainer = nullptr;
    VideoSurface *picPlayer = nullptr;  // the video surface (a native window)
    QLabel *lblPlayerNote = nullptr;
    PictureBox *picPlusBk = nullptr;  // bottom bar
    PictureBox *picHsbBack = nullptr, *picHsb = nullptr, *picHsb2 = nullptr;
    PictureBox *picBnBk = nullptr, *picSndBk = nullptr, *picMsgBk = nullptr;
    PictureBox *picVolSdr = nullptr, *picVolPos = nullptr, *picVolSdr2 = nullptr;
    PictureBox *picAssIcon = nullptr;
    QLabel *lblFnName = nullptr, *lblCover = nullptr, *lblCurTime = nullptr, *lblSplit = nullptr,
           *lblTtTime = nullptr;
    OrvexButton *mbPlay = nullptr, *mbPause = nullptr, *mbStop = nullptr, *mbBackward = nullptr,
                *mbForward = nullptr, *mbSound = nullptr;
    QMenu *mnuMain = nullptr;
    QAction *mnuOpen = nullptr, *mnuExplorer = nullptr, *mnuShowHideMain = nullptr,
            *mnuKeepDef = nullptr, *mnuKeepWH = nullptr, *mnuTopMost = nullptr, *mnuEnd = nullptr;
    QTimer tmrCheck, tmrCheckResize, tmrDrag;

    // Values kept with controls.
    QString lblFnNameTag, lblTtTimeTag, lblCurTimeTag, picHsb2Tag, picVolPosTag, mnuShowHideMainTag,
        tmrDragTag;
    long seekTotalFrames = 0;
    double seekScale = 1;
    bool resizeGuard = false;
    QString settingsPath;

    // Volume slider track: 0..1000 across its width.
    static constexpr int volScaleWidth = 1000;

    // ---- Handlers ----
    void mbBackward_Click();
    void mbForward_Click();
    void mbSound_Click();
    void seekTenSeconds(int dir);
    void dragSeekThumb(int button, int x, bool commit);
    void picHsb_MouseUp(int button, int x);
    void picVolSdr_MouseDown(int button, int x);
    void picVolPos_MouseMove(int buttons, int x);
    void picPlayer_MouseDown(int button);
    void mnuOpen_Click();
    void mnuExplorer_Click();
    void mnuShowHideMain_Click();
    void mnuKeepDef_Click();
    void mnuKeepWH_Click();
    void mnuTopMost_Click();
    void mnuEnd_Click();
    void tmrDrag_Timer();
    void tmrCheckResize_Timer();
    void loadSettings();
    bool saveSettings();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Resize();
    void setFormSize();
    void layoutTimeBar();
    void updateMenuStates();
    void enableTransportButtons(bool keepPlay);
    void setTimeLabelsVisible(bool flag);
    void showPlayingState(bool keepLooks);
    void setPlayButtonState(int state);
    void initVolumeControls(bool noAudio);
    void checkSeekable();
    void moveSeekThumb(long frame);
    void placeVolumeKnob();
    void placeNote();
    // The usable areas of the screens, the primary first.
    QList<QRect> screenAreas() const;
    void popupMenu();
    bool isPausedPicture() const;
    void sendVolumeNow();
    bool mouseFilter(QObject *watched, QEvent *event);

    // Code of this window that lets the event loop run (opening a file, its own
    // dialogs) counts itself here; a close that comes meanwhile waits for it.
    class InUse {
    public:
        explicit InUse(FrmPlayer *w) : w_(w) { ++w_->inUse_; }
        ~InUse() { w_->leaveUse(); }
        InUse(const InUse &) = delete;
        InUse &operator=(const InUse &) = delete;

    private:
        FrmPlayer *w_;
    };
    friend void unloadFrmPlayer();
    void leaveUse();
    // The close sequence, then the window goes; deferred while its code runs.
    void finishClose();
    // A close is asked for while the window's code runs: the opening ends, the window
    // hides, and it closes once that code has returned.
    void requestClose();

    int inUse_ = 0;
    bool opening_ = false;       // newPlay is probing the file
    bool closePending_ = false;
    QString pendingFile_;        // asked to play while another file was opening

    std::unique_ptr<MPlayer> player_;
    long lastFrame_ = 0;
    Qt::WindowStates lastWindowState_ = Qt::WindowNoState;
    bool unloaded_ = false;
    QPoint normalPos_;
};

// The one player window, created on first use (its load runs then).
FrmPlayer &frmPlayer();
// Whether it exists.
bool frmPlayerLoaded();
// Unloads it: the close sequence, then the window is destroyed. Harmless when none.
// While the window's own code runs (a file opening), the opening ends and the window
// goes as soon as that code has returned.
void unloadFrmPlayer();
// Shows the player window, lets it come up, then plays path in it; beforePlay runs
// just before the file opens. A window closed while it came up plays nothing.
void showPlayerAndPlay(const QString &path, const std::function<void()> &beforePlay = {});
