#include "options/frmoptions_skin.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

namespace optskin {

namespace {

QImage blank(QSize size)
{
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void bevel(QPainter &p, const QRectF &r, const QColor &light, const QColor &dark)
{
    p.setPen(QPen(light, 1));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QPen(dark, 1));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void drawGlyph(QPainter &p, const QRectF &box, Glyph glyph, const QColor &c)
{
    const double s = std::min(box.width(), box.height());
    const QPointF m = box.center();
    const double u = s / 10.0;  // one tenth of the shorter side
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    auto tri = [&](double x, double dir) {  // a triangle pointing right (dir 1) or left (-1)
        QPolygonF t;
        t << QPointF(x - dir * 2.2 * u, m.y() - 2.8 * u) << QPointF(x + dir * 2.4 * u, m.y())
          << QPointF(x - dir * 2.2 * u, m.y() + 2.8 * u);
        p.drawPolygon(t);
    };
    switch (glyph) {
    case Glyph::None: break;
    case Glyph::Play: tri(m.x() + 0.4 * u, 1); break;
    case Glyph::Pause:
        p.drawRect(QRectF(m.x() - 2.4 * u, m.y() - 2.8 * u, 1.7 * u, 5.6 * u));
        p.drawRect(QRectF(m.x() + 0.7 * u, m.y() - 2.8 * u, 1.7 * u, 5.6 * u));
        break;
    case Glyph::Stop: p.drawRect(QRectF(m.x() - 2.4 * u, m.y() - 2.4 * u, 4.8 * u, 4.8 * u)); break;
    case Glyph::Backward:
        tri(m.x() - 0.6 * u, -1);
        tri(m.x() + 2.0 * u, -1);
        break;
    case Glyph::Forward:
        tri(m.x() - 2.0 * u, 1);
        tri(m.x() + 0.6 * u, 1);
        break;
    case Glyph::Camera: {
        p.drawRoundedRect(QRectF(m.x() - 3.6 * u, m.y() - 2.0 * u, 7.2 * u, 4.8 * u), u, u);
        p.drawRect(QRectF(m.x() - 1.4 * u, m.y() - 3.0 * u, 2.8 * u, 1.2 * u));
        p.setBrush(QColor(0x30, 0x20, 0x24));
        p.drawEllipse(m + QPointF(0, 0.4 * u), 1.5 * u, 1.5 * u);
        break;
    }
    case Glyph::Film: {
        const QRectF r(m.x() - 3.4 * u, m.y() - 3.0 * u, 6.8 * u, 6.0 * u);
        p.drawRect(r);
        p.setBrush(QColor(0x30, 0x20, 0x24));
        for (int i = 0; i < 3; ++i) {
            p.drawRect(QRectF(r.left() + 0.5 * u, r.top() + (0.6 + 1.9 * i) * u, 0.9 * u, 0.9 * u));
            p.drawRect(QRectF(r.right() - 1.4 * u, r.top() + (0.6 + 1.9 * i) * u, 0.9 * u, 0.9 * u));
        }
        p.drawRect(QRectF(r.left() + 1.9 * u, r.top() + 0.8 * u, 3.0 * u, 4.4 * u));
        break;
    }
    case Glyph::BigScreen: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, std::max(1.0, 0.7 * u)));
        p.drawRect(QRectF(m.x() - 3.6 * u, m.y() - 2.6 * u, 7.2 * u, 5.0 * u));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(QRectF(m.x() - 1.6 * u, m.y() + 2.9 * u, 3.2 * u, 0.8 * u));
        tri(m.x() + 0.3 * u, 1);
        break;
    }
    case Glyph::Speaker: {
        QPolygonF sp;
        sp << QPointF(m.x() - 3.2 * u, m.y() - 1.2 * u) << QPointF(m.x() - 1.6 * u, m.y() - 1.2 * u)
           << QPointF(m.x() + 0.6 * u, m.y() - 3.2 * u) << QPointF(m.x() + 0.6 * u, m.y() + 3.2 * u)
           << QPointF(m.x() - 1.6 * u, m.y() + 1.2 * u) << QPointF(m.x() - 3.2 * u, m.y() + 1.2 * u);
        p.drawPolygon(sp);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, std::max(1.0, 0.6 * u)));
        p.drawArc(QRectF(m.x() - 1.0 * u, m.y() - 2.2 * u, 3.6 * u, 4.4 * u), -50 * 16, 100 * 16);
        p.drawArc(QRectF(m.x() - 1.6 * u, m.y() - 3.4 * u, 5.8 * u, 6.8 * u), -50 * 16, 100 * 16);
        break;
    }
    case Glyph::Down:
    case Glyph::Up: {
        const double dir = glyph == Glyph::Up ? -1 : 1;
        QPolygonF t;
        t << QPointF(m.x() - 3 * u, m.y() - dir * 1.5 * u) << QPointF(m.x() + 3 * u, m.y() - dir * 1.5 * u)
          << QPointF(m.x(), m.y() + dir * 2 * u);
        p.drawPolygon(t);
        break;
    }
    case Glyph::Minus: p.drawRect(QRectF(m.x() - 3 * u, m.y() - 0.7 * u, 6 * u, 1.4 * u)); break;
    case Glyph::Plus:
        p.drawRect(QRectF(m.x() - 3 * u, m.y() - 0.7 * u, 6 * u, 1.4 * u));
        p.drawRect(QRectF(m.x() - 0.7 * u, m.y() - 3 * u, 1.4 * u, 6 * u));
        break;
    case Glyph::Reset: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, std::max(1.0, 0.9 * u), Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(m.x() - 2.6 * u, m.y() - 2.6 * u, 5.2 * u, 5.2 * u), 100 * 16, 290 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        QPolygonF t;
        t << QPointF(m.x() - 1.0 * u, m.y() - 4.0 * u) << QPointF(m.x() + 1.4 * u, m.y() - 2.6 * u)
          << QPointF(m.x() - 1.0 * u, m.y() - 1.2 * u);
        p.drawPolygon(t);
        break;
    }
    case Glyph::Clear: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, std::max(1.0, 0.9 * u), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(m + QPointF(-2.4 * u, -2.4 * u), m + QPointF(2.4 * u, 2.4 * u));
        p.drawLine(m + QPointF(2.4 * u, -2.4 * u), m + QPointF(-2.4 * u, 2.4 * u));
        break;
    }
    case Glyph::Folder: {
        p.drawRect(QRectF(m.x() - 3.4 * u, m.y() - 1.8 * u, 6.8 * u, 4.4 * u));
        p.drawRect(QRectF(m.x() - 3.4 * u, m.y() - 2.8 * u, 2.8 * u, 1.2 * u));
        break;
    }
    }
}

} // namespace

