// Moving a caption-less window with the left button: one drag, one move. The first
// move of a drag hands it to the window system; where the system cannot move windows
// (no window manager), the window follows the pointer by itself. A drag that starts on
// a control with a native window of its own (a video surface and its frames) is always
// followed by the window itself: the system's move would start from the last pointer
// position the top-level window saw, which is stale while the child's window gets the
// pointer, and would throw the window off the screen.
#pragma once

#include <QPoint>
#include <optional>

class QWidget;

class WindowDrag {
public:
    // The left button went down at globalPos (where a followed window takes its offset).
    void press(const QPoint &globalPos) { press_ = globalPos; }
    // The left button is held with the pointer at globalPos, over source (a control of
    // window, or the window itself when null).
    void follow(QWidget *window, const QPoint &globalPos, const QWidget *source = nullptr);
    // The button went up, or a new press begins a drag of its own.
    void end()
    {
        active_ = false;
        press_.reset();
    }

    // Whether the pointer over source reaches the window through a native window of a
    // control rather than the window's own.
    static bool throughChildWindow(const QWidget *window, const QWidget *source);

private:
    bool active_ = false;
    bool manual_ = false;
    std::optional<QPoint> press_;
    QPoint start_, origin_;
};
