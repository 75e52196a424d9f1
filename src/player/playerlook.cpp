#include "player/playerlook.h"

#include <QPainter>
#include <QPainterPath>

namespace playerlook {

QColor colorKey()
{
    return QColor(0x01, 0x02, 0x03);
}

QImage face(Face f, int w, int h, bool disabled)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = disabled ? QColor(160, 160, 160) : QColor(40, 40, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const double cx = w / 2.0, cy = h / 2.0;
    auto triangle = [&](double x0, double dir, double size) {
        QPainterPath path;
        path.moveTo(x0, cy - size);
        path.lineTo(x0 + dir * size * 1.4, cy);
        path.lineTo(x0, cy + size);
        path.closeSubpath();
        p.drawPath(path);
    };
    switch (f) {
    case Face::Play: triangle(cx - 3, 1, 5); break;
    case Face::Pause:
        p.drawRect(QRectF(cx - 4, cy - 5, 3, 10));
        p.drawRect(QRectF(cx + 1, cy - 5, 3, 10));
        break;
    case Face::Stop: p.drawRect(QRectF(cx - 4.5, cy - 4.5, 9, 9)); break;
    case Face::Backward:
        triangle(cx, -1, 4.5);
        triangle(cx + 6, -1, 4.5);
        break;
    case Face::Forward:
        triangle(cx - 6, 1, 4.5);
        triangle(cx, 1, 4.5);
        break;
    case Face::Sound:
    case Face::Muted: {
        QPainterPath path;
        path.moveTo(cx - 6, cy - 2);
        path.lineTo(cx - 3, cy - 2);
        path.lineTo(cx + 1, cy - 6);
        path.lineTo(cx + 1, cy + 6);
        path.lineTo(cx - 3, cy + 2);
        path.lineTo(cx - 6, cy + 2);
        path.closeSubpath();
        p.drawPath(path);
        p.setBrush(Qt::NoBrush);
        if (f == Face::Sound) {
            p.setPen(QPen(ink, 1.2));
            p.drawArc(QRectF(cx - 2, cy - 4, 7, 8), -60 * 16, 120 * 16);
        } else {
            p.setPen(QPen(QColor(200, 30, 30), 1.6));
            p.drawLine(QPointF(cx + 3, cy - 3), QPointF(cx + 8, cy + 3));
            p.drawLine(QPointF(cx + 8, cy - 3), QPointF(cx + 3, cy + 3));
        }
        break;
    }
    }
    return img;
}

int keyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_Left: return 37;
    case Qt::Key_Right: return 39;
    default: return 0;
    }
}

} // namespace playerlook
