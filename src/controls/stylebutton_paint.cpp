#include "controls/stylebutton_paint.h"

#include "core/numbertext.h"
#include "coregui/syscolors.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace stylepaint {

namespace {

int red(Colour c) { return static_cast<int>(c & 0xFF); }
int green(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
int blue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

QRgb toRgb(Colour c) { return qRgb(red(c), green(c), blue(c)); }
Colour fromRgb(QRgb p) { return syscolors::rgb(qRed(p), qGreen(p), qBlue(p)); }

int rounded(double x) { return static_cast<int>(numbertext::roundHalfEven(x)); }

// Drawing on the button's image with the pixel rules of the old desktop API:
// rectangles exclude their right and bottom edge, lines their last point.
class Canvas {
public:
    explicit Canvas(QImage &image) : img_(image) {}

    void pixel(int x, int y, Colour c)
    {
        if (x >= 0 && y >= 0 && x < img_.width() && y < img_.height())
            img_.setPixel(x, y, toRgb(c));
    }

    // The rectangle (x, y)-(x + w, y + h): filled, or framed with a one-pixel line.
    void box(int x, int y, int w, int h, Colour c, bool frameOnly = false)
    {
        const int r = x + w, b = y + h;
        if (w <= 0 || h <= 0)
            return;
        if (!frameOnly) {
            for (int yy = y; yy < b; ++yy)
                for (int xx = x; xx < r; ++xx)
                    pixel(xx, yy, c);
            return;
        }
        for (int xx = x; xx < r; ++xx) {
            pixel(xx, y, c);
            pixel(xx, b - 1, c);
        }
        for (int yy = y; yy < b; ++yy) {
            pixel(x, yy, c);
            pixel(r - 1, yy, c);
        }
    }
    void frame(int x, int y, int w, int h, Colour c) { box(x, y, w, h, c, true); }

    void moveTo(int x, int y)
    {
        x_ = x;
        y_ = y;
    }
    // From the current point to (x, y), which is not drawn and becomes the current point.
    void lineTo(int x, int y, Colour c)
    {
        int cx = x_, cy = y_;
        const int dx = std::abs(x - cx), sx = cx < x ? 1 : -1;
        const int dy = -std::abs(y - cy), sy = cy < y ? 1 : -1;
        int err = dx + dy;
        while (cx != x || cy != y) {
            pixel(cx, cy, c);
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                cx += sx;
            }
            if (e2 <= dx) {
                err += dx;
                cy += sy;
            }
        }
        moveTo(x, y);
    }
    void line(int x1, int y1, int x2, int y2, Colour c)
    {
        moveTo(x1, y1);
        lineTo(x2, y2, c);
    }

    // The two-line 3D edge; offset -1 leaves the outermost ring free.
    void frame3D(Colour topLeft, Colour bottomRight, Colour innerTopLeft, Colour innerBottomRight,
                 int offset, bool outerOnly)
    {
        const int a = std::abs(offset);
        const int r = img_.width() - 1 + offset, b = img_.height() - 1 + offset;
        moveTo(a, b);
        lineTo(a, a, topLeft);
        lineTo(r, a, topLeft);
        lineTo(r, b, bottomRight);
        lineTo(a - 1, b, bottomRight);
        if (outerOnly)
            return;
        moveTo(a + 1, b - 1);
        lineTo(a + 1, a + 1, innerTopLeft);
        lineTo(r - 1, a + 1, innerTopLeft);
        lineTo(r - 1, b - 1, innerBottomRight);
        lineTo(a, b - 1, innerBottomRight);
    }

    // A dotted rectangle that inverts every other pixel of its edge.
    void focusRect(const Box &r)
    {
        if (r.right <= r.left || r.bottom <= r.top)
            return;
        auto invert = [this](int x, int y) {
            if ((x + y) % 2 != 0 || x < 0 || y < 0 || x >= img_.width() || y >= img_.height())
                return;
            img_.setPixel(x, y, img_.pixel(x, y) ^ 0x00FFFFFF);
        };
        for (int x = r.left; x < r.right; ++x) {
            invert(x, r.top);
            if (r.bottom - 1 != r.top)
                invert(x, r.bottom - 1);
        }
        for (int y = r.top + 1; y < r.bottom - 1; ++y) {
            invert(r.left, y);
            if (r.right - 1 != r.left)
                invert(r.right - 1, y);
        }
    }

private:
    QImage &img_;
    int x_ = 0, y_ = 0;
};

QString trimBlanks(const QString &s)
{
    int b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

const QImage &measuringDevice()
{
    static const QImage device(1, 1, QImage::Format_RGB32);
    return device;
}

constexpr int captionFlags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap;

// One paint of the button: the state of the drawing steps.
// A caption drawn after the look was enlarged to the screen's pixels.
struct CaptionDraw {
    QRect rect;
    QFont font;
    QColor colour;
};

class LookPainter {
public:
    // captions: when given, the caption is not drawn but kept there for drawing later.
    LookPainter(QImage &image, const LookInput &in, std::vector<CaptionDraw> *captions = nullptr)
        : img_(image), in_(in), captions_(captions), cv_(image)
    {
        PaletteInput colours = in.colours;
        // In the own colours a hovered button is drawn entirely from its hover colour.
        if (in.hover && in.colours.scheme == OwnColours)
            colours.back = in.backOver;
        pal_ = buildPalette(colours);
        W_ = in.width;
        H_ = in.height;
    }

    int run()
    {
        cv_.box(0, 0, W_, H_, pal_.base);
        if (!in_.enabled) {
            disabled();
            picture(2);
        } else if (in_.state == 0 || in_.state == 1) {
            up();
            picture(0);
        } else if (in_.state == 2) {
            down();
            picture(1);
        }
        return lastStyle_;
    }

private:
    int type() const { return in_.buttonType >= 1 && in_.buttonType <= 14 ? in_.buttonType : 5; }
    bool defaultRing() const { return in_.showFocusRect && in_.displayAsDefault; }

    void focus()
    {
        if (in_.showFocusRect && in_.focused)
            cv_.focusRect(innerRect(in_.buttonType, W_, H_));
    }

    void text(const Box &r, Colour c, bool bold = false)
    {
        if (in_.caption.isEmpty())
            return;
        QFont f = in_.font;
        if (bold)
            f.setBold(true);
        const QRect rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
        const QColor colour(red(c), green(c), blue(c));
        if (captions_) {
            captions_->push_back({rect, f, colour});
            return;
        }
        QPainter p(&img_);
        p.setFont(f);
        p.setPen(colour);
        p.drawText(rect, captionFlags | Qt::TextDontClip, in_.caption);
    }

    void caption(int style, bool bold = false)
    {
        const Box &c = in_.layout.captionRect;
        const Box &d = in_.layout.downCaptionRect;
        switch (style) {
        case 0: text(c, pal_.text, bold); break;
        case 1: text(c, pal_.textOver, bold); break;
        case 2: text(d, type() == 4 ? pal_.light : pal_.textOver, bold); break;
        case 3:
            text(d, pal_.lighter, bold);
            text(c, pal_.shadow, bold);
            break;
        case 4: text(c, pal_.shadow, bold); break;
        case 5: text(c, shiftColor(pal_.brightBase, -104, true), bold); break;
        case 6:
            text(d, pal_.lighter, bold);
            text(c, pal_.base, bold);
            break;
        case 7:
            text(d, shiftColor(pal_.shadow, -50), bold);
            text(c, pal_.lighter, bold);
            break;
        default: return;
        }
        lastStyle_ = style;
        lastBold_ = bold;
    }

    void raised()
    {
        cv_.frame3D(pal_.lighter, pal_.shadow, pal_.lighter, pal_.shadow, -1, false);
        cv_.frame(0, 0, W_, H_, pal_.dark);
    }
    void sunken()
    {
        cv_.frame3D(pal_.shadow, pal_.lighter, pal_.shadow, pal_.lighter, -1, false);
        cv_.frame(0, 0, W_, H_, pal_.dark);
    }
    void classicUp() { cv_.frame3D(pal_.lighter, pal_.dark, pal_.light, pal_.shadow, 0, false); }
    void classicDown() { cv_.frame3D(pal_.dark, pal_.lighter, pal_.shadow, pal_.light, 0, false); }
    void singleUp() { cv_.frame3D(pal_.lighter, pal_.shadow, 0, 0, 0, true); }
    void singleDown() { cv_.frame3D(pal_.shadow, pal_.lighter, 0, 0, 0, true); }
    void seeThrough()
    {
        if (in_.background.isNull())
            return;
        QPainter p(&img_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, in_.background);
    }

    void up()
    {
        const bool over = in_.hover;
        const int style = over ? 1 : 0;
        switch (type()) {
        case 1: raised(); focus(); caption(style); break;
        case 2:
            if (defaultRing()) {
                cv_.frame3D(pal_.lighter, pal_.dark, pal_.light, pal_.shadow, -1, false);
                focus();
                cv_.frame(0, 0, W_, H_, pal_.dark);
            } else {
                classicUp();
            }
            caption(style);
            break;
        case 3: gradientUp(style); break;
        case 4: softUp(style); break;
        case 6: {
            const Colour l = shiftColor(pal_.light, 8);
            cv_.frame3D(l, pal_.shadow, l, pal_.shadow, 0, false);
            focus();
            caption(style);
            break;
        }
        case 7: singleUp(); focus(); caption(style); break;
        case 8:
            if (over)
                singleUp();
            focus();
            caption(style);
            break;
        case 9:
            if (over) {
                cv_.box(1, 1, W_, H_, pal_.selectionLight);
                caption(style);
                cv_.frame(0, 0, W_, H_, pal_.selection);
            } else {
                caption(style);
            }
            focus();
            break;
        case 11: seeThrough(); focus(); caption(style); break;
        case 12:
            if (over)
                classicUp();
            focus();
            caption(style);
            break;
        case 14: glassUp(style); break;
        default: break;  // 5, 10, 13: background and picture only
        }
    }

    void down()
    {
        switch (type()) {
        case 1: sunken(); focus(); caption(2); break;
        case 2:
            if (defaultRing()) {
                cv_.frame(0, 0, W_, H_, pal_.dark);
                cv_.frame(1, 1, W_ - 2, H_ - 2, pal_.shadow);
                focus();
            } else {
                classicDown();
            }
            caption(2);
            break;
        case 3: gradientDown(); break;
        case 4: softDown(); break;
        case 6: {
            const Colour l = shiftColor(pal_.light, 8);
            cv_.frame3D(pal_.shadow, l, pal_.shadow, l, 0, false);
            focus();
            caption(2);
            break;
        }
        case 7:
        case 8: singleDown(); focus(); caption(2); break;
        case 9:
            if (in_.pointerOver)
                cv_.box(0, 0, W_, H_,
                        in_.colours.scheme == SystemColours ? shiftColor(pal_.selectionLight, -32)
                                                            : blendColor(pal_.selection, 128));
            caption(2);
            cv_.frame(0, 0, W_, H_, pal_.selection);
            focus();
            break;
        case 11: seeThrough(); focus(); caption(2); break;
        case 12: classicDown(); focus(); caption(2); break;
        case 14: glassDown(); break;
        default: break;
        }
    }

    void disabled()
    {
        switch (type()) {
        case 1: raised(); caption(3); break;
        case 2: classicUp(); caption(3); break;
        case 3: gradientDisabled(); break;
        case 4: softUp(3); break;
        case 6: {
            const Colour l = shiftColor(pal_.light, 8);
            cv_.frame3D(l, pal_.shadow, l, pal_.shadow, 0, false);
            caption(4);
            break;
        }
        case 7: singleUp(); caption(3); break;
        case 8:
        case 12: caption(3); break;
        case 9: caption(4); break;
        case 11: seeThrough(); caption(3); break;
        case 14: glassDisabled(); break;
        default: break;
        }
    }

    // ---- Look 3: gradient with a ring ----
    void gradientRing(Colour frame, Colour corners)
    {
        cv_.frame(0, 0, W_, H_, frame);
        cv_.pixel(1, 1, corners);
        cv_.pixel(1, H_ - 2, corners);
        cv_.pixel(W_ - 2, 1, corners);
        cv_.pixel(W_ - 2, H_ - 2, corners);
    }
    void ringLines(Colour outer, Colour bottom, Colour top, Colour top2, Colour sides)
    {
        cv_.frame(1, 2, W_ - 2, H_ - 4, outer);
        cv_.line(2, H_ - 2, W_ - 2, H_ - 2, bottom);
        cv_.line(2, 1, W_ - 2, 1, top);
        cv_.line(1, 2, W_ - 1, 2, top2);
        cv_.line(2, 3, 2, H_ - 3, sides);
        cv_.line(W_ - 3, 3, W_ - 3, H_ - 3, sides);
    }
    void gradientUp(int style)
    {
        const Colour bright = pal_.brightBase;
        const float step = 25.0f / static_cast<float>(H_);
        for (int i = 1; i <= H_; ++i)
            cv_.line(0, i, W_, i, shiftColor(bright, -rounded(step * static_cast<float>(i)), true));
        caption(style);
        gradientRing(syscolors::rgb(0, 60, 115), syscolors::rgb(16, 77, 123));
        using syscolors::rgb;
        if (in_.hover) {
            ringLines(rgb(255, 178, 49), rgb(231, 150, 0), rgb(255, 243, 206), rgb(255, 219, 140),
                      rgb(255, 203, 107));
        } else if (in_.showFocusRect && (in_.focused || in_.displayAsDefault)) {
            ringLines(rgb(140, 174, 231), rgb(107, 130, 239), rgb(206, 231, 255), rgb(189, 215, 247),
                      rgb(181, 209, 240));
        } else {
            auto s = [bright](int amount) { return shiftColor(bright, amount, true); };
            cv_.line(2, H_ - 2, W_ - 2, H_ - 2, s(-48));
            cv_.line(1, H_ - 3, W_ - 2, H_ - 3, s(-32));
            cv_.line(W_ - 2, 2, W_ - 2, H_ - 2, s(-36));
            cv_.line(W_ - 3, 3, W_ - 3, H_ - 3, s(-24));
            cv_.line(2, 1, W_ - 2, 1, s(16));
            cv_.line(1, 2, W_ - 2, 2, s(10));
            cv_.line(1, 2, 1, H_ - 2, s(-5));
            cv_.line(2, 3, 2, H_ - 3, s(-10));
        }
    }
    void gradientDown()
    {
        const Colour bright = pal_.brightBase;
        const Colour c = shiftColor(bright, -32, true);
        const float step = 25.0f / static_cast<float>(H_);
        for (int i = 1; i <= H_; ++i)
            cv_.line(0, H_ - i, W_, H_ - i, shiftColor(c, -rounded(step * static_cast<float>(i)), true));
        caption(2);
        gradientRing(syscolors::rgb(0, 60, 115), syscolors::rgb(16, 77, 123));
        auto s = [c](int amount) { return shiftColor(c, amount, true); };
        cv_.line(2, H_ - 2, W_ - 2, H_ - 2, s(16));
        cv_.line(1, H_ - 3, W_ - 2, H_ - 3, s(10));
        cv_.line(W_ - 2, 2, W_ - 2, H_ - 2, s(5));
        cv_.line(2, 1, W_ - 2, 1, s(-32));
        cv_.line(1, 2, W_ - 2, 2, s(-24));
        cv_.line(1, 2, 1, H_ - 2, s(-32));
        cv_.line(2, 2, 2, H_ - 2, s(-22));
        cv_.line(W_ - 3, 3, W_ - 3, H_ - 3, bright);
    }
    void gradientDisabled()
    {
        const Colour bright = pal_.brightBase;
        cv_.box(0, 0, W_, H_, shiftColor(bright, -24, true));
        caption(5);
        gradientRing(shiftColor(bright, -84, true), shiftColor(bright, -72, true));
    }

    // ---- Look 4: soft edge ----
    void fourCorners(Colour c)
    {
        cv_.pixel(1, 1, c);
        cv_.pixel(1, H_ - 2, c);
        cv_.pixel(W_ - 2, 1, c);
        cv_.pixel(W_ - 2, H_ - 2, c);
    }
    void softUp(int style)
    {
        cv_.box(1, 1, W_ - 2, H_ - 2, pal_.light);
        caption(style);
        cv_.frame(0, 0, W_, H_, pal_.dark);
        fourCorners(pal_.dark);
        cv_.line(1, 2, 2, 0, pal_.base);
        cv_.line(3, 2, W_ - 3, 2, pal_.lighter);
        cv_.line(2, 2, 2, H_ - 3, pal_.lighter);
        cv_.pixel(3, 3, pal_.lighter);
        cv_.line(W_ - 3, 1, W_ - 3, H_ - 3, pal_.base);
        cv_.line(1, H_ - 3, W_ - 3, H_ - 3, pal_.base);
        cv_.pixel(W_ - 4, H_ - 4, pal_.base);
        cv_.line(W_ - 2, 2, W_ - 2, H_ - 2, pal_.shadow);
        cv_.line(2, H_ - 2, W_ - 2, H_ - 2, pal_.shadow);
        cv_.pixel(W_ - 3, H_ - 3, pal_.shadow);
    }
    void softDown()
    {
        const Colour s16 = shiftColor(pal_.shadow, -16), s32 = shiftColor(pal_.shadow, -32),
                     s64 = shiftColor(pal_.shadow, -64);
        cv_.box(1, 1, W_ - 2, H_ - 2, s16);
        caption(2);
        cv_.frame(0, 0, W_, H_, pal_.dark);
        cv_.frame(1, 1, W_ - 2, H_ - 2, s64);
        cv_.frame(2, 2, W_ - 4, H_ - 4, s32);
        cv_.pixel(2, 2, s64);
        cv_.pixel(3, 3, s32);
        fourCorners(pal_.dark);
        cv_.line(W_ - 3, 1, W_ - 3, H_ - 3, pal_.shadow);
        cv_.line(1, H_ - 3, W_ - 2, H_ - 3, pal_.shadow);
        cv_.pixel(W_ - 4, H_ - 4, pal_.shadow);
        cv_.line(W_ - 2, 3, W_ - 2, H_ - 2, s16);
        cv_.line(3, H_ - 2, W_ - 2, H_ - 2, s16);
        cv_.line(W_ - 2, H_ - 3, W_ - 4, H_ - 1, s32);
        cv_.pixel(2, H_ - 2, s32);
        cv_.pixel(W_ - 2, 2, s32);
    }

    // ---- Look 14: glass ----
    void glassShade()
    {
        const float step = 58.0f / static_cast<float>(H_);
        for (int i = 1; i <= H_; ++i)
            cv_.line(0, i, W_, i, shiftColor(pal_.lighter, -rounded(step * static_cast<float>(i))));
    }
    void glassEdge()
    {
        cv_.frame(0, 0, W_, H_, shiftColor(pal_.shadow, -50));
        cv_.frame(1, 1, W_ - 2, H_ - 2, shiftColor(pal_.base, -9));
        cv_.box(2, 2, W_ - 4, 2, pal_.lighter);
        cv_.box(2, 4, 2, H_ - 6, pal_.lighter);
    }
    void glassUp(int style)
    {
        if (in_.hover)
            cv_.box(0, 0, W_, H_, pal_.light);
        else
            glassShade();
        caption(style, in_.displayAsDefault);
        glassEdge();
        focus();
    }
    void glassDown()
    {
        cv_.box(1, 1, W_, H_, shiftColor(pal_.base, -9));
        cv_.frame(0, 0, W_, H_, shiftColor(pal_.shadow, -48));
        cv_.line(2, H_ - 2, W_ - 2, H_ - 2, pal_.lighter);
        cv_.line(W_ - 2, 2, W_ - 2, H_ - 1, pal_.lighter);
        caption(7);
        focus();
    }
    void glassDisabled()
    {
        glassShade();
        glassEdge();
        caption(6);
    }

    // ---- Pictures ----
    void put(const QImage &pic, int x, int y, PictureRender how)
    {
        how.useMask = in_.maskColorUse;
        how.maskColour = pal_.mask;
        paintPicture(img_, x, y, in_.pictureWidth, in_.pictureHeight, pic, how);
    }
    void silhouette(const QImage &pic, int x, int y, Colour c)
    {
        PictureRender how;
        how.hasSolid = true;
        how.solid = c;
        put(pic, x, y, how);
    }
    void greyIf(const QImage &pic, int x, int y, bool grey)
    {
        PictureRender how;
        how.grey = grey;
        put(pic, x, y, how);
    }

    void picture(int mode)
    {
        if (in_.pictureWidth * in_.pictureHeight == 0)
            return;
        const int x = in_.layout.pictureX, y = in_.layout.pictureY;
        const int t = type();
        if (mode == 0) {
            if (!in_.hover) {
                PictureRender how;
                how.grey = in_.pictureGreyUse;
                how.blend = t == 9;
                put(in_.picture, x, y, how);
            } else if (t == 9) {
                silhouette(in_.picture, x + 1, y + 1, pal_.shadow);
                put(in_.picture, x - 1, y - 1, {});
            } else {
                put(in_.pictureOver.isNull() ? in_.picture : in_.pictureOver, x, y, {});
            }
        } else if (mode == 1) {
            if (t == 9) {
                put(in_.picture, x, y, {});
            } else {
                const QImage &pic = !in_.pictureDown.isNull()   ? in_.pictureDown
                                    : !in_.pictureOver.isNull() ? in_.pictureOver
                                                                : in_.picture;
                put(pic, x + in_.downPictureShift, y + in_.downPictureShift, {});
            }
        } else {
            const bool g = in_.pictureDisableGreyUse;
            if (t == 3) {
                if (in_.pictureDisabledSame)
                    greyIf(in_.picture, x + 1, y + 1, g);
                else if (!in_.pictureDisabled.isNull())
                    greyIf(in_.pictureDisabled, x + 1, y + 1, g);
                else
                    greyIf(in_.picture, x + 1, y + 1, true);
            } else if (in_.pictureDisabledSame) {
                greyIf(in_.picture, x, y, g);
            } else if (!in_.pictureDisabled.isNull()) {
                greyIf(in_.pictureDisabled, x, y, g);
            } else if (t == 6 || t == 9) {
                silhouette(in_.picture, x, y, t == 9 ? shiftColor(pal_.shadow, 13) : pal_.shadow);
            } else {
                silhouette(in_.picture, x + 1, y + 1, pal_.lighter);
                silhouette(in_.picture, x, y, pal_.shadow);
            }
        }
        // A picture behind the caption must not hide it.
        if (in_.picturePosition == 4 && lastStyle_ >= 0)
            caption(lastStyle_, lastBold_);
    }

    QImage &img_;
    const LookInput &in_;
    std::vector<CaptionDraw> *captions_ = nullptr;
    Canvas cv_;
    Palette pal_;
    int W_ = 0, H_ = 0;
    int lastStyle_ = -1;
    bool lastBold_ = false;
};

} // namespace

int paintLook(QImage &image, const LookInput &in)
{
    if (in.width <= 0 || in.height <= 0)
        return -1;
    const qreal ratio = image.devicePixelRatio();
    if (ratio == 1.0)
        return image.size() == QSize(in.width, in.height) ? LookPainter(image, in).run() : -1;
    // On a screen with more pixels than units: the look keeps its one-unit lines and
    // pictures, enlarged; the caption is drawn with the screen's own pixels.
    if (image.size() != (QSizeF(in.width, in.height) * ratio).toSize())
        return -1;
    QImage units(in.width, in.height, image.format());
    std::vector<CaptionDraw> captions;
    const int style = LookPainter(units, in, &captions).run();
    QImage fine = units.scaled(image.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    fine.setDevicePixelRatio(ratio);
    {
        QPainter p(&fine);
        for (const CaptionDraw &c : captions) {
            p.setFont(c.font);
            p.setPen(c.colour);
            p.drawText(c.rect, captionFlags | Qt::TextDontClip, in.caption);
        }
    }
    image = fine;
    return style;
}

Colour shiftColor(Colour colour, int amount, bool relative)
{
    int r = red(colour) + amount;
    int g = green(colour) + amount;
    int b = relative ? blue(colour) + (blue(colour) * amount) / 192 : blue(colour) + amount;
    auto limit = [amount](int c) {
        if (amount >= 1)
            return std::min(c, 255);
        if (amount < 0)
            return std::max(c, 0);
        return c;
    };
    return syscolors::rgb(limit(r), limit(g), limit(b));
}

Colour blendColor(Colour colour, int alpha)
{
    auto mix = [alpha](int c) { return std::min(c * (255 - alpha) / 255 + alpha, 255); };
    return syscolors::rgb(mix(red(colour)), mix(green(colour)), mix(blue(colour)));
}

Palette buildPalette(const PaletteInput &in)
{
    using syscolors::sysColor;
    using syscolors::translate;
    Palette p;
    if (in.scheme == OwnColours || in.scheme == ContainerColours) {
        p.base = translate(in.scheme == OwnColours ? in.back : in.containerBack);
        p.light = shiftColor(p.base, 31);
        p.lighter = shiftColor(p.base, 47);
        p.shadow = shiftColor(p.base, -64);
        p.dark = shiftColor(p.base, -192);
        if (in.scheme == OwnColours) {
            p.text = translate(in.fore);
            p.textOver = translate(in.foreOver);
            p.selection = shiftColor(p.base, -128);
            p.selectionLight = p.base;
        } else {
            p.text = p.textOver = translate(in.containerFore);
            p.selection = sysColor(syscolors::Highlight);
            p.selectionLight = blendColor(p.selection, 176);
        }
    } else {
        p.base = sysColor(syscolors::ButtonFace);
        p.light = sysColor(syscolors::Light3D);
        p.lighter = sysColor(syscolors::ButtonHighlight);
        p.shadow = sysColor(syscolors::ButtonShadow);
        p.dark = sysColor(syscolors::DarkShadow3D);
        p.text = p.textOver = sysColor(syscolors::ButtonText);
        p.selection = sysColor(syscolors::Highlight);
        p.selectionLight = blendColor(p.selection, 176);
    }
    p.mask = translate(in.mask);
    p.brightBase = shiftColor(p.base, 48, in.buttonType == 3);
    return p;
}

Box innerRect(int buttonType, int width, int height)
{
    if (buttonType >= 7 && buttonType <= 12)
        return {3, 3, width - 3, height - 3};
    if (buttonType == 14)
        return {6, 6, width - 4, height - 4};
    return {4, 4, width - 4, height - 4};
}

QRegion buildRegion(int buttonType, int width, int height)
{
    QRegion region(0, 0, width, height);
    if (width <= 0 || height <= 0)
        return region;
    const int r = width - 1, b = height - 1;
    auto cut = [&region](int x, int y) { region -= QRegion(x, y, 1, 1); };
    if (buttonType == 1 || buttonType == 14) {
        cut(0, 0);
        cut(r, 0);
        cut(0, b);
        cut(r, b);
    } else if (buttonType == 3 || buttonType == 4) {
        cut(0, 0), cut(1, 0), cut(0, 1);
        cut(r - 1, 0), cut(r, 0), cut(r, 1);
        cut(0, b - 1), cut(0, b), cut(1, b);
        cut(r - 1, b), cut(r, b), cut(r, b - 1);
    }
    return region;
}

QSize measureCaption(const QString &caption, const QFont &font, int maxWidth)
{
    if (caption.isEmpty())
        return {0, 0};
    const QFontMetrics fm(font, &measuringDevice());
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(maxWidth, 1), 1 << 20),
                                    Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption);
    return r.size();
}

