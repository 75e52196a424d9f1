#include "coregui/drawing.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "coregui/syscolors.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QVariant>

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------
// PictureBox

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent), backColor_(syscolors::sysRef(syscolors::ButtonFace))
{
    setFrameStyle(QFrame::NoFrame);
    fitCanvas();
}

void PictureBox::setBackColor(std::uint32_t colour)
{
    backColor_ = colour;
    update();
}

void PictureBox::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    update();
}

void PictureBox::fitCanvas() const
{
    const QSize size = contentsRect().size().expandedTo(QSize(0, 0));
    if (canvas_.size() == size && !canvas_.isNull())
        return;
    QImage fresh(size.isEmpty() ? QSize(1, 1) : size, QImage::Format_ARGB32_Premultiplied);
    fresh.fill(Qt::transparent);
    if (!canvas_.isNull()) {
        QPainter p(&fresh);
        p.drawImage(0, 0, canvas_);
    }
    canvas_ = fresh;
}

QImage &PictureBox::canvas()
{
    fitCanvas();
    return canvas_;
}

const QImage &PictureBox::canvas() const
{
    fitCanvas();
    return canvas_;
}

void PictureBox::Cls()
{
    fitCanvas();
    canvas_.fill(Qt::transparent);
    update();
}

QImage PictureBox::composed() const
{
    fitCanvas();
    QImage out(canvas_.size(), QImage::Format_RGB32);
    out.fill(syscolors::toQColor(backColor_));
    QPainter p(&out);
    if (!picture_.isNull())
        p.drawPixmap(0, 0, picture_);
    p.drawImage(0, 0, canvas_);
    return out;
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    fitCanvas();
    QFrame::paintEvent(event);
    QPainter p(this);
    p.drawImage(contentsRect().topLeft(), composed());
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    fitCanvas();
}

// ---------------------------------------------------------------------------
// Progress bar

namespace mdlProgressBar {

QString progressText(float min, float max, float value, const QString &caption)
{
    if (!(max - min > 0))
        return QString();
    if (!caption.isEmpty())
        return caption;
    const float fraction = (value - min) / (max - min);
    return numbertext::fixed(static_cast<double>(fraction) * 100.0, 1) + QStringLiteral(" %");
}

int progressSplit(float min, float max, float value, int width)
{
    if (!(max - min > 0) || width <= 0)
        return 0;
    const double x = static_cast<double>((value - min) / (max - min)) * width;
    if (!(x > 0))
        return 0;  // also NaN
    if (x >= width)
        return width;
    return static_cast<int>(numbertext::roundHalfEven(x));
}

void drawProgressBar(QImage &pic, float min, float max, float value, const QString &caption,
                     bool showText, std::uint32_t textColour, std::uint32_t restColour,
                     std::uint32_t doneColour, const QFont &font)
{
    if (pic.isNull() || !(max - min > 0))
        return;
    const int w = pic.width();
    const int h = pic.height();
    const int split = progressSplit(min, max, value, w);
    QPainter p(&pic);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(0, 0, split, h), syscolors::toQColor(doneColour));
    p.fillRect(QRect(split, 0, w - split, h), syscolors::toQColor(restColour));
    if (!showText)
        return;
    // The text is drawn in its own colour: mixing it with the bar (as an inverting
    // pen would) makes white text vanish on the dark bar.
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QString text = progressText(min, max, value, caption);
    p.setFont(font);
    const QFontMetrics fm(font, &pic);
    const int x = (w - fm.horizontalAdvance(text)) / 2;
    const int y = (h - fm.height()) / 2;
    p.setPen(syscolors::toQColor(textColour));
    p.drawText(x, y + fm.ascent(), text);
}

void drawProgressBar(PictureBox *pic, float min, float max, float value, const QString &caption,
                     bool showText, std::uint32_t textColour, std::uint32_t restColour,
                     std::uint32_t doneColour)
{
    if (!pic)
        return;
    drawProgressBar(pic->canvas(), min, max, value, caption, showText, textColour, restColour,
                    doneColour, pic->font());
    pic->Refresh();
}

} // namespace mdlProgressBar

