#include "mainwin/frmmain_look.h"

#include "controls/stylebutton.h"
#include "coregui/drawing.h"
#include "coregui/syscolors.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace look {

namespace {

// 0x00BBGGRR of an RGB colour.
constexpr std::uint32_t bgr(int r, int g, int b) { return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16; }

const QColor ink(0x1d, 0x2b, 0x3a);
const QColor softInk(0x4a, 0x5a, 0x6b);
const QColor titleTop(0x2f, 0x64, 0x91);
const QColor titleBottom(0x1d, 0x42, 0x63);

void setInk(QLabel *l, const QColor &c)
{
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, c);
    l->setPalette(pal);
}

} // namespace

QRect rowButton(int row)
{
    static const int tops[] = {46, 120, 184};
    return {16, tops[row < 0 || row > 2 ? 0 : row], 148, 46};
}

QRect pathLabel(int row)
{
    const QRect b = rowButton(row);
    return {176, b.y() + 13, 388, 20};
}

QRect titleButton(int index)
{
    return {windowSize.width() - 8 - (4 - index) * 28, 6, 26, 22};
}

QRect developerControl(int index)
{
    static const int xs[] = {16, 104, 220, 336};
    static const int ws[] = {80, 110, 110, 160};
    const int i = index < 0 || index > 3 ? 0 : index;
    return {xs[i], windowSize.height() + 4, ws[i], 22};
}

QRect funStart(bool facingLeft)
{
    const int x = facingLeft ? windowSize.width() - 24 : encodeNoteLabel.x();
    return {x, 212, 24, 28};
}

QRect lockOn(const QRect &button)
{
    return {button.x() + 6, button.y() + (button.height() - 18) / 2, 16, 18};
}

void styleMainButton(StyleButton *b)
{
    b->setButtonType(3);
    b->setColorScheme(stylepaint::OwnColours);
    b->setBackColor(bgr(0xe4, 0xec, 0xf5));
    b->setBackColorOver(bgr(0xf4, 0xf8, 0xfc));
    b->setForeColor(bgr(0x1d, 0x2b, 0x3a));
    b->setForeColorOver(bgr(0x1f, 0x4f, 0x80));
    b->setSkipOverAndEnter(false);
    QFont f = b->font();
    f.setPixelSize(13);
    f.setBold(true);
    b->setFont(f);
}

void styleEncodeButton(StyleButton *b, bool stop)
{
    styleMainButton(b);
    if (stop) {
        b->setBackColor(bgr(0xf6, 0xd9, 0xd2));
        b->setBackColorOver(bgr(0xfb, 0xe8, 0xe3));
        b->setForeColor(bgr(0x8a, 0x1f, 0x11));
        b->setForeColorOver(bgr(0xa8, 0x2a, 0x18));
    } else {
        b->setBackColor(bgr(0xd6, 0xee, 0xd8));
        b->setBackColorOver(bgr(0xe6, 0xf6, 0xe7));
        b->setForeColor(bgr(0x1b, 0x5e, 0x20));
        b->setForeColorOver(bgr(0x2e, 0x7d, 0x32));
    }
}

void styleLabel(QLabel *l)
{
    l->setMouseTracking(true);
    setInk(l, ink);
    l->setTextFormat(Qt::PlainText);
}

void stylePathLabel(QLabel *l)
{
    QFont f = l->font();
    f.setPixelSize(13);
    l->setFont(f);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void styleSmallLabel(QLabel *l)
{
    QFont f = l->font();
    f.setPixelSize(11);
    l->setFont(f);
    setInk(l, softInk);
}

void styleNoteLabel(QLabel *l)
{
    QFont f = l->font();
    f.setPixelSize(encodeNotePixelSize);
    l->setFont(f);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setInk(l, softInk);
}

void styleBusyNote(QLabel *l)
{
    QFont f = l->font();
    f.setPixelSize(13);
    f.setBold(true);
    l->setFont(f);
    setInk(l, QColor(0xb2, 0x4a, 0x00));
}

void styleVersionLabel(QLabel *l)
{
    QFont f = l->font();
    f.setPixelSize(11);
    l->setFont(f);
    setInk(l, QColor(0xc8, 0xdc, 0xee));
}

void styleLinkLabel(QLabel *l)
{
    QFont f = l->font();
    f.setPixelSize(12);
    f.setUnderline(true);
    l->setFont(f);
    l->setCursor(Qt::PointingHandCursor);
    setInk(l, QColor(0xff, 0xe0, 0x8a));
}

void styleTitleButton(QLabel *l, int index)
{
    l->setMouseTracking(true);
    l->setCursor(Qt::PointingHandCursor);
    l->setAlignment(Qt::AlignCenter);
    QPixmap pm(26, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xe8, 0xf1, 0xfa), 1.6));
    p.setBrush(Qt::NoBrush);
    switch (index) {
    case 0:  // language: a globe
        p.drawEllipse(QRectF(6.5, 4.5, 13, 13));
        p.drawEllipse(QRectF(10, 4.5, 6, 13));
        p.drawLine(QPointF(6.5, 11), QPointF(19.5, 11));
        break;
    case 1: {  // help
        QFont f;
        f.setFamily(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRect(0, 0, 26, 22), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case 2:  // minimise
        p.drawLine(QPointF(8, 15), QPointF(18, 15));
        break;
    default:  // close
        p.drawLine(QPointF(8.5, 6.5), QPointF(17.5, 15.5));
        p.drawLine(QPointF(17.5, 6.5), QPointF(8.5, 15.5));
        break;
    }
    p.end();
    l->setPixmap(pm);
}

void styleEstimateBox(PictureBox *box)
{
    box->setBackColor(bgr(0xdd, 0xe6, 0xef));
    QFont f = box->font();
    f.setPixelSize(11);
    box->setFont(f);
    QPalette pal = box->palette();
    pal.setColor(QPalette::WindowText, ink);
    box->setPalette(pal);
}

void styleDeveloperControl(QWidget *w)
{
    QFont f = w->font();
    f.setPixelSize(11);
    w->setFont(f);
}

void setBlockColour(QFrame *block, std::uint32_t colour)
{
    const QColor c(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF));
    block->setAutoFillBackground(true);
    QPalette pal = block->palette();
    pal.setColor(QPalette::Window, c);
    block->setPalette(pal);
    block->setProperty("blockColour", uint(colour));
}