Layout calcLayout(const LayoutInput &in)
{
    const int W = in.width, H = in.height, pw = in.pictureWidth, ph = in.pictureHeight;
    Box area;
    switch (in.picturePosition) {
    case 0: area = {pw + 1, 1, W - 2, H - 2}; break;
    case 1: area = {1, 1, W - 2 - pw, H - 2}; break;
    case 2: area = {1, ph + 1, W - 2, H - 2}; break;
    case 3: area = {1, 1, W - 2, H - 2 - ph}; break;
    default: area = {1, 1, W - 2, H - 2}; break;
    }
    area = area.moved(in.captionShiftX, in.captionShiftY);

    const QSize text = measureCaption(in.caption, in.font, area.right - area.left);
    Box measured{area.left, area.top, area.left + text.width(), area.top + text.height()};

    Layout out;
    switch (in.picturePosition) {
    case 1: out.captionRect = measured.moved((W - measured.right - pw - 4) / 2, (H - measured.bottom) / 2); break;
    case 3: out.captionRect = measured.moved((W - measured.right) / 2, (H - measured.bottom - ph - 4) / 2); break;
    default: out.captionRect = measured.moved((W - measured.right) / 2, (H - measured.bottom) / 2); break;
    }
    out.downCaptionRect = out.captionRect.moved(in.downCaptionShift, in.downCaptionShift);

    out.pictureX = in.previousPictureX;
    out.pictureY = in.previousPictureY;
    if (in.hasPictureOrOver) {
        const Box &c = out.captionRect;
        if (!trimBlanks(in.caption).isEmpty() && in.picturePosition != 4) {
            switch (in.picturePosition) {
            case 0: out.pictureX = c.left - pw - 4; out.pictureY = (H - ph) / 2; break;
            case 1: out.pictureX = c.right + 4; out.pictureY = (H - ph) / 2; break;
            case 2: out.pictureX = (W - pw) / 2; out.pictureY = c.top - ph - 2; break;
            case 3: out.pictureX = (W - pw) / 2; out.pictureY = c.bottom + 2; break;
            default: break;
            }
        } else {
            out.pictureX = (W - pw) / 2;
            out.pictureY = (H - ph) / 2;
        }
    }
    return out;
}

