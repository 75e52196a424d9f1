// Moving a caption-less window with the left button: one drag, one move. The first
// move of a drag hands it to the window system; where the system cannot move windows
// (no window manager), the window follows the pointer by itself.
#pragma once

#include <QPoint>

class QWidget;

class WindowDrag {
public:
    // The left button is held with the pointer at globalPos.
    void follow(QWidget *window, const QPoint &globalPos);
    // The button went up, or a new press begins a drag of its own.
    void end() { active_ = false; }

private:
    bool active_ = false;
    bool manual_ = false;
    QPoint start_, origin_;
};
