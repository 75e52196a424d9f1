// A label that reports a click: the left button pressed and released over it. A label
// nobody listens to for clicks lets a press fall through to its window (a drag may
// begin there). Mouse moves over it are reported with the buttons and keys held (the
// numbers of coregui/mousecodes.h) and end there, unless it is told to pass them on to
// its window too. It may shorten a long text in the middle, and may look like a link.
#pragma once

#include <QLabel>

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr) : QLabel(parent) {}
    // A text too long for the label is shown shortened in the middle; text() stays whole.
    void setElideMiddle(bool on)
    {
        elide_ = on;
        update();
    }
    // The look of a link: the pointing hand, link blue and underlined.
    void setLinkLook();
    // Mouse moves go on to the window as well (which may drag itself with them).
    void setMovesPassedOn(bool on) { movesPassedOn_ = on; }

signals:
    void Click();
    void MouseMove(int Button, int Shift, float X, float Y);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool pressed_ = false;
    bool elide_ = false;
    bool movesPassedOn_ = false;
};