void paintPicture(QImage &target, int x, int y, int width, int height, const QImage &picture,
                  const PictureRender &how)
{
    if (picture.isNull())
        return;
    if (width < 0 && height < 0) {
        width = picture.width();
        height = picture.height();
    }
    if (width <= 0 || height <= 0)
        return;

    // A picture with its own transparency is first laid onto a field of the mask colour.
    QImage source;
    if (picture.hasAlphaChannel()) {
        source = QImage(width, height, QImage::Format_RGB32);
        source.fill(toRgb(how.maskColour));
        QPainter p(&source);
        p.drawImage(0, 0, picture);
    } else {
        source = picture.convertToFormat(QImage::Format_RGB32);
    }
    const int w = std::min(width, source.width()), h = std::min(height, source.height());

    if (!how.useMask && !how.hasSolid && !how.grey && !how.blend) {
        QPainter p(&target);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(x, y, source, 0, 0, w, h);
        return;
    }
    const Colour transparent = how.maskColour & 0xFFFFFF;
    for (int row = 0; row < h; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= target.height())
            continue;
        for (int col = 0; col < w; ++col) {
            const int tx = x + col;
            if (tx < 0 || tx >= target.width())
                continue;
            const Colour px = fromRgb(source.pixel(col, row));
            if (how.useMask && px == transparent)
                continue;
            Colour out = px;
            if (how.hasSolid) {
                out = how.solid;
            } else if (how.grey) {
                const int l = rounded(0.3 * red(px) + 0.59 * green(px) + 0.11 * blue(px));
                out = syscolors::rgb(l, l, l);
            } else if (how.blend) {
                const Colour bg = fromRgb(target.pixel(tx, ty));
                out = syscolors::rgb((2 * red(px) + red(bg)) / 3, (2 * green(px) + green(bg)) / 3,
                                     (2 * blue(px) + blue(bg)) / 3);
            }
            target.setPixel(tx, ty, toRgb(out));
        }
    }
}

} // namespace stylepaint