QImage formBackground(QSize size)
{
    QImage img = blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0.0, QColor(0x4A, 0x2C, 0x32));
    g.setColorAt(0.55, QColor(0x33, 0x20, 0x25));
    g.setColorAt(1.0, QColor(0x22, 0x16, 0x1A));
    p.fillRect(img.rect(), g);
    // A thin light rim and a darker edge: the window has no frame of its own.
    p.setPen(QPen(QColor(0x8A, 0x5A, 0x60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    p.setPen(QPen(QColor(0x14, 0x0C, 0x0E), 1));
    p.drawRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3));
    // The accent line that separates the preview from the settings.
    QLinearGradient line(20, 0, size.width() - 20, 0);
    line.setColorAt(0, QColor(0, 0, 0, 0));
    line.setColorAt(0.5, accent);
    line.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(20, 385, size.width() - 40, 1), line);
    return img;
}

QImage playerFrame(QSize size)
{
    QImage img = blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0x1E, 0x14, 0x17));
    g.setColorAt(1, QColor(0x12, 0x0C, 0x0E));
    p.setPen(QPen(QColor(0x6E, 0x48, 0x4E), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 6, 6);
    return img;
}

QImage timeBox(QSize size)
{
    QImage img = blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x6E, 0x48, 0x4E), 1));
    p.setBrush(QColor(0x18, 0x10, 0x12));
    p.drawRoundedRect(QRectF(0.5, 8.5, size.width() - 1, size.height() - 17), 8, 8);
    return img;
}

