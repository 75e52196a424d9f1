#include "controls/stylebutton.h"

#include "controls/propertybag.h"
#include "controls/stylebutton_paint.h"
#include "coregui/syscolors.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace stylepaint;
using syscolors::rgb;
using syscolors::sysColor;

namespace {

QRgb q(Colour c) { return syscolors::toQColor(c).rgb(); }
Colour at(const QImage &img, int x, int y) { return syscolors::fromQColor(QColor(img.pixel(x, y))); }

// One paint of a look without caption or picture, so no pixel depends on fonts.
QImage paint(int type, int state, bool enabled = true, int scheme = SystemColours,
             Colour back = rgb(100, 120, 140), int w = 40, int h = 20)
{
    LookInput in;
    in.width = w;
    in.height = h;
    in.buttonType = type;
    in.state = state;
    in.hover = state == 1;
    in.enabled = enabled;
    in.colours.scheme = scheme;
    in.colours.buttonType = type;
    in.colours.back = back;
    in.backOver = back;
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    paintLook(img, in);
    return img;
}

// A button on a shown host window, driven by synthetic mouse input.
struct Hosted {
    QWidget host;
    StyleButton *button;
    QSignalSpy clicks, downs, ups, enters, leaves;

    Hosted()
        : button(new StyleButton(&host, "cmdTest")),
          clicks(button, &StyleButton::Click),
          downs(button, &StyleButton::MouseDown),
          ups(button, &StyleButton::MouseUp),
          enters(button, &StyleButton::MouseEnter),
          leaves(button, &StyleButton::MouseLeave)
    {
        host.setGeometry(50, 50, 200, 100);
        button->setGeometry(20, 20, 80, 30);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    QPoint inside() const { return {40, 15}; }
    QPoint outside() const { return {150, 70}; }  // on the host, beside the button

    void send(QEvent::Type type, QPoint local, Qt::MouseButton b, Qt::MouseButtons held)
    {
        const QPoint global = button->mapToGlobal(local);
        QCursor::setPos(global);
        QMouseEvent e(type, QPointF(local), QPointF(global), b, held, Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    void move(QPoint local, Qt::MouseButtons held = Qt::NoButton)
    {
        send(QEvent::MouseMove, local, Qt::NoButton, held);
    }
    void press(Qt::MouseButton b = Qt::LeftButton, QPoint p = {40, 15})
    {
        send(QEvent::MouseButtonPress, p, b, b);
    }
    void release(Qt::MouseButton b = Qt::LeftButton, QPoint p = {40, 15})
    {
        send(QEvent::MouseButtonRelease, p, b, Qt::NoButton);
    }
    // The pointer leaves without a move reaching the button, as on a real desktop.
    bool leaveAndWaitForTimer()
    {
        QCursor::setPos(button->mapToGlobal(outside()));
        return QTest::qWaitFor([this] { return !button->isHoverTracking(); }, 2000);
    }
};

} // namespace

// ---------------------------------------------------------------- colour arithmetic

TEST(StyleButtonColours, ShiftAndBlendArithmetic)
{
    struct Case {
        Colour in;
        int amount;
        bool relative;
        Colour out;
    } cases[] = {
        {rgb(250, 10, 10), 31, false, rgb(255, 41, 41)},   // capped at 255
        {rgb(10, 200, 200), -64, false, rgb(0, 136, 136)},  // raised to 0
        {rgb(200, 100, 50), 48, true, rgb(248, 148, 62)},   // blue moves by 50 * 48 / 192
        {rgb(10, 20, 100), -104, true, rgb(0, 0, 46)},      // 100 - 54 (truncated toward 0)
        {rgb(10, 20, 255), 48, true, rgb(58, 68, 255)},     // relative blue capped too
        {rgb(1, 2, 3), 0, false, rgb(1, 2, 3)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(shiftColor(c.in, c.amount, c.relative), c.out) << std::hex << c.in << " " << c.amount;

    EXPECT_EQ(blendColor(rgb(10, 36, 106), 176), rgb(179, 187, 208));
    EXPECT_EQ(blendColor(rgb(0, 0, 0), 128), rgb(128, 128, 128));
    EXPECT_EQ(blendColor(rgb(255, 255, 255), 200), rgb(255, 255, 255));
}

TEST(StyleButtonColours, PaletteOfEachScheme)
{
    PaletteInput in;
    in.back = rgb(100, 120, 140);
    in.fore = rgb(1, 2, 3);
    in.foreOver = rgb(4, 5, 6);
    in.mask = syscolors::sysRef(syscolors::Window);  // a reference is translated
    in.containerBack = rgb(50, 60, 70);
    in.containerFore = rgb(7, 8, 9);

    in.scheme = OwnColours;
    Palette own = buildPalette(in);
    EXPECT_EQ(own.base, rgb(100, 120, 140));
    EXPECT_EQ(own.light, rgb(131, 151, 171));
    EXPECT_EQ(own.lighter, rgb(147, 167, 187));
    EXPECT_EQ(own.shadow, rgb(36, 56, 76));
    EXPECT_EQ(own.dark, rgb(0, 0, 0));
    EXPECT_EQ(own.text, rgb(1, 2, 3));
    EXPECT_EQ(own.textOver, rgb(4, 5, 6));
    EXPECT_EQ(own.selection, rgb(0, 0, 12));
    EXPECT_EQ(own.selectionLight, own.base);
    EXPECT_EQ(own.mask, rgb(255, 255, 255));
    EXPECT_EQ(own.brightBase, rgb(148, 168, 188));

    in.buttonType = 3;  // the gradient look brightens blue relatively
    EXPECT_EQ(buildPalette(in).brightBase, rgb(148, 168, 175));
    in.buttonType = 2;

    in.scheme = ContainerColours;
    Palette cont = buildPalette(in);
    EXPECT_EQ(cont.base, rgb(50, 60, 70));
    EXPECT_EQ(cont.shadow, rgb(0, 0, 6));
    EXPECT_EQ(cont.text, rgb(7, 8, 9));
    EXPECT_EQ(cont.textOver, rgb(7, 8, 9));
    EXPECT_EQ(cont.selection, sysColor(syscolors::Highlight));
    EXPECT_EQ(cont.selectionLight, blendColor(sysColor(syscolors::Highlight), 176));

    // The system scheme ignores the button's own colours; so does any unknown scheme.
    for (int scheme : {2, 0, 4, -1}) {
        in.scheme = scheme;
        Palette sys = buildPalette(in);
        EXPECT_EQ(sys.base, sysColor(syscolors::ButtonFace)) << scheme;
        EXPECT_EQ(sys.light, sysColor(syscolors::Light3D));
        EXPECT_EQ(sys.lighter, sysColor(syscolors::ButtonHighlight));
        EXPECT_EQ(sys.shadow, sysColor(syscolors::ButtonShadow));
        EXPECT_EQ(sys.dark, sysColor(syscolors::DarkShadow3D));
        EXPECT_EQ(sys.text, sysColor(syscolors::ButtonText));
        EXPECT_EQ(sys.textOver, sysColor(syscolors::ButtonText));
    }
}

// ---------------------------------------------------------------- geometry

TEST(StyleButtonGeometry, RegionCutsCornersPerLook)
{
    const int W = 10, H = 8;
    const QList<QPoint> corners{{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}};
    const QList<QPoint> ells{{1, 0}, {0, 1}, {W - 2, 0}, {W - 1, 1}, {0, H - 2}, {1, H - 1}, {W - 2, H - 1}, {W - 1, H - 2}};
    for (int type = 0; type <= 15; ++type) {
        const QRegion r = buildRegion(type, W, H);
        const bool cut = type == 1 || type == 14 || type == 3 || type == 4;
        const bool ell = type == 3 || type == 4;
        for (QPoint p : corners)
            EXPECT_EQ(r.contains(p), !cut) << type << " " << p.x() << "," << p.y();
        for (QPoint p : ells)
            EXPECT_EQ(r.contains(p), !ell) << type << " " << p.x() << "," << p.y();
        EXPECT_TRUE(r.contains(QPoint(2, 2)));
        EXPECT_TRUE(r.contains(QPoint(W - 3, H - 3)));
    }
}

TEST(StyleButtonGeometry, InnerRectangleInsetPerLook)
{
    EXPECT_EQ(innerRect(1, 50, 20), (Box{4, 4, 46, 16}));
    EXPECT_EQ(innerRect(7, 50, 20), (Box{3, 3, 47, 17}));
    EXPECT_EQ(innerRect(12, 50, 20), (Box{3, 3, 47, 17}));
    EXPECT_EQ(innerRect(14, 50, 20), (Box{6, 6, 46, 16}));
    EXPECT_EQ(innerRect(99, 50, 20), (Box{4, 4, 46, 16}));
}

TEST(StyleButtonGeometry, PictureSitsBesideTheCaptionOrInTheMiddle)
{
    LayoutInput in;
    in.width = 120;
    in.height = 40;
    in.pictureWidth = 16;
    in.pictureHeight = 10;
    in.hasPictureOrOver = true;
    in.caption = "Open";

    in.picturePosition = 0;
    Layout l = calcLayout(in);
    EXPECT_EQ(l.pictureX, l.captionRect.left - 16 - 4);
    EXPECT_EQ(l.pictureY, (40 - 10) / 2);
    in.picturePosition = 1;
    l = calcLayout(in);
    EXPECT_EQ(l.pictureX, l.captionRect.right + 4);
    in.picturePosition = 2;
    l = calcLayout(in);
    EXPECT_EQ(l.pictureX, (120 - 16) / 2);
    EXPECT_EQ(l.pictureY, l.captionRect.top - 10 - 2);
    in.picturePosition = 3;
    l = calcLayout(in);
    EXPECT_EQ(l.pictureY, l.captionRect.bottom + 2);
    EXPECT_EQ(l.downCaptionRect, l.captionRect.moved(1, 1));

    // A caption of blanks counts as none: the picture is centred whatever the position.
    in.caption = "   ";
    in.picturePosition = 0;
    l = calcLayout(in);
    EXPECT_EQ(l.pictureX, 52);
    EXPECT_EQ(l.pictureY, 15);

    // Without Picture or PictureOver the position stays where it was.
    in.hasPictureOrOver = false;
    in.previousPictureX = 7;
    in.previousPictureY = 9;
    l = calcLayout(in);
    EXPECT_EQ(l.pictureX, 7);
    EXPECT_EQ(l.pictureY, 9);
}

// ---------------------------------------------------------------- looks

TEST(StyleButtonLooks, EdgesKeepTheLastPixelRule)
{
    const Palette sys = buildPalette(PaletteInput{});
    // Classic up: outer lighter/dark, inner light/shadow; each line stops one pixel short,
    // so the bottom-right corner belongs to the dark line that runs on to it.
    QImage up = paint(2, 0);
    EXPECT_EQ(at(up, 0, 0), sys.lighter);
    EXPECT_EQ(at(up, 0, 19), sys.dark);   // the bottom line runs left past the start
    EXPECT_EQ(at(up, 39, 0), sys.dark);
    EXPECT_EQ(at(up, 0, 18), sys.lighter);  // the inner bottom line stops short of the edge
    EXPECT_EQ(at(up, 39, 19), sys.dark);
    EXPECT_EQ(at(up, 1, 1), sys.light);
    EXPECT_EQ(at(up, 38, 1), sys.shadow);
    EXPECT_EQ(at(up, 38, 18), sys.shadow);
    EXPECT_EQ(at(up, 20, 10), sys.base);

    QImage down = paint(2, 2);
    EXPECT_EQ(at(down, 0, 0), sys.dark);
    EXPECT_EQ(at(down, 39, 19), sys.lighter);
    EXPECT_EQ(at(down, 1, 1), sys.shadow);
    EXPECT_EQ(at(down, 38, 18), sys.light);

    // Raised (look 1): dark outer frame, the 3D edge one ring inside.
    QImage raised = paint(1, 0);
    EXPECT_EQ(at(raised, 0, 0), sys.dark);
    EXPECT_EQ(at(raised, 39, 19), sys.dark);
    EXPECT_EQ(at(raised, 1, 1), sys.lighter);
    EXPECT_EQ(at(raised, 38, 18), sys.shadow);
    EXPECT_EQ(at(paint(1, 2), 1, 1), sys.shadow);

    // Single edges of looks 7 and 8: only the outer line.
    QImage single = paint(7, 0);
    EXPECT_EQ(at(single, 0, 0), sys.lighter);
    EXPECT_EQ(at(single, 39, 19), sys.shadow);
    EXPECT_EQ(at(single, 1, 1), sys.base);
    EXPECT_EQ(at(paint(8, 0), 0, 0), sys.base);     // flat until hovered
    EXPECT_EQ(at(paint(8, 1), 0, 0), sys.lighter);
    EXPECT_EQ(at(paint(12, 0), 0, 0), sys.base);
    EXPECT_EQ(at(paint(12, 1), 39, 19), sys.dark);  // classic up when hovered
}

TEST(StyleButtonLooks, BackgroundOnlyLooksAndStates)
{
    const Palette sys = buildPalette(PaletteInput{});
    // Looks 5, 10, 13 and types outside 1..14 draw only the background; so does state 3.
    for (auto [type, state] : {std::pair{5, 0}, {10, 2}, {13, 1}, {0, 0}, {15, 2}, {2, 3}, {1, -1}}) {
        QImage img = paint(type, state);
        for (QPoint p : {QPoint(0, 0), QPoint(39, 19), QPoint(1, 1), QPoint(20, 10)})
            EXPECT_EQ(at(img, p.x(), p.y()), sys.base) << type << "/" << state;
    }
}

TEST(StyleButtonLooks, CaptionHiddenOnPictureLooksAndOnTopOfACentredPicture)
{
    LookInput in;
    in.width = 60;
    in.height = 24;
    in.caption = "MMMM";
    LayoutInput li;
    li.width = 60;
    li.height = 24;
    li.caption = in.caption;
    li.hasPictureOrOver = true;
    li.pictureWidth = 60;
    li.pictureHeight = 24;
    in.layout = calcLayout(li);
    auto pixelsOtherThan = [](const QImage &img, Colour c) {
        int n = 0;
        for (int y = 4; y < img.height() - 4; ++y)
            for (int x = 4; x < img.width() - 4; ++x)
                n += at(img, x, y) != c;
        return n;
    };
    const Colour base = sysColor(syscolors::ButtonFace);
    QImage img(60, 24, QImage::Format_RGB32);
    for (int type : {5, 10, 13}) {
        in.buttonType = type;
        paintLook(img, in);
        EXPECT_EQ(pixelsOtherThan(img, base), 0) << type;
    }
    in.buttonType = 2;
    paintLook(img, in);
    EXPECT_GT(pixelsOtherThan(img, base), 0);

    // A picture filling the button, behind the caption: the caption still shows.
    QImage pic(60, 24, QImage::Format_RGB32);
    pic.fill(qRgb(0, 200, 0));
    in.picture = pic;
    in.pictureWidth = 60;
    in.pictureHeight = 24;
    paintLook(img, in);
    EXPECT_GT(pixelsOtherThan(img, rgb(0, 200, 0)), 0);
    EXPECT_EQ(at(img, 2, 2), rgb(0, 200, 0));
}

TEST(StyleButtonLooks, GradientRowsAndRing)
{
    const Colour back = rgb(100, 120, 140);
    const Palette pal = buildPalette({OwnColours, 3, back, 0, 0, 0, 0, 0});
    const int H = 20;
    QImage up = paint(3, 0, true, OwnColours, back);
    // Row i shows shift(bright base, -(25 / H * i), relative), halves to even.
    for (int i : {3, 8, 10, 15}) {
        const int amount = static_cast<int>(std::nearbyint(25.0f / H * i));
        EXPECT_EQ(at(up, 20, i), shiftColor(pal.brightBase, -amount, true)) << i;
    }
    EXPECT_EQ(at(up, 20, 0), rgb(0, 60, 115));     // ring frame
    EXPECT_EQ(at(up, 1, 1), rgb(16, 77, 123));     // its four inner corners
    EXPECT_EQ(at(up, 38, 18), rgb(16, 77, 123));
    EXPECT_EQ(at(up, 20, 1), shiftColor(pal.brightBase, 16, true));
    // Hovered: the orange ring.
    QImage over = paint(3, 1, true, OwnColours, back);
    EXPECT_EQ(at(over, 1, 10), rgb(255, 178, 49));
    EXPECT_EQ(at(over, 20, 18), rgb(231, 150, 0));
    // Down: the shading runs from the bottom, from a darker start.
    QImage down = paint(3, 2, true, OwnColours, back);
    const Colour c = shiftColor(pal.brightBase, -32, true);
    EXPECT_EQ(at(down, 20, H - 5), shiftColor(c, -static_cast<int>(std::nearbyint(25.0f / H * 5)), true));
    EXPECT_EQ(at(down, 37, 10), pal.brightBase);
    // Disabled: flat shade with a pale ring.
    QImage dis = paint(3, 0, false, OwnColours, back);
    EXPECT_EQ(at(dis, 20, 10), shiftColor(pal.brightBase, -24, true));
    EXPECT_EQ(at(dis, 0, 10), shiftColor(pal.brightBase, -84, true));
    EXPECT_EQ(at(dis, 1, 1), shiftColor(pal.brightBase, -72, true));
}

TEST(StyleButtonLooks, SoftGlassAndSelectionLooks)
{
    const Colour back = rgb(100, 120, 140);
    const Palette pal = buildPalette({OwnColours, 4, back, 0, 0, 0, 0, 0});
    QImage soft = paint(4, 0, true, OwnColours, back);
    EXPECT_EQ(at(soft, 0, 5), pal.dark);
    EXPECT_EQ(at(soft, 1, 1), pal.dark);
    EXPECT_EQ(at(soft, 20, 10), pal.light);
    EXPECT_EQ(at(soft, 20, 2), pal.lighter);
    EXPECT_EQ(at(soft, 38, 10), pal.shadow);
    QImage softDown = paint(4, 2, true, OwnColours, back);
    EXPECT_EQ(at(softDown, 20, 10), shiftColor(pal.shadow, -16));
    EXPECT_EQ(at(softDown, 20, 1), shiftColor(pal.shadow, -64));

    // Glass: shade from lighter down to lighter - 58 over the height.
    QImage glass = paint(14, 0, true, OwnColours, back);
    EXPECT_EQ(at(glass, 20, 15), shiftColor(pal.lighter, -static_cast<int>(std::nearbyint(58.0f / 20 * 15))));
    EXPECT_EQ(at(glass, 0, 10), shiftColor(pal.shadow, -50));
    EXPECT_EQ(at(glass, 1, 10), shiftColor(pal.base, -9));
    EXPECT_EQ(at(glass, 3, 10), pal.lighter);
    EXPECT_EQ(at(paint(14, 1, true, OwnColours, back), 20, 10), pal.light);
    QImage glassDown = paint(14, 2, true, OwnColours, back);
    EXPECT_EQ(at(glassDown, 20, 10), shiftColor(pal.base, -9));
    EXPECT_EQ(at(glassDown, 20, 18), pal.lighter);

    // Look 9 in the system scheme: hovered fill in selection light, selection frame.
    const Palette sys = buildPalette(PaletteInput{});
    QImage sel = paint(9, 1);
    EXPECT_EQ(at(sel, 0, 0), sys.selection);
    EXPECT_EQ(at(sel, 20, 10), sys.selectionLight);
    EXPECT_EQ(at(paint(9, 0), 0, 0), sys.base);
    // Pressed with the pointer on it: a darker fill.
    LookInput in;
    in.width = 40;
    in.height = 20;
    in.buttonType = 9;
    in.state = 2;
    in.pointerOver = true;
    QImage pressed(40, 20, QImage::Format_RGB32);
    paintLook(pressed, in);
    EXPECT_EQ(at(pressed, 20, 10), shiftColor(sys.selectionLight, -32));
    EXPECT_EQ(at(pressed, 0, 0), sys.selection);
    in.colours.scheme = OwnColours;
    in.colours.back = back;
    paintLook(pressed, in);
    EXPECT_EQ(at(pressed, 20, 10), blendColor(shiftColor(back, -128), 128));
}

// On a screen with twice the pixels the look keeps its one-unit lines (each a 2 x 2
// block) and the caption is drawn with the finer pixels, not enlarged.
TEST(StyleButtonLooks, TwiceThePixelsKeepsTheLinesAndSharpensTheCaption)
{
    LookInput in;
    in.width = 60;
    in.height = 24;
    in.buttonType = 1;
    in.colours.buttonType = 1;
    in.colours.scheme = SystemColours;
    in.caption = "Wg";
    in.font = QFont("DejaVu Sans");
    in.font.setPixelSize(12);
    LayoutInput layout;
    layout.width = in.width;
    layout.height = in.height;
    layout.caption = in.caption;
    layout.font = in.font;
    in.layout = calcLayout(layout);
    QImage one(60, 24, QImage::Format_RGB32);
    ASSERT_GE(paintLook(one, in), 0);
    QImage two(120, 48, QImage::Format_RGB32);
    two.setDevicePixelRatio(2);
    ASSERT_GE(paintLook(two, in), 0);
    ASSERT_EQ(two.size(), QSize(120, 48));
    EXPECT_EQ(two.devicePixelRatio(), 2);
    for (const QPoint unit : {QPoint(0, 0), QPoint(59, 23), QPoint(1, 1), QPoint(30, 0), QPoint(0, 12), QPoint(58, 22)})
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(two.pixel(unit.x() * 2 + d % 2, unit.y() * 2 + d / 2), one.pixel(unit)) << unit.x() << "," << unit.y();
    // Inside the caption some 2 x 2 block is not of one colour: finer than one unit.
    const Box &c = in.layout.captionRect;
    int mixedBlocks = 0;
    for (int y = std::max(c.top, 2); y < std::min(c.bottom, 22); ++y)
        for (int x = std::max(c.left, 2); x < std::min(c.right, 58); ++x) {
            const QRgb p = two.pixel(2 * x, 2 * y);
            if (two.pixel(2 * x + 1, 2 * y) != p || two.pixel(2 * x, 2 * y + 1) != p || two.pixel(2 * x + 1, 2 * y + 1) != p)
                ++mixedBlocks;
        }
    EXPECT_GT(mixedBlocks, 4);
    // A size that fits neither the units nor the pixels paints nothing.
    QImage wrong(60, 24, QImage::Format_RGB32);
    wrong.setDevicePixelRatio(2);
    EXPECT_EQ(paintLook(wrong, in), -1);
}

TEST(StyleButtonLooks, FocusRectangleOnlyWhenAskedAndFocused)
{
    LookInput in;
    in.width = 40;
    in.height = 20;
    in.buttonType = 1;
    in.focused = true;
    QImage img(40, 20, QImage::Format_RGB32);
    const Palette sys = buildPalette(PaletteInput{});
    paintLook(img, in);
    EXPECT_EQ(at(img, 4, 4), sys.base);  // ShowFocusRect off
    in.showFocusRect = true;
    paintLook(img, in);
    EXPECT_EQ(at(img, 4, 4), sys.base ^ 0xFFFFFF);  // dotted: every other pixel inverted
    EXPECT_EQ(at(img, 5, 4), sys.base);
    in.focused = false;
    paintLook(img, in);
    EXPECT_EQ(at(img, 4, 4), sys.base);

    // Look 2 shows its default-button ring (dark outer frame) only with both conditions.
    in.buttonType = 2;
    in.focused = true;
    in.displayAsDefault = false;
    paintLook(img, in);
    EXPECT_EQ(at(img, 0, 0), sys.lighter);
    EXPECT_EQ(at(img, 4, 4), sys.base);
    in.displayAsDefault = true;
    paintLook(img, in);
    EXPECT_EQ(at(img, 0, 0), sys.dark);
    EXPECT_EQ(at(img, 1, 1), sys.lighter);
    EXPECT_EQ(at(img, 4, 4), sys.base ^ 0xFFFFFF);
}

// ---------------------------------------------------------------- pictures

TEST(StyleButtonPictures, MaskGreySilhouetteAndBlend)
{
    // A 2 x 2 picture: red, mask green, blue, white.
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 0, 0));
    pic.setPixel(1, 0, qRgb(0, 255, 0));
    pic.setPixel(0, 1, qRgb(0, 0, 255));
    pic.setPixel(1, 1, qRgb(255, 255, 255));
    const Colour mask = rgb(0, 255, 0), bg = rgb(30, 60, 90);

    auto render = [&](PictureRender how) {
        QImage t(4, 4, QImage::Format_RGB32);
        t.fill(q(bg));
        paintPicture(t, 1, 1, 2, 2, pic, how);
        return t;
    };
    // Plain copy: every pixel, the mask colour too.
    QImage plain = render({});
    EXPECT_EQ(at(plain, 2, 1), mask);
    EXPECT_EQ(at(plain, 0, 0), bg);

    PictureRender masked{true, mask};
    QImage m = render(masked);
    EXPECT_EQ(at(m, 1, 1), rgb(255, 0, 0));
    EXPECT_EQ(at(m, 2, 1), bg);  // left out

    PictureRender grey = masked;
    grey.grey = true;
    QImage g = render(grey);
    EXPECT_EQ(at(g, 1, 1), rgb(76, 76, 76));     // 0.3 * 255 = 76.5 -> 76 (half to even)
    EXPECT_EQ(at(g, 1, 2), rgb(28, 28, 28));     // 0.11 * 255 = 28.05
    EXPECT_EQ(at(g, 2, 2), rgb(255, 255, 255));
    EXPECT_EQ(at(g, 2, 1), bg);

    PictureRender sil = masked;
    sil.hasSolid = true;
    sil.solid = rgb(9, 9, 9);
    QImage s = render(sil);
    EXPECT_EQ(at(s, 1, 1), rgb(9, 9, 9));
    EXPECT_EQ(at(s, 2, 2), rgb(9, 9, 9));
    EXPECT_EQ(at(s, 2, 1), bg);

    PictureRender blend = masked;
    blend.blend = true;
    QImage b = render(blend);
    EXPECT_EQ(at(b, 1, 1), rgb((2 * 255 + 30) / 3, 60 / 3, 90 / 3));

    // A picture with its own transparency lies on a field of the mask colour first,
    // so with the mask in use its transparent pixels are left out.
    QImage icon(2, 2, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(0, 0, qRgba(255, 0, 0, 255));
    QImage t(2, 2, QImage::Format_RGB32);
    t.fill(q(bg));
    paintPicture(t, 0, 0, 2, 2, icon, masked);
    EXPECT_EQ(at(t, 0, 0), rgb(255, 0, 0));
    EXPECT_EQ(at(t, 1, 1), bg);
}

TEST(StyleButtonPictures, ChoiceOfPicturePerStateAndDisabledRelief)
{
    auto solid = [](QRgb c) {
        QImage img(6, 6, QImage::Format_RGB32);
        img.fill(c);
        return img;
    };
    QWidget host;
    StyleButton b(&host, QString());
    b.setCaption("");
    b.setGeometry(0, 0, 30, 30);
    b.setPicture(solid(qRgb(200, 0, 0)));
    b.setPictureOver(solid(qRgb(0, 200, 0)));
    b.setPictureDown(solid(qRgb(0, 0, 200)));
    const QPoint centre(15, 15);  // picture at (12, 12)
    EXPECT_EQ(b.layout().pictureX, 12);
    EXPECT_EQ(QColor(b.image().pixel(centre)), QColor(200, 0, 0));
    b.setSkipOverAndEnter(false);
    b.setButtonState(1);
    EXPECT_EQ(QColor(b.image().pixel(centre)), QColor(0, 200, 0));
    b.setButtonState(2);
    EXPECT_EQ(QColor(b.image().pixel(12, 12)), QColor(sysColor(15) & 0xFF, (sysColor(15) >> 8) & 0xFF, sysColor(15) >> 16));
    EXPECT_EQ(QColor(b.image().pixel(13, 13)), QColor(0, 0, 200));  // moved by DownPictureShift
    b.setPictureGreyUse(true);
    b.setButtonState(0);
    const int l = static_cast<int>(std::nearbyint(0.3 * 200));
    EXPECT_EQ(QColor(b.image().pixel(centre)), QColor(l, l, l));

    // Disabled without a disabled picture: relief in lighter (moved 1, 1) under shadow.
    b.setEnabled(false);
    const Palette sys = buildPalette(PaletteInput{});
    EXPECT_EQ(at(b.image(), 12, 12), sys.shadow);
    EXPECT_EQ(at(b.image(), 18, 18), sys.lighter);
    b.setPictureDisabledSame(true);
    EXPECT_EQ(QColor(b.image().pixel(centre)), QColor(200, 0, 0));
}

// ---------------------------------------------------------------- states and clicks

TEST(StyleButtonMouse, PressReleaseAndClickRules)
{
    Hosted h;
    StyleButton &b = *h.button;

    // Left press: down look; left release inside: over look would need hover, so up; Click.
    h.press();
    EXPECT_EQ(b.ButtonState(), 2);
    h.release();
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_EQ(h.clicks.count(), 1);
    EXPECT_EQ(h.downs.count(), 1);
    EXPECT_EQ(h.ups.count(), 1);
    EXPECT_EQ(h.downs.at(0).at(0).toInt(), 1);

    // Right press: MouseDown and MouseUp, no look change, no Click.
    h.press(Qt::RightButton);
    EXPECT_EQ(b.ButtonState(), 0);
    h.release(Qt::RightButton);
    EXPECT_EQ(h.clicks.count(), 1);
    EXPECT_EQ(h.downs.count(), 2);
    EXPECT_EQ(h.downs.at(1).at(0).toInt(), 2);

    // Middle press: the down look, but no Click.
    h.press(Qt::MiddleButton);
    EXPECT_EQ(b.ButtonState(), 2);
    h.release(Qt::MiddleButton);
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_EQ(h.clicks.count(), 1);

    // Released outside: no Click.
    h.press();
    h.move(h.outside(), Qt::LeftButton);
    EXPECT_EQ(b.ButtonState(), 0);  // dragged out shows the up look
    h.move(h.inside(), Qt::LeftButton);
    EXPECT_EQ(b.ButtonState(), 0);  // and keeps it when dragged back in
    h.release(Qt::LeftButton, h.outside());
    EXPECT_EQ(h.clicks.count(), 1);

    // A press on a cut corner of a shaped look is not the button's.
    b.setButtonType(1);
    h.press(Qt::LeftButton, QPoint(0, 0));
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_EQ(h.downs.count(), 4);

    // Disabled: no input reaches the button, and it draws greyed.
    b.setEnabled(false);
    QTest::mouseClick(&b, Qt::LeftButton, {}, h.inside());
    EXPECT_EQ(h.clicks.count(), 1);
    EXPECT_EQ(h.downs.count(), 4);
}

TEST(StyleButtonMouse, SwitchModeLatchesUntilTheNextPress)
{
    Hosted h;
    StyleButton &b = *h.button;
    b.setButtonSwitchMode(true);
    h.press();
    h.release();
    EXPECT_EQ(b.ButtonState(), 2);  // latched
    EXPECT_EQ(h.clicks.count(), 1);
    h.move(h.outside(), Qt::NoButton);
    EXPECT_EQ(b.ButtonState(), 2);  // a latched button ignores the pointer
    h.press();
    EXPECT_EQ(b.ButtonState(), 0);  // released (hover look off by default)
    h.release();
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_EQ(h.clicks.count(), 2);
}

TEST(StyleButtonMouse, HoverTrackingWithTheTimer)
{
    Hosted h;
    StyleButton &b = *h.button;

    // Default: hovering never changes the look, no timer, no enter or leave.
    h.move(h.inside());
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_FALSE(b.isHoverTracking());
    EXPECT_EQ(h.enters.count(), 0);

    b.setSkipOverAndEnter(false);
    h.move(h.outside());
    h.move(h.inside());
    EXPECT_EQ(b.ButtonState(), 1);
    EXPECT_TRUE(b.isHoverTracking());
    EXPECT_EQ(h.enters.count(), 1);
    h.move(QPoint(41, 16));
    EXPECT_EQ(h.enters.count(), 1);  // once per hover

    // Press and release while hovering: down, then over again with the timer on.
    h.press();
    EXPECT_EQ(b.ButtonState(), 2);
    h.release();
    EXPECT_EQ(b.ButtonState(), 1);
    EXPECT_TRUE(b.isHoverTracking());

    ASSERT_TRUE(h.leaveAndWaitForTimer());
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_EQ(h.leaves.count(), 1);

    // A widget on top of the button counts as not over it.
    QWidget cover(&h.host);
    cover.setGeometry(20, 20, 80, 30);
    cover.show();
    h.move(h.inside());
    EXPECT_EQ(b.ButtonState(), 0);
}

TEST(StyleButtonMouse, DoubleClickIsReportedOnceWithoutASecondClick)
{
    Hosted h;
    QSignalSpy dbl(h.button, &StyleButton::DblClick);
    h.press();
    h.release();
    h.send(QEvent::MouseButtonDblClick, h.inside(), Qt::LeftButton, Qt::LeftButton);
    h.release();
    EXPECT_EQ(h.clicks.count(), 1);
    EXPECT_EQ(dbl.count(), 1);
}

TEST(StyleButtonMouse, DropsArePassedOnOnlyInManualDropMode)
{
    Hosted h;
    qRegisterMetaType<const QMimeData *>();
    QSignalSpy drops(h.button, &StyleButton::OLEDragDrop);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a clip.avi")});
    auto drop = [&] {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.button, &enter);
        QDropEvent e(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.button, &e);
        return e.isAccepted();
    };
    EXPECT_FALSE(drop());
    EXPECT_EQ(drops.count(), 0);
    h.button->setOLEDropMode(1);
    EXPECT_TRUE(drop());
    ASSERT_EQ(drops.count(), 1);
    const auto *got = drops.at(0).at(0).value<const QMimeData *>();
    EXPECT_EQ(got->urls().value(0).toLocalFile(), "/tmp/a clip.avi");
    EXPECT_EQ(drops.at(0).at(1).toInt(), 1);  // copy
    EXPECT_EQ(drops.at(0).at(4).toFloat(), 10.0f);
}

// ---------------------------------------------------------------- state set by the host

TEST(StyleButtonState, ButtonStateRules)
{
    Hosted h;
    StyleButton &b = *h.button;
    const Palette sys = buildPalette(PaletteInput{});

    b.setButtonState(1);  // hover look is off: the up look, stored as 0
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_EQ(at(b.image(), 0, 0), sys.lighter);
    b.setButtonState(3);  // background only
    EXPECT_EQ(b.ButtonState(), 3);
    EXPECT_EQ(at(b.image(), 0, 0), sys.base);

    // Set while hidden: kept, and shown when the button is shown again.
    b.setButtonState(0);
    b.hide();
    b.setButtonState(2);
    EXPECT_EQ(b.ButtonState(), 2);
    b.show();
    EXPECT_EQ(at(b.image(), 0, 0), sys.dark);  // classic down

    // A caption set while hidden is painted by the next request, even for the same state.
    b.hide();
    b.setCaption("Later");
    b.show();
    b.setButtonState(0);
    EXPECT_EQ(at(b.image(), 0, 0), sys.lighter);
}

TEST(StyleButtonState, OwnSchemeHoverUsesTheHoverColourAndKeepsBackColor)
{
    Hosted h;
    StyleButton &b = *h.button;
    b.setColorScheme(OwnColours);
    b.setBackColor(rgb(100, 120, 140));
    b.setBackColorOver(rgb(200, 40, 60));
    b.setSkipOverAndEnter(false);
    b.setButtonType(5);
    b.setButtonState(1);
    EXPECT_EQ(at(b.image(), 10, 10), rgb(200, 40, 60));
    EXPECT_EQ(b.BackColor(), rgb(100, 120, 140));
    b.setButtonState(0);
    EXPECT_EQ(at(b.image(), 10, 10), rgb(100, 120, 140));
}

TEST(StyleButtonState, DisabledWindowKeepsTheButtonLook)
{
    Hosted h;
    StyleButton &b = *h.button;
    b.setButtonType(3);
    const QRgb enabledCorner = b.image().pixel(20, 10);
    h.host.setEnabled(false);
    EXPECT_TRUE(b.Enabled());
    EXPECT_EQ(b.image().pixel(20, 10), enabledCorner);
    h.host.setEnabled(true);
    b.setEnabled(false);
    EXPECT_FALSE(b.Enabled());
    EXPECT_NE(b.image().pixel(20, 10), enabledCorner);
}

TEST(StyleButtonState, SeeThroughCopyFollowsSizeAndPlace)
{
    // A host that paints its left half red and its right half blue.
    struct Striped : QWidget {
        void paintEvent(QPaintEvent *) override
        {
            QPainter p(this);
            p.fillRect(0, 0, 100, height(), Qt::red);
            p.fillRect(100, 0, width() - 100, height(), Qt::blue);
        }
    } host;
    host.resize(200, 100);
    StyleButton b(&host, QString());
    b.setCaption("");
    b.setGeometry(10, 10, 30, 20);
    b.setButtonType(11);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(b.backgroundCopy().size(), QSize(30, 20));
    EXPECT_EQ(QColor(b.image().pixel(15, 10)), QColor(Qt::red));

    b.resize(60, 40);
    EXPECT_EQ(b.backgroundCopy().size(), QSize(60, 40));
    EXPECT_EQ(QColor(b.image().pixel(55, 35)), QColor(Qt::red));
    b.move(120, 10);
    EXPECT_EQ(QColor(b.image().pixel(15, 10)), QColor(Qt::blue));
}

// ---------------------------------------------------------------- persistence

TEST(StyleButtonProperties, NewControlAndMissingKeyDefaultsDiffer)
{
    StyleButton fresh(nullptr, "cmdEncode");
    EXPECT_EQ(fresh.Caption(), "cmdEncode");
    EXPECT_EQ(fresh.ColorScheme(), 2);
    EXPECT_EQ(fresh.ButtonType(), 2);
    EXPECT_EQ(fresh.BackColor(), sysColor(syscolors::ButtonFace));
    EXPECT_EQ(fresh.MaskColor(), sysColor(syscolors::ButtonFace));
    EXPECT_EQ(fresh.ForeColorOver(), sysColor(syscolors::ButtonText));
    EXPECT_TRUE(fresh.SkipOverAndEnter());
    EXPECT_EQ(fresh.MousePointer(), 0);

    StyleButton loaded(nullptr, "cmdEncode");
    PropertyBag bag;
    bag.write("BCOL", QVariant::fromValue<qint64>(rgb(1, 2, 3)));
    bag.write("FCOL", QVariant::fromValue<qint64>(rgb(4, 5, 6)));
    loaded.readProperties(bag);
    EXPECT_EQ(loaded.ColorScheme(), 1);  // own colours when the key is missing
    EXPECT_EQ(loaded.Caption(), "");
    EXPECT_EQ(loaded.BackColorOver(), rgb(1, 2, 3));
    EXPECT_EQ(loaded.MaskColor(), rgb(1, 2, 3));
    EXPECT_EQ(loaded.ForeColorOver(), rgb(4, 5, 6));
    EXPECT_EQ(loaded.MousePointer(), 99);
    EXPECT_EQ(loaded.cursor().shape(), Qt::PointingHandCursor);  // built-in hand
    // ... which is also its icon now, and is written back as one.
    ASSERT_FALSE(StyleButton::handPicture().isNull());
    EXPECT_EQ(StyleButton::handPicture().size(), QSize(32, 32));
    EXPECT_EQ(loaded.MouseIcon(), StyleButton::handPicture());
    PropertyBag written;
    loaded.writeProperties(written);
    EXPECT_FALSE(written.readPicture("MICON").isNull());
    // Another pointer gets no icon; an icon of the button's own stays.
    PropertyBag cross;
    cross.write("MPTR", 2);
    StyleButton crossing;
    crossing.readProperties(cross);
    EXPECT_TRUE(crossing.MouseIcon().isNull());
    EXPECT_EQ(crossing.cursor().shape(), Qt::CrossCursor);
    QImage own(16, 16, QImage::Format_RGB32);
    own.fill(Qt::red);
    PropertyBag withIcon;
    withIcon.write("MICON", own);
    StyleButton owned;
    owned.readProperties(withIcon);
    EXPECT_EQ(owned.MouseIcon().pixel(3, 3), own.pixel(3, 3));
    EXPECT_EQ(owned.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(loaded.PicturePosition(), 4);
    EXPECT_EQ(loaded.DownCaptionShift(), 1);

    PropertyBag none;
    StyleButton empty;
    empty.readProperties(none);
    EXPECT_EQ(empty.BackColor(), sysColor(syscolors::ButtonFace));
    EXPECT_EQ(empty.ForeColor(), sysColor(syscolors::ButtonText));
}

TEST(StyleButtonProperties, WriteOrderDefaultsAndRoundTrip)
{
    StyleButton b(nullptr, "cmdInput");
    PropertyBag bag;
    b.writeProperties(bag);
    // The six keys with defaults stay out while they hold them.
    EXPECT_EQ(bag.keys(), (QStringList{"BTYPE", "BSTATE", "ButtonSwitchMode", "TX", "ENAB", "FONT",
                                       "COLTYPE", "FOCUSR", "BCOL", "BCOLO", "FCOL", "FCOLO", "MCOL",
                                       "MPTR", "PicdSame", "UMCOL", "PICPOS", "NGREY",
                                       "PictureDisableGreyUse"}));

    QImage pic(5, 4, QImage::Format_RGB32);
    pic.fill(qRgb(1, 2, 3));
    b.setOLEDropMode(1);
    b.setButtonType(14);
    b.setSkipOverAndEnter(false);
    b.setButtonSwitchMode(true);
    b.setCaption("Go \"now\"");
    b.setColorScheme(3);
    b.setBackColor(syscolors::sysRef(syscolors::Window));
    b.setForeColorOver(rgb(9, 8, 7));
    b.setPicture(pic);
    b.setPictureDisabled(pic);
    b.setCaption_ShiftX(-2);
    b.setCaption_ShiftY(3);
    b.setDownPictureShift(0);
    b.setDownCaptionShift(2);
    b.setPicturePosition(1);
    b.setEnabled(false);
    b.setMousePointer(2);
    PropertyBag full;
    b.writeProperties(full);
    EXPECT_EQ(full.size(), 30 - 3);  // no MICON, PICO, PICDn

    // Into a second button and back out: the same bag again.
    const PropertyBag parsed = full;
    StyleButton copy(nullptr, "other");
    copy.readProperties(parsed);
    PropertyBag again;
    copy.writeProperties(again);
    EXPECT_EQ(again, full);
    EXPECT_EQ(copy.BackColor(), syscolors::sysRef(syscolors::Window));
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.Picture().size(), QSize(5, 4));
    EXPECT_EQ(copy.acceptDrops(), true);
}

TEST(StyleButtonProperties, StretchPictureToTheButtonSize)
{
    QImage pic(4, 4, QImage::Format_RGB32);
    pic.fill(qRgb(0, 0, 200));
    StyleButton zero;
    zero.resize(0, 0);
    zero.setPicture(pic);
    zero.SetStretchPicture();
    EXPECT_EQ(zero.Picture().size(), QSize(4, 4));

    StyleButton b;
    b.resize(40, 20);
    b.setPicture(pic);
    b.SetStretchPicture();
    EXPECT_EQ(b.Picture().size(), QSize(40, 20));
    EXPECT_TRUE(b.PictureOver().isNull());  // an unset picture stays unset
    EXPECT_EQ(QColor(b.image().pixel(20, 10)), QColor(0, 0, 200));
}

// ---------------------------------------------------------------- gallery

// Every look in every state and scheme on one sheet, for a person to look at:
// written to $MAVRELL_GALLERY_DIR when set, else into a temporary folder.
namespace {

// Every look in every colour scheme, each up, over, down and disabled, one row per look.
QImage gallerySheet(int w, int h, bool captions)
{
    const int cols = 4 * 3;
    QImage sheet(cols * (w + 4) + 4, 14 * (h + 4) + 4, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QImage pic(12, 12, QImage::Format_ARGB32);
    pic.fill(Qt::transparent);
    {
        QPainter p(&pic);
        p.setBrush(QColor(220, 60, 30));
        p.setPen(Qt::NoPen);
        p.drawEllipse(0, 0, 12, 12);
    }
    QWidget host;
    host.resize(w, h);
    for (int type = 1; type <= 14; ++type) {
        int col = 0;
        for (int scheme : {1, 2, 3}) {
            for (int look = 0; look < 4; ++look) {  // up, over, down, disabled
                StyleButton b(&host, QString());
                b.setGeometry(0, 0, w, h);
                b.setColorScheme(scheme);
                b.setBackColor(rgb(90, 150, 200));
                b.setBackColorOver(rgb(120, 180, 230));
                b.setSkipOverAndEnter(false);
                b.setButtonType(type);
                b.setMaskColor(rgb(0, 0, 0));
                b.setMaskColorUse(true);
                b.setPicture(pic);
                b.setPicturePosition(0);
                b.setCaption(captions ? "Look " + QString::number(type) : QString());
                if (look == 3)
                    b.setEnabled(false);
                else
                    b.setButtonState(look);
                QPainter p(&sheet);
                p.drawImage(4 + col * (w + 4), 4 + (type - 1) * (h + 4), b.image());
                ++col;
            }
        }
    }
    return sheet;
}

} // namespace

// The sheet without captions (so no pixel depends on fonts) is compared with the
// reference the looks were checked against; the sheet with captions is written for
// looking at (into MAVRELL_GALLERY_DIR when set).
TEST(StyleButtonGallery, EveryLookDrawsAsTheReferenceSheet)
{
    const QImage plain = gallerySheet(40, 20, false);
    // Beside this file; a relative __FILE__ is relative to the build folder, where the
    // compiler ran (the test programs lie in its tests/ folder).
    const QString source = QDir(QCoreApplication::applicationDirPath() + "/..").filePath(QStringLiteral(__FILE__));
    const QString referencePath = QFileInfo(source).dir().filePath("stylebutton_looks_ref.png");
    if (qEnvironmentVariableIsSet("MAVRELL_WRITE_REFERENCE"))
        plain.save(referencePath);
    const QImage reference = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << referencePath.toStdString();
    ASSERT_EQ(reference.size(), plain.size());
    int differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != reference.pixel(x, y) && differing++ == 0)
                first = QPoint(x, y);
    // Cell (col, row) of the first difference: col = scheme * 4 + state, row = look - 1.
    EXPECT_EQ(differing, 0) << "first at cell " << (first.x() - 4) / 44 << ", " << (first.y() - 4) / 24;

    QTemporaryDir tmp;
    const QString dir = qEnvironmentVariableIsSet("MAVRELL_GALLERY_DIR") ? qEnvironmentVariable("MAVRELL_GALLERY_DIR")
                                                                        : tmp.path();
    QDir().mkpath(dir);
    EXPECT_TRUE(gallerySheet(96, 28, true).save(dir + "/stylebutton_looks.png"));
}
