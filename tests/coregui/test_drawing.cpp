#include "coregui/syscolors.h"

#include <gtest/gtest.h>

TEST(SysColors, TranslatesReferencesAndPlainValues)
{
    struct Case { std::uint32_t value; std::uint32_t expected; };
    const Case cases[] = {
        {0x8000000Fu, 0xC8D0D4u},   // button face
        {0x80000012u, 0x000000u},   // button text
        {0x80000010u, 0x808080u},   // button shadow
        {0x80000014u, 0xFFFFFFu},   // button highlight
        {0x80000008u, 0x000000u},   // window text
        {0x80000018u, 0xE1FFFFu},   // tooltip background (255,255,225)
        {0x800000FFu, 0x000000u},   // no such system colour
        {0x80010005u, 0x000000u},   // not a well-formed reference
        {0x00010203u, 0x010203u},   // plain colour stays as it is
        {0x12FFFFFFu, 0xFFFFFFu},   // stray high byte is dropped
    };
    for (const auto &c : cases)
        EXPECT_EQ(syscolors::translate(c.value), c.expected) << std::hex << c.value;
}

TEST(SysColors, QColorKeepsTheByteOrder)
{
    // 0x00BBGGRR: red is the low byte.
    const QColor c = syscolors::toQColor(0x00332211u);
    EXPECT_EQ(c.red(), 0x11);
    EXPECT_EQ(c.green(), 0x22);
    EXPECT_EQ(c.blue(), 0x33);
    EXPECT_EQ(syscolors::fromQColor(c), 0x00332211u);
    EXPECT_EQ(syscolors::toQColor(static_cast<int>(0x8000000F)), QColor(212, 208, 200));
    EXPECT_EQ(syscolors::sysColor(-1), 0u);
    EXPECT_EQ(syscolors::sysColor(syscolors::count), 0u);
}

// ---------------------------------------------------------------------------

#include "coregui/drawing.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <set>

namespace {

QRgb rgbOf(std::uint32_t bgr) { return syscolors::toQColor(bgr).rgb(); }

QImage blankImage(int w, int h, QColor c = QColor(1, 2, 3))
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QFont plainFont()
{
    QFont f;
    f.setPixelSize(12);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

} // namespace

TEST(ProgressBar, SplitsTheBarAtTheDoneFraction)
{
    constexpr std::uint32_t done = 0x0040C0, rest = 0x000000;
    struct Case { float value; int split; };
    // 200 pixels wide: 45.6 % ends after 91.2 pixels; out-of-range values fill or empty the bar.
    const Case cases[] = {{0, 0}, {45.6f, 91}, {100, 200}, {120, 200}, {-5, 0}};
    for (const auto &c : cases) {
        QImage img = blankImage(200, 20);
        mdlProgressBar::drawProgressBar(img, 0, 100, c.value, QString(), false, 0xFFFFFF, rest, done,
                                        plainFont());
        for (int x = 0; x < 200; ++x) {
            const QRgb expected = x < c.split ? rgbOf(done) : rgbOf(rest);
            ASSERT_EQ(img.pixel(x, 0), expected) << "value " << c.value << " x " << x;
            ASSERT_EQ(img.pixel(x, 19), expected) << "value " << c.value << " x " << x;
        }
    }
}

TEST(ProgressBar, EmptyRangeDrawsNothing)
{
    for (float max : {50.0f, 40.0f}) {
        QImage img = blankImage(50, 10);
        const QImage before = img;
        mdlProgressBar::drawProgressBar(img, 50, max, 50, QString(), true, 0xFFFFFF, 0, 0xFF, plainFont());
        EXPECT_EQ(img, before);
    }
    QImage none;
    mdlProgressBar::drawProgressBar(none, 0, 100, 50, QString(), true, 0, 0, 0, plainFont());
    mdlProgressBar::drawProgressBar(static_cast<PictureBox *>(nullptr), 0, 100, 50, QString(), true, 0, 0, 0);
}

TEST(ProgressBar, TextIsThePercentOrTheCaption)
{
    using mdlProgressBar::progressText;
    EXPECT_EQ(progressText(0, 100, 45.6f, QString()), "45.6 %");
    EXPECT_EQ(progressText(0, 100, 0, QString()), "0.0 %");
    EXPECT_EQ(progressText(0, 100, 100, QString()), "100.0 %");
    EXPECT_EQ(progressText(10, 20, 15, QString()), "50.0 %");
    EXPECT_EQ(progressText(0, 100, 45.6f, "Encoding   "), "Encoding   ");
    EXPECT_EQ(progressText(5, 5, 5, "x"), "");
}

TEST(ProgressBar, CentredTextKeepsItsColourOnBothParts)
{
    // The running look: white text over a black rest and a brown done part. The
    // text must stay white (an inverting pen would make it vanish there).
    constexpr std::uint32_t text = 0xFFFFFF, rest = 0x000000, done = 0x0040C0;
    QImage img = blankImage(200, 24);
    mdlProgressBar::drawProgressBar(img, 0, 100, 50, "MMMMMMMMMMMM", true, text, rest, done, plainFont());
    int white = 0, whiteLeft = 0, whiteRight = 0;
    int minX = 200, maxX = -1;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb p = img.pixel(x, y);
            if (p == rgbOf(text)) {
                ++white;
                (x < 100 ? whiteLeft : whiteRight)++;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            } else {
                ASSERT_TRUE(p == rgbOf(x < 100 ? done : rest)) << x << "," << y;
            }
        }
    EXPECT_GT(whiteLeft, 0);
    EXPECT_GT(whiteRight, 0);
    // Centred: the ink's margins on both sides differ by at most a few pixels.
    EXPECT_LE(std::abs(minX - (199 - maxX)), 4) << minX << " " << maxX;
}

