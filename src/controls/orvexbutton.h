// The flat hover button: a picture button that lies flat, shows a thin raised edge
// while the pointer is over it and a sunken edge while it is down.
//
// Press behaviours (Mode): 0 push (down on press, up and Click on release),
// 1 toggle (flips and clicks on every press), 2 latch (goes down and clicks on the
// first press, then stays down until the host sets State to 0).
// Looks (State): 0 up, 1 raised, 2 down, 3 disabled. Style 0 draws the edge with
// four one-pixel strips over the inner button's border; Style 1 shows the inner
// button's own border and never an edge look.
//
// Colours are 0x00BBGGRR values or 0x800000nn system-colour references.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>

class PropertyBag;
class QMimeData;

class OrvexButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int State READ State WRITE setState)
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(int Mode READ Mode WRITE setMode)
    Q_PROPERTY(int OLEDropMode READ OLEDropMode WRITE setOLEDropMode)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(uint MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(QImage Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QImage DisabledPicture READ DisabledPicture WRITE setDisabledPicture)
    Q_PROPERTY(QImage DownPicture READ DownPicture WRITE setDownPicture)

public:
    explicit OrvexButton(QWidget *parent = nullptr);
    ~OrvexButton() override;

    // The looks State takes (stored as these numbers).
    enum StateLook : int { StateUp = 0, StateRaised = 1, StateDown = 2, StateDisabled = 3 };
    int State() const { return state_; }
    void setState(int state);
    int Style() const { return style_; }
    void setStyle(int style);
    int Mode() const { return mode_; }
    void setMode(int mode);

    // The inner button (the widget that takes the mouse).
    QWidget *hwnd() const;

    int OLEDropMode() const;
    void setOLEDropMode(int mode);
    QString Caption() const;
    void setCaption(const QString &caption);
    void SetToolTip(const QString &text);
    std::uint32_t BackColor() const;
    void setBackColor(std::uint32_t colour);
    std::uint32_t ForeColor() const;
    void setForeColor(std::uint32_t colour);
    std::uint32_t MaskColor() const;
    void setMaskColor(std::uint32_t colour);
    bool UseMaskColor() const;
    void setUseMaskColor(bool use);
    QImage Picture() const;
    void setPicture(const QImage &picture);
    QImage DisabledPicture() const;
    void setDisabledPicture(const QImage &picture);
    QImage DownPicture() const;
    void setDownPicture(const QImage &picture);

    // Persistence: twelve keys, each left out when it holds its default.
    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    // The colour value each edge strip shows now (0 top, 1 right, 2 bottom, 3 left).
    std::uint32_t edgeColour(int strip) const;
    bool isHoverTracking() const { return tmrCheck_.isActive(); }

signals:
    void Click();
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void OLEDragDrop(const QMimeData *Data, int Effect, int Button, int Shift, float X, float Y);
    // A property was set; the host saves it under this name.
    void propertyChanged(const QString &name);

public slots:
    // Leave detection, every 100 ms while the raised edge shows.
    void tmrCheck_Timer();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    friend class OrvexButtonFace;
    friend class OrvexEdgeStrip;

    void chkBn_MouseDown(QMouseEvent *event);
    void chkBn_MouseUp(QMouseEvent *event);
    void chkBn_MouseMove(QMouseEvent *event);
    void picLn_MouseMove();

    bool isUserMode() const;
    bool isMouseOver() const;
    bool isToggledDown();
    void setLinesVisible(bool visible);
    void setValue(int v);
    void showHover(int mode);
    void applyState();
    void applyLayout(bool storeColours);
    void setStripColour(int strip, std::uint32_t colour);

    int state_ = 0;
    int mode_ = 0;
    int style_ = 0;
    bool pushPressed_ = false;  // a left press of a push button is waiting for its release

    class OrvexButtonFace *chkBn_ = nullptr;
    std::array<class OrvexEdgeStrip *, 4> picLn_{};
    QWidget *focusSink_ = nullptr;  // picLn(4): takes the focus so no focus frame shows
    std::array<std::uint32_t, 4> lnTag_{};  // the raised colour of each strip
    QTimer tmrCheck_;
};