QPixmap msgSayPicture()
{
    QPixmap pm(18, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe0, 0x8a));
    p.drawRoundedRect(QRectF(1, 1, 16, 10), 3, 3);
    QPainterPath tail;
    tail.moveTo(4, 10);
    tail.lineTo(4, 15);
    tail.lineTo(9, 10);
    p.drawPath(tail);
    return pm;
}

QPixmap funPicture(bool facingLeft)
{
    // A little film reel on legs.
    QPixmap pm(24, 28);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (facingLeft) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(QColor(0x2f, 0x64, 0x91), 1.4));
    p.setBrush(QColor(0x9c, 0xc3, 0xe6));
    p.drawEllipse(QRectF(3, 2, 18, 18));
    p.setBrush(QColor(0xee, 0xf3, 0xf8));
    for (const QPointF c : {QPointF(12, 6.5), QPointF(7.5, 11), QPointF(16.5, 11), QPointF(12, 15.5)})
        p.drawEllipse(c, 2.2, 2.2);
    p.drawLine(QPointF(9, 20), QPointF(6, 27));
    p.drawLine(QPointF(15, 20), QPointF(18, 27));
    p.setBrush(QColor(0x2f, 0x64, 0x91));
    p.drawEllipse(QPointF(19, 9), 1.2, 1.2);  // the eye looks ahead
    return pm;
}

QPixmap lockPicture()
{
    QPixmap pm(16, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x6b, 0x4a, 0x12), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 1.5, 8, 10), 0, 180 * 16);
    p.drawLine(QPointF(4, 6.5), QPointF(4, 9));
    p.drawLine(QPointF(12, 6.5), QPointF(12, 9));
    p.setBrush(QColor(0xe3, 0xb3, 0x4a));
    p.drawRoundedRect(QRectF(2, 8, 12, 9), 2, 2);
    return pm;
}

void paintBackground(QPainter &p, const QRect &r, const QRect &keepClear)
{
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(0xf1, 0xf5, 0xf9));
    body.setColorAt(1, QColor(0xd8, 0xe2, 0xec));
    p.fillRect(r, body);

    const QRect title(r.left(), r.top(), r.width(), titleHeight);
    QLinearGradient strip(title.topLeft(), title.bottomLeft());
    strip.setColorAt(0, titleTop);
    strip.setColorAt(1, titleBottom);
    p.fillRect(title, strip);
    p.setPen(QColor(0x14, 0x30, 0x4a));
    p.drawLine(title.bottomLeft(), QPoint(title.right(), title.bottom()));

    QFont f;
    f.setFamily(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.drawText(QRect(14, 0, 90, titleHeight), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Mavrell"));

    // Soft dividers between the rows of buttons; where a text lies over one, the line
    // stops short of it.
    p.setPen(QColor(0xc3, 0xcf, 0xdb));
    const QRect clear = keepClear.adjusted(-8, -2, 8, 2);
    for (int y : {115, 176, 243}) {
        if (keepClear.isEmpty() || y < clear.top() || y > clear.bottom()) {
            p.drawLine(16, y, r.width() - 16, y);
            continue;
        }
        if (clear.left() > 16)
            p.drawLine(16, y, clear.left() - 1, y);
        if (clear.right() < r.width() - 16)
            p.drawLine(clear.right() + 1, y, r.width() - 16, y);
    }
    p.setPen(QColor(0x9a, 0xab, 0xbd));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

} // namespace look
