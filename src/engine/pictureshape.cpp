#include "engine/pictureshape.h"

#include "core/numbertext.h"
#include "engine/targetkinds.h"

#include <QRegularExpression>

#include <cmath>

namespace pictureshape {

namespace {

constexpr double nearEnough = 0.01;  // a shape within 1 % counts as the same

bool near(double a, double b) { return b > 0 && std::fabs(a / b - 1) <= nearEnough; }

int even(double v) { return std::max(2, int(std::lround(v / 2)) * 2); }

// The pixel shapes an MPEG-1 picture can say (width / height of a pixel): its header
// holds one of fourteen, given as a pixel's height over its width.
bool mpeg1HasPixel(double pixel)
{
    static const double heightOverWidth[] = {1.0,    0.6735, 0.7031, 0.7615, 0.8055, 0.8437, 0.8935,
                                             0.9157, 0.9815, 1.0255, 1.0695, 1.0950, 1.1575, 1.2015};
    for (double h : heightOverWidth)
        if (near(pixel, 1 / h))
            return true;
    return false;
}

// MPEG-2 says the shape of the frame: 4:3, 16:9, 2.21:1, or square pixels.
bool mpeg2HasShape(double aspect, double pixel)
{
    return near(pixel, 1) || near(aspect, 4.0 / 3) || near(aspect, 16.0 / 9) || near(aspect, 2.21);
}

// The first "scale=W:H" of the picture pieces: the size the options ask for.
bool scaleSize(const QString &pieces, int &w, int &h)
{
    static const QRegularExpression scale(QStringLiteral("scale=(\\d+):(\\d+)"));
    const auto m = scale.match(pieces);
    if (!m.hasMatch())
        return false;
    w = m.captured(1).toInt();
    h = m.captured(2).toInt();
    return w > 0 && h > 0;
}

// The size asked for keeps the source's own proportion (the size items that follow the
// source make the height even, so it may lie up to 2 pixels off).
bool keepsSourceProportion(const jobrecords::SourceInfo &s, const jobrecords::JobSettings &j)
{
    int w = 0, h = 0;
    if (!scaleSize(j.scaleFilter, w, h))
        return true;
    const double proportion = double(s.srcHeight) / s.srcWidth;
    return std::fabs(h - w * proportion) <= 2 || std::fabs(w - h / proportion) <= 2;
}

bool quarterTurn(const jobrecords::JobSettings &j) { return j.rotateFilter.contains(QLatin1String("rotate=")); }

} // namespace

double sourceShape(const jobrecords::SourceInfo &s)
{
    if (s.srcAspect > 0)
        return s.srcAspect;
    return s.hasPicture() ? double(s.srcWidth) / s.srcHeight : 0;
}

Frame frameOf(const jobrecords::SourceInfo &s, const jobrecords::JobSettings &j)
{
    Frame f{s.srcWidth, s.srcHeight};
    static const QRegularExpression sized(QStringLiteral("(?:scale|crop|expand)=(\\d+):(\\d+)"));
    for (auto it = sized.globalMatch(j.scaleFilter); it.hasNext();) {
        const auto m = it.next();
        f = {m.captured(1).toInt(), m.captured(2).toInt()};
    }
    if (quarterTurn(j))
        std::swap(f.width, f.height);
    return f;
}

Shape shapeFor(const jobrecords::SourceInfo &s, const jobrecords::JobSettings &j)
{
    const engine::TargetKind *kind = engine::targetKindOf(j);
    if (!kind || kind->shape == engine::ShapeRule::None || !s.hasPicture())
        return {};
    const Frame f = frameOf(s, j);
    if (f.width <= 0 || f.height <= 0)
        return {};
    const double shown = sourceShape(s);
    Shape out;
    switch (kind->shape) {
    case engine::ShapeRule::Frame43:
        out.aspect = 4.0 / 3;
        return out;
    case engine::ShapeRule::Frame43Or169:
        // The nearer of the two: their geometric mean lies between them.
        out.aspect = shown >= std::sqrt(4.0 / 3 * 16.0 / 9) ? 16.0 / 9 : 4.0 / 3;
        return out;
    default:
        break;
    }
    // The shape of a pixel of the result: the source's own where the size follows the
    // source's proportion, square where the options ask for a proportion of their own.
    double pixel = keepsSourceProportion(s, j) ? shown * s.srcHeight / s.srcWidth : 1.0;
    if (quarterTurn(j))
        pixel = 1 / pixel;
    const double aspect = pixel * f.width / f.height;
    bool written = true;
    switch (kind->shape) {
    case engine::ShapeRule::Mpeg1:
        written = mpeg1HasPixel(pixel);
        break;
    case engine::ShapeRule::Mpeg2:
        written = mpeg2HasShape(aspect, pixel);
        break;
    case engine::ShapeRule::Square:
        written = near(pixel, 1);
        break;
    default:
        break;
    }
    if (written) {
        out.aspect = aspect;
        return out;
    }
    // Square pixels: the picture loses height where its pixels were wide, width where
    // they were tall, and never grows.
    out.squareWidth = pixel > 1 ? f.width : even(f.width * pixel);
    out.squareHeight = pixel > 1 ? even(f.height / pixel) : f.height;
    out.aspect = double(out.squareWidth) / out.squareHeight;
    return out;
}

QString piece(const Shape &shape)
{
    if (shape.aspect <= 0)
        return {};
    QString p;
    if (shape.squareWidth > 0 && shape.squareHeight > 0)
        p = QStringLiteral(" -vf-add scale=") + numbertext::integer(shape.squareWidth) + QLatin1Char(':')
            + numbertext::integer(shape.squareHeight);
    return p + QStringLiteral(" -vf-add dsize=") + numbertext::fixed(shape.aspect, 4);
}

} // namespace pictureshape