// ---------------------------------------------------------------------------
// Stretched pictures

namespace mdlStretchPicture {

QPixmap StretchPicture(const QPixmap &picture, int width, int height, int keepAspect,
                       std::uint32_t backColour, int force)
{
    Q_UNUSED(keepAspect);
    Q_UNUSED(force);
    if (picture.isNull() || width <= 0 || height <= 0)
        return picture;
    const QSize source = picture.size();
    if (source.isEmpty() || source == QSize(width, height))
        return picture;
    // Stretched pixel by pixel, as a blit would; see-through parts show backColour.
    const QPixmap scaled = picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (scaled.isNull())
        return picture;  // a size that cannot be made
    if (!scaled.hasAlphaChannel())
        return scaled;
    QPixmap result(scaled.size());
    result.fill(syscolors::toQColor(backColour));
    QPainter(&result).drawPixmap(0, 0, scaled);
    return result;
}

} // namespace mdlStretchPicture

// ---------------------------------------------------------------------------
// File icons

namespace mdlIconVarne {

QIcon fileIcon(const QString &path)
{
    static QFileIconProvider provider;
    QString p = path;
    FileObject &files = mdlMavrell::fileObject();
    if (files.FileExists(p)) {
        const QIcon icon = provider.icon(QFileInfo(p));
        if (!icon.isNull())
            return icon;
    }
    const QString ext = files.GetExtensionName(p);
    if (!ext.isEmpty()) {
        static QMimeDatabase db;
        const QMimeType mime = db.mimeTypeForFile(QStringLiteral("file.") + ext, QMimeDatabase::MatchExtension);
        if (mime.isValid() && !mime.isDefault()) {
            QIcon icon = QIcon::fromTheme(mime.iconName());
            if (icon.isNull())
                icon = QIcon::fromTheme(mime.genericIconName());
            if (!icon.isNull())
                return icon;
        }
    }
    return provider.icon(QAbstractFileIconProvider::File);
}

void DrawFileIcon(QImage &pic, const QString &path, int x, int y, int cx, int cy)
{
    if (pic.isNull())
        return;
    pic.fill(Qt::transparent);
    if (cx <= 0 || cy <= 0)
        return;
    const QIcon icon = fileIcon(path);
    if (icon.isNull())
        return;
    const QPixmap pm = icon.pixmap(QSize(cx, cy));
    QPainter p(&pic);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(QRect(x, y, cx, cy), pm);
}

void DrawFileIcon(PictureBox *pic, const QString &path, int x, int y, int cx, int cy)
{
    if (!pic)
        return;
    pic->Cls();
    DrawFileIcon(pic->canvas(), path, x, y, cx, cy);
    pic->Refresh();
}

} // namespace mdlIconVarne

// ---------------------------------------------------------------------------
// Edges and frames

namespace mdlSetBoxSpec {

namespace {

// One ring of an edge: light on top and left, dark on the right and bottom.
void ring(QPainter &p, const QRect &r, std::uint32_t light, std::uint32_t dark)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QColor lt = syscolors::toQColor(light);
    const QColor rb = syscolors::toQColor(dark);
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), lt);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), lt);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), rb);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), rb);
}

const char *const styleProperty = "mavrellWindowStyle";
const char *const exStyleProperty = "mavrellWindowExStyle";

