#include "controls/windowdrag.h"

#include <QWidget>
#include <QWindow>

void WindowDrag::follow(QWidget *window, const QPoint &globalPos)
{
    if (active_) {
        if (manual_)
            window->move(origin_ + globalPos - start_);
        return;
    }
    active_ = true;
    QWindow *handle = window->windowHandle();
    manual_ = !(handle && handle->startSystemMove());
    start_ = globalPos;
    origin_ = window->pos();
}
