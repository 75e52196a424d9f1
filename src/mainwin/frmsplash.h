// The splash window: a shaped, top-most picture with a slowly rising text. It hides the
// main window at first, fades it in once the main window is on screen, and closes
// itself after its last tick or at once when clicked.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace splash {

inline constexpr int tickMs = 25;
inline constexpr int fadeEndTick = 120;  // alpha 250 is reached here
inline constexpr int lastTick = 125;     // the splash closes after this tick

// The timer's memory between ticks. Ticks are counted as handled, not as time passed.
struct FadeState {
    int tick = 0;
    int firstTick = 0;  // the first tick that saw the main window shown; 0 = not yet
    float step = 0;
};

// One handled tick: counts it and gives the main window's alpha for it (0..255), or -1
// when the main window is not faded on this tick.
int fadeTick(FadeState &state, bool mainShown);

// The splash is due to close after this tick.
inline bool finished(const FadeState &state) { return state.tick > lastTick; }

// The marquee's language: Chinese when the settings text holds "Language=tw" (as
// written), or, without a settings file, when the system's language code is "tw".
bool chineseMarquee(bool settingsExist, const QString &settingsText, const QString &localeCode);

// The two marquee texts, lines joined by CR LF.
QString englishText();
QString chineseText();

// The background picture of the given size: white around the shaped body (white
// becomes see-through), no pure white inside it.
QPixmap background(const QSize &size);

} // namespace splash

class FrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit FrmSplash(QWidget *parent = nullptr);
    ~FrmSplash() override;

    QLabel *Marquee = nullptr;     // the frame of the rising text
    QLabel *lblMarquee = nullptr;  // the text; its top is kept in twips
    QTimer timeMarquee;            // 25 ms, switched on by the load

    int lblMarqueeTop() const { return marqueeTopTwips_; }
    const splash::FadeState &fadeState() const { return fade_; }
    bool showsChinese() const { return chinese_; }

    void Form_Load();
    void timeMarquee_Timer();
    void Form_Unload();

protected:
    void paintEvent(QPaintEvent *event) override;
    // A press anywhere on the splash (its text and frame pass theirs on) closes it.
    void mousePressEvent(QMouseEvent *event) override;

private:
    void placeMarquee();

    QPixmap picture_;
    splash::FadeState fade_;
    int marqueeTopTwips_ = 0;
    bool chinese_ = false;
    bool raisedOverMain_ = false;
};

// The one splash: created and loaded on first use; unloading it destroys it, and it is
// not shown again in a run unless asked for anew.
FrmSplash &frmSplash();
bool frmSplashLoaded();
void unloadFrmSplash();