void applyFrame(QWidget *widget, StyleBits bits)
{
    const bool client = bits.exStyle & WS_EX_CLIENTEDGE;
    const bool stat = bits.exStyle & WS_EX_STATICEDGE;
    const bool modal = bits.exStyle & WS_EX_DLGMODALFRAME;
    const bool thick = bits.style & WS_THICKFRAME;
    const bool border = bits.style & WS_BORDER;
    const bool any = client || stat || modal || thick || border;

    if (auto *frame = qobject_cast<QFrame *>(widget)) {
        int shape = QFrame::NoFrame;
        int width = 0;
        if (client && (stat || modal)) {
            shape = QFrame::Panel | QFrame::Sunken;
            width = 3;
        } else if (client) {
            shape = QFrame::WinPanel | QFrame::Sunken;
            width = 2;
        } else if (stat) {
            shape = QFrame::Panel | QFrame::Sunken;
            width = 1;
        } else if (modal) {
            shape = QFrame::WinPanel | QFrame::Raised;
            width = 2;
        } else if (thick) {
            shape = QFrame::Panel | QFrame::Raised;
            width = 3;
        } else if (border) {
            shape = QFrame::Box | QFrame::Plain;
            width = 1;
        }
        frame->setFrameStyle(shape);
        if (width > 0)
            frame->setLineWidth(width);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setFrame(any);
    } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        combo->setFrame(any);
    } else if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget)) {
        spin->setFrame(any);
    }
    widget->update();
}

void storeBits(QWidget *widget, StyleBits bits)
{
    widget->setProperty(styleProperty, QVariant::fromValue<quint32>(bits.style));
    widget->setProperty(exStyleProperty, QVariant::fromValue<quint32>(bits.exStyle));
    applyFrame(widget, bits);
}

} // namespace

void drawEdge(QPainter &painter, const QRect &rect, int edge)
{
    using namespace syscolors;
    QRect r = rect;
    bool outer = false;
    if (edge & SunkenOuter) {
        ring(painter, r, sysColor(ButtonShadow), sysColor(ButtonHighlight));
        outer = true;
    } else if (edge & RaisedOuter) {
        ring(painter, r, sysColor(Light3D), sysColor(DarkShadow3D));
        outer = true;
    }
    if (outer)
        r = r.adjusted(1, 1, -1, -1);
    if (edge & SunkenInner)
        ring(painter, r, sysColor(DarkShadow3D), sysColor(Light3D));
    else if (edge & RaisedInner)
        ring(painter, r, sysColor(ButtonHighlight), sysColor(ButtonShadow));
}

void SetBoxEdge(PictureBox *box, int edge)
{
    if (!box)
        return;
    box->setFrameStyle(QFrame::NoFrame);
    box->Cls();
    QImage &canvas = box->canvas();
    {
        QPainter p(&canvas);
        drawEdge(p, canvas.rect(), edge);
    }
    box->Refresh();
}

StyleBits borderStyleBits(StyleBits old, int style)
{
    StyleBits b{old.style & ~(WS_BORDER | WS_THICKFRAME),
                old.exStyle & ~(WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME)};
    switch (style) {
    case 0: b.exStyle |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
    case 1: b.style |= WS_BORDER | WS_THICKFRAME; break;
    case 2: b.exStyle |= WS_EX_DLGMODALFRAME; break;
    case 3: b.exStyle |= WS_EX_STATICEDGE | WS_EX_CLIENTEDGE; break;
    case 4: b.exStyle |= WS_EX_CLIENTEDGE; break;
    case 5: b.exStyle |= WS_EX_STATICEDGE; break;
    case 6: b.style |= WS_BORDER; break;
    default: break;
    }
    return b;
}

StyleBits styleBits(const QWidget *widget)
{
    if (!widget)
        return {};
    return {widget->property(styleProperty).value<quint32>(),
            widget->property(exStyleProperty).value<quint32>()};
}

void ModifyStyle(QWidget *widget, std::uint32_t remove, std::uint32_t add)
{
    if (!widget)
        return;
    StyleBits b = styleBits(widget);
    b.style = (b.style & ~remove) | add;
    storeBits(widget, b);
}

void ModifyExStyle(QWidget *widget, std::uint32_t remove, std::uint32_t add)
{
    if (!widget)
        return;
    StyleBits b = styleBits(widget);
    b.exStyle = (b.exStyle & ~remove) | add;
    storeBits(widget, b);
}

void SetBorderStyle(QWidget *widget, int style)
{
    if (!widget)
        return;
    storeBits(widget, borderStyleBits(styleBits(widget), style));
}

} // namespace mdlSetBoxSpec
