#include "controls/clickablelabel.h"

#include "coregui/mousecodes.h"

#include <QMouseEvent>
#include <QPainter>

void ClickableLabel::setLinkLook()
{
    setCursor(Qt::PointingHandCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0x1a, 0x5f, 0xb4));
    setPalette(pal);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    if (receivers(SIGNAL(Click())) == 0)
        event->ignore();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Click();
}

void ClickableLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit MouseMove(mousecodes::buttons(event->buttons()), mousecodes::shift(event->modifiers()),
                   float(event->position().x()), float(event->position().y()));
    if (movesPassedOn_)
        event->ignore();
}

void ClickableLabel::paintEvent(QPaintEvent *event)
{
    const QRect area = contentsRect();
    if (!elide_ || wordWrap() || fontMetrics().horizontalAdvance(text()) <= area.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setPen(palette().color(foregroundRole()));
    p.drawText(area, int(alignment()), fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()));
}
