#include "controls/windowdrag.h"

#include <QWidget>
#include <QWindow>

bool WindowDrag::throughChildWindow(const QWidget *window, const QWidget *source)
{
    if (!source || source == window)
        return false;
    if (source->internalWinId() && !source->isWindow())
        return true;
    const QWidget *nativeParent = source->nativeParentWidget();
    return nativeParent && nativeParent != window;
}

void WindowDrag::follow(QWidget *window, const QPoint &globalPos, const QWidget *source)
{
    if (active_) {
        if (manual_)
            window->move(origin_ + globalPos - start_);
        return;
    }
    active_ = true;
    start_ = press_.value_or(globalPos);
    origin_ = window->pos();
    QWindow *handle = window->windowHandle();
    manual_ = throughChildWindow(window, source) || !(handle && handle->startSystemMove());
    if (manual_ && start_ != globalPos)
        window->move(origin_ + globalPos - start_);
}