QImage sliderTrack(QSize size)
{
    QImage img = blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double y = size.height() / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0C, 0x08, 0x09));
    p.drawRoundedRect(QRectF(2, y - 3, size.width() - 4, 6), 3, 3);
    p.setBrush(QColor(0x5A, 0x3C, 0x42));
    p.drawRoundedRect(QRectF(3, y - 2, size.width() - 6, 2), 1, 1);
    return img;
}

QImage sliderKnob(QSize size)
{
    QImage img = blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size.width(), 0);
    g.setColorAt(0, QColor(0xF4, 0xB0, 0x70));
    g.setColorAt(1, accent.darker(130));
    p.setPen(QPen(QColor(0x20, 0x10, 0x10), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 4.5, size.width() - 3, size.height() - 9), 3, 3);
    return img;
}

QImage spectrum(QSize size, bool grey)
{
    QImage img = blank(size);
    QPainter p(&img);
    QLinearGradient g(0, 0, size.width(), 0);
    // Hue -100 .. 100 maps to -180 .. 180 degrees around the source colour (red here).
    for (int i = 0; i <= 12; ++i) {
        const double t = i / 12.0;
        QColor c = QColor::fromHsvF(std::fmod(0.5 + t, 1.0), 0.85, 0.95);
        if (grey) {
            const int v = qGray(c.rgb());
            c = QColor(v, v, v);
        }
        g.setColorAt(t, c);
    }
    p.fillRect(img.rect(), g);
    p.setPen(QPen(QColor(0x10, 0x08, 0x0A), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    return img;
}

QImage funPicture(QSize size)
{
    QImage img = blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(8, 10, size.width() - 16, size.height() - 26);
    // A film strip with a play mark: what the dialog shapes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x18, 0x10, 0x12));
    p.drawRoundedRect(r, 6, 6);
    p.setBrush(QColor(0x6E, 0x48, 0x4E));
    for (int i = 0; i < 6; ++i) {
        const double x = r.left() + 6 + i * (r.width() - 12) / 6.0;
        p.drawRect(QRectF(x, r.top() + 4, 6, 5));
        p.drawRect(QRectF(x, r.bottom() - 9, 6, 5));
    }
    QRadialGradient g(r.center(), r.height() / 2);
    g.setColorAt(0, accent.lighter(130));
    g.setColorAt(1, accent.darker(150));
    p.setBrush(g);
    p.drawEllipse(r.center(), r.height() / 4, r.height() / 4);
    p.setBrush(QColor(0x18, 0x10, 0x12));
    QPolygonF t;
    const QPointF m = r.center();
    t << m + QPointF(-4, -7) << m + QPointF(8, 0) << m + QPointF(-4, 7);
    p.drawPolygon(t);
    return img;
}

QImage buttonPlate(QSize size, Glyph glyph, int look)
{
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    // Opaque, so that the plate looks the same however the button scales it.
    img.fill(QColor(0x33, 0x20, 0x25));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(0, 0, 0, size.height());
    const QColor top = look == 1   ? QColor(0x7A, 0x50, 0x58)
                       : look == 2 ? QColor(0x24, 0x16, 0x1A)
                       : look == 3 ? QColor(0x3A, 0x28, 0x2C)
                                   : QColor(0x5E, 0x3E, 0x44);
    const QColor bottom = look == 2 ? QColor(0x40, 0x2A, 0x30) : QColor(0x2C, 0x1C, 0x20);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
    if (look == 2)
        bevel(p, r, QColor(0x10, 0x08, 0x0A), QColor(0x80, 0x58, 0x60));
    else
        bevel(p, r, QColor(0x9A, 0x70, 0x78), QColor(0x14, 0x0C, 0x0E));
    QRectF inner = r.adjusted(2, 2, -2, -2);
    if (look == 2)
        inner.translate(1, 1);
    const QColor ink = look == 1 ? QColor(0xFF, 0xD8, 0xB0) : look == 3 ? QColor(0x8C, 0x74, 0x78) : QColor(0xF2, 0xE6, 0xE8);
    drawGlyph(p, inner, glyph, ink);
    return img;
}

} // namespace optskin