TEST(ProgressBar, PictureBoxKeepsTheBar)
{
    PictureBox box;
    box.resize(100, 10);
    mdlProgressBar::drawProgressBar(&box, 0, 100, 30, QString(), false, 0, 0x000000, 0x004040);
    const QImage shown = box.composed();
    ASSERT_EQ(shown.size(), QSize(100, 10));
    EXPECT_EQ(shown.pixel(29, 5), rgbOf(0x004040));
    EXPECT_EQ(shown.pixel(30, 5), rgbOf(0x000000));
    box.Cls();
    EXPECT_EQ(box.composed().pixel(10, 5), rgbOf(syscolors::sysRef(syscolors::ButtonFace)));
}

TEST(StretchPicture, SameSizeOrNothingToDoGivesThePictureItself)
{
    QPixmap pic(8, 6);
    pic.fill(Qt::red);
    using mdlStretchPicture::StretchPicture;
    EXPECT_EQ(StretchPicture(pic, 8, 6).cacheKey(), pic.cacheKey());
    EXPECT_EQ(StretchPicture(pic, 0, 20).cacheKey(), pic.cacheKey());
    EXPECT_EQ(StretchPicture(pic, 20, 0).cacheKey(), pic.cacheKey());
    EXPECT_EQ(StretchPicture(pic, -4, -4).cacheKey(), pic.cacheKey());
    EXPECT_TRUE(StretchPicture(QPixmap(), 10, 10).isNull());
}

TEST(StretchPicture, StretchesOverTheBackground)
{
    // 2x2 source: red, green on top; blue and a transparent pixel below.
    QImage src(2, 2, QImage::Format_ARGB32);
    src.setPixel(0, 0, qRgb(255, 0, 0));
    src.setPixel(1, 0, qRgb(0, 255, 0));
    src.setPixel(0, 1, qRgb(0, 0, 255));
    src.setPixel(1, 1, qRgba(0, 0, 0, 0));
    const QPixmap pic = QPixmap::fromImage(src);
    const QPixmap out = mdlStretchPicture::StretchPicture(pic, 40, 30, 0, 0xFFFFFF, 0);
    ASSERT_EQ(out.size(), QSize(40, 30));
    EXPECT_NE(out.cacheKey(), pic.cacheKey());
    const QImage img = out.toImage();
    EXPECT_EQ(img.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(35, 5), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(5, 25), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(35, 25), qRgb(255, 255, 255));  // background shows through
    EXPECT_EQ(img.pixel(39, 29), qRgb(255, 255, 255));
    EXPECT_FALSE(img.hasAlphaChannel() && qAlpha(img.pixel(35, 25)) != 255);
}

TEST(FileIcon, DrawsTheTypeIconInItsRectangleAlsoForMissingFiles)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("tone.mp3");
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("ID3");
    f.close();
    const QString missing = dir.filePath("gone.mp3");

    auto draw = [](const QString &path) {
        QImage img(24, 20, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::red);  // earlier content must go
        mdlIconVarne::DrawFileIcon(img, path, 4, 2, 16, 16);
        return img;
    };
    const QImage a = draw(missing);
    int ink = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const bool inside = x >= 4 && x < 20 && y >= 2 && y < 18;
            if (qAlpha(a.pixel(x, y)) != 0) {
                ASSERT_TRUE(inside) << x << "," << y;
                ++ink;
            }
        }
    EXPECT_GT(ink, 0);
    EXPECT_EQ(draw(existing), a);  // an existing file shows its type's icon too
    EXPECT_GT(draw(dir.filePath("noextension")).size().width(), 0);
}

