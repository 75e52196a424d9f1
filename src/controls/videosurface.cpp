#include "controls/videosurface.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

VideoSurface::VideoSurface(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void VideoSurface::setToolDraws(bool on)
{
    if (on == toolDraws_)
        return;
    toolDraws_ = on;
    setAttribute(Qt::WA_PaintOnScreen, on);
    if (!on)
        update();
}

void VideoSurface::paintEvent(QPaintEvent *event)
{
    if (toolDraws_)
        return;
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Window));
}

void VideoSurface::makeOverlay(QWidget *w)
{
    w->setAttribute(Qt::WA_NativeWindow);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->winId();
    if (QWindow *window = w->windowHandle())
        window->setFlag(Qt::WindowTransparentForInput, true);
}