TEST(BoxEdge, SunkenEdgeColoursItsRings)
{
    QImage img = blankImage(6, 5);
    {
        QPainter p(&img);
        mdlSetBoxSpec::drawEdge(p, img.rect(), mdlSetBoxSpec::EdgeSunken);
    }
    using namespace syscolors;
    const QRgb shadow = rgbOf(sysColor(ButtonShadow)), hilite = rgbOf(sysColor(ButtonHighlight));
    const QRgb dark = rgbOf(sysColor(DarkShadow3D)), light = rgbOf(sysColor(Light3D));
    EXPECT_EQ(img.pixel(0, 0), shadow);
    EXPECT_EQ(img.pixel(4, 0), shadow);
    EXPECT_EQ(img.pixel(5, 0), hilite);  // top-right corner belongs to the right side
    EXPECT_EQ(img.pixel(0, 4), hilite);  // bottom-left corner belongs to the bottom
    EXPECT_EQ(img.pixel(5, 4), hilite);
    EXPECT_EQ(img.pixel(1, 1), dark);
    EXPECT_EQ(img.pixel(4, 1), light);
    EXPECT_EQ(img.pixel(2, 2), QColor(1, 2, 3).rgb());  // inside untouched

    PictureBox box;
    box.resize(30, 20);
    mdlSetBoxSpec::SetBorderStyle(&box, 5);
    mdlSetBoxSpec::SetBoxEdge(&box, mdlSetBoxSpec::EdgeRaised);
    EXPECT_EQ(box.frameShape(), QFrame::NoFrame);
    const QImage shown = box.composed();
    EXPECT_EQ(shown.size(), QSize(30, 20));
    EXPECT_EQ(shown.pixel(0, 0), rgbOf(sysColor(Light3D)));
    EXPECT_EQ(shown.pixel(29, 19), rgbOf(sysColor(DarkShadow3D)));
}

TEST(BorderStyle, EachStyleReplacesTheEdgeBits)
{
    using namespace mdlSetBoxSpec;
    // Start from every edge bit set plus unrelated bits, which must survive.
    const StyleBits old{0x10000000u | WS_BORDER | WS_THICKFRAME,
                        0x8u | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME};
    struct Case { int style; std::uint32_t addStyle; std::uint32_t addEx; };
    const Case cases[] = {
        {0, 0, 0x201}, {1, 0x840000, 0}, {2, 0, 0x1}, {3, 0, 0x20200},
        {4, 0, 0x200}, {5, 0, 0x20000}, {6, 0x800000, 0}, {7, 0, 0}, {-1, 0, 0},
    };
    for (const auto &c : cases) {
        const StyleBits b = borderStyleBits(old, c.style);
        EXPECT_EQ(b.style, 0x10000000u | c.addStyle) << c.style;
        EXPECT_EQ(b.exStyle, 0x8u | c.addEx) << c.style;
    }
}

TEST(BorderStyle, WidgetsTakeTheMatchingFrame)
{
    using namespace mdlSetBoxSpec;
    QLineEdit edit;
    SetBorderStyle(&edit, 7);
    EXPECT_FALSE(edit.hasFrame());
    SetBorderStyle(&edit, 5);
    EXPECT_TRUE(edit.hasFrame());
    EXPECT_EQ(styleBits(&edit).exStyle, WS_EX_STATICEDGE);

    QComboBox combo;
    SetBorderStyle(&combo, 7);
    EXPECT_FALSE(combo.hasFrame());

    QLabel label;
    SetBorderStyle(&label, 5);
    EXPECT_EQ(label.frameShape(), QFrame::Panel);
    EXPECT_EQ(label.frameShadow(), QFrame::Sunken);
    EXPECT_EQ(label.lineWidth(), 1);
    SetBorderStyle(&label, 6);
    EXPECT_EQ(label.frameShape(), QFrame::Box);
    SetBorderStyle(&label, 7);
    EXPECT_EQ(label.frameShape(), QFrame::NoFrame);

    // ModifyStyle/ModifyExStyle change only the bits named, and the frame follows.
    ModifyExStyle(&label, 0, WS_EX_CLIENTEDGE | 0x4);
    ModifyStyle(&label, 0, 0x1000);
    EXPECT_EQ(label.frameShape(), QFrame::WinPanel);
    ModifyExStyle(&label, WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(label.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(styleBits(&label), (StyleBits{0x1000, 0x4}));
}
