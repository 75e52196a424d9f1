#include "controls/orvexbutton.h"

#include "controls/propertybag.h"
#include "coregui/syscolors.h"

#include <QApplication>
#include <QCursor>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t face = 0x8000000F, shadow = 0x80000010, highlight = 0x80000014;
using Edges = std::array<std::uint32_t, 4>;  // top, right, bottom, left

const Edges flatEdges{face, face, face, face};
const Edges raisedEdges{highlight, shadow, shadow, highlight};
const Edges sunkenEdges{shadow, highlight, highlight, shadow};

Edges edgesOf(const OrvexButton &b)
{
    return {b.edgeColour(0), b.edgeColour(1), b.edgeColour(2), b.edgeColour(3)};
}

QRgb rgbOf(std::uint32_t colour) { return syscolors::toQColor(colour).rgb(); }

// A button of the player window's size, shown on its own.
struct Shown {
    OrvexButton button;
    QSignalSpy clicks{&button, &OrvexButton::Click};
    QSignalSpy downs{&button, &OrvexButton::MouseDown};
    QSignalSpy ups{&button, &OrvexButton::MouseUp};

    explicit Shown(int mode)
    {
        button.setMode(mode);
        button.setGeometry(100, 100, 23, 22);
        button.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&button));
    }
    QWidget *inner() const { return button.hwnd(); }
    QPoint centre() const { return inner()->rect().center(); }
    void pointerTo(QWidget *w, QPoint p)
    {
        QCursor::setPos(w->mapToGlobal(p));
        QTest::mouseMove(w, p);
    }
    void pointerAway() { QCursor::setPos(button.mapToGlobal(QPoint(300, 300))); }
    void press(Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(inner(), b, {}, centre()); }
    void release(Qt::MouseButton b = Qt::LeftButton, QPoint at = {-1, -1})
    {
        QTest::mouseRelease(inner(), b, {}, at == QPoint(-1, -1) ? centre() : at);
    }
};

} // namespace

TEST(OrvexButton, PressBehavioursOfPushToggleAndLatch)
{
    struct Step {
        char action;  // p press, r release, o release outside, s host sets State 0, R right press+release
        int clicks;   // Click events so far
        int state;
        Edges edges;
    };
    struct Case {
        const char *what;
        int mode;
        std::vector<Step> steps;
    } cases[] = {
        {"push clicks on release and ends flat",
         0,
         {{'p', 0, 2, sunkenEdges}, {'r', 1, 0, flatEdges}, {'p', 1, 2, sunkenEdges}, {'r', 2, 0, flatEdges}}},
        {"push released outside still clicks", 0, {{'p', 0, 2, sunkenEdges}, {'o', 1, 0, flatEdges}}},
        {"toggle clicks on every press",
         1,
         {{'p', 1, 2, sunkenEdges}, {'r', 1, 2, sunkenEdges}, {'p', 2, 0, flatEdges}, {'r', 2, 0, flatEdges}}},
        {"latch clicks once, stays down until the host releases it",
         2,
         {{'p', 1, 2, sunkenEdges},
          {'r', 1, 2, sunkenEdges},
          {'p', 1, 2, sunkenEdges},
          {'r', 1, 2, sunkenEdges},
          {'s', 1, 0, flatEdges},
          {'p', 2, 2, sunkenEdges}}},
        {"right button changes nothing", 0, {{'R', 0, 0, flatEdges}}},
        {"right button on a latched button", 2, {{'p', 1, 2, sunkenEdges}, {'R', 1, 2, sunkenEdges}}},
    };
    for (const auto &c : cases) {
        Shown s(c.mode);
        int n = 0;
        for (const auto &step : c.steps) {
            switch (step.action) {
            case 'p': s.press(); break;
            case 'r': s.release(); break;
            case 'o': s.release(Qt::LeftButton, QPoint(200, 200)); break;
            case 's': s.button.setState(0); break;
            case 'R':
                s.press(Qt::RightButton);
                s.release(Qt::RightButton);
                break;
            }
            ++n;
            EXPECT_EQ(s.clicks.count(), step.clicks) << c.what << ", step " << n;
            EXPECT_EQ(s.button.State(), step.state) << c.what << ", step " << n;
            EXPECT_EQ(edgesOf(s.button), step.edges) << c.what << ", step " << n;
        }
        // Every press and release reaches the host, whatever it did to the look.
        const int presses = int(std::count_if(c.steps.begin(), c.steps.end(),
                                              [](const Step &st) { return st.action == 'p' || st.action == 'R'; }));
        EXPECT_EQ(s.downs.count(), presses) << c.what;
    }
}

TEST(OrvexButton, MouseEventsCarryButtonAndInnerCoordinates)
{
    Shown s(0);
    QTest::mousePress(s.inner(), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(5, 7));
    ASSERT_EQ(s.downs.count(), 1);
    const auto args = s.downs.takeFirst();
    EXPECT_EQ(args.at(0).toInt(), 2);
    EXPECT_EQ(args.at(1).toInt(), 3);
    EXPECT_FLOAT_EQ(args.at(2).toFloat(), 5);
    EXPECT_FLOAT_EQ(args.at(3).toFloat(), 7);
    s.release(Qt::RightButton);
    EXPECT_EQ(s.ups.count(), 1);
    EXPECT_EQ(s.clicks.count(), 0);
}

TEST(OrvexButton, ALatchButtonReleasedByItsHostDuringThePressIsNotPressedAgain)
{
    // The player's Stop button: its Click handler sets it up again at once.
    Shown s(2);
    QObject::connect(&s.button, &OrvexButton::Click, &s.button, [&] { s.button.setState(0); });
    s.press();
    s.release();
    EXPECT_EQ(s.clicks.count(), 1);
    EXPECT_EQ(s.button.State(), 0);
    EXPECT_EQ(edgesOf(s.button), flatEdges);

    // A push whose host set it up during the press is not left stuck down by the release.
    Shown p(0);
    p.press();
    p.button.setState(0);
    p.release();
    EXPECT_EQ(p.clicks.count(), 1);
    EXPECT_EQ(p.button.State(), 0);
    EXPECT_EQ(edgesOf(p.button), flatEdges);
}

TEST(OrvexButton, HoverRaisesTheEdgeUntilThePointerLeaves)
{
    Shown s(0);
    s.pointerTo(s.inner(), s.centre());
    EXPECT_EQ(edgesOf(s.button), raisedEdges);
    EXPECT_TRUE(s.button.isHoverTracking());
    EXPECT_EQ(s.button.State(), 0);

    s.button.tmrCheck_Timer();  // still over: nothing changes
    EXPECT_EQ(edgesOf(s.button), raisedEdges);
    EXPECT_TRUE(s.button.isHoverTracking());

    s.button.setState(1);  // the host's raised look...
    s.pointerAway();
    s.button.tmrCheck_Timer();  // ...goes with the pointer: State is reset to 0
    EXPECT_EQ(edgesOf(s.button), flatEdges);
    EXPECT_FALSE(s.button.isHoverTracking());
    EXPECT_EQ(s.button.State(), 0);

    // Leaving over the one-pixel edge flattens at once; the next tick ends tracking.
    s.pointerTo(s.inner(), s.centre());
    ASSERT_EQ(edgesOf(s.button), raisedEdges);
    QWidget *top = s.button.childAt(5, 0);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(top, s.inner());
    s.pointerTo(top, QPoint(0, 0));
    EXPECT_EQ(edgesOf(s.button), flatEdges);
    s.button.tmrCheck_Timer();
    EXPECT_FALSE(s.button.isHoverTracking());
}

TEST(OrvexButton, HoverLeavesDownDisabledAndEdgelessButtonsAlone)
{
    Shown latched(2);
    latched.press();
    latched.release();
    latched.pointerTo(latched.inner(), latched.centre());
    EXPECT_EQ(edgesOf(latched.button), sunkenEdges);
    EXPECT_FALSE(latched.button.isHoverTracking());

    Shown edgeless(0);
    edgeless.button.setStyle(1);
    edgeless.pointerTo(edgeless.inner(), edgeless.centre());
    EXPECT_FALSE(edgeless.button.isHoverTracking());
    EXPECT_EQ(edgeless.inner()->geometry(), QRect(0, 0, 23, 22));
    EXPECT_EQ(edgeless.button.childAt(5, 0), edgeless.inner());  // no strips over it

    Shown disabled(0);
    disabled.button.setState(3);
    EXPECT_FALSE(disabled.inner()->isEnabled());
    disabled.pointerTo(disabled.inner(), disabled.centre());
    disabled.press();
    disabled.release();
    EXPECT_EQ(disabled.downs.count(), 0);
    EXPECT_EQ(disabled.clicks.count(), 0);
    EXPECT_EQ(edgesOf(disabled.button), flatEdges);
    EXPECT_FALSE(disabled.button.isHoverTracking());
    disabled.button.setState(0);
    disabled.press();
    disabled.release();
    EXPECT_EQ(disabled.clicks.count(), 1);

    // A State outside 0..3 keeps the look and enables the button.
    Shown odd(0);
    odd.button.setState(3);
    odd.button.setState(2);
    odd.button.setState(7);
    EXPECT_EQ(edgesOf(odd.button), sunkenEdges);
    EXPECT_TRUE(odd.inner()->isEnabled());
}

TEST(OrvexButton, EdgePixelsOfEachLook)
{
    OrvexButton b;
    b.resize(23, 22);
    const int w = 23, h = 22;
    struct Case {
        int state;
        std::uint32_t top, right, bottom, left;
    } cases[] = {
        {0, face, face, face, face},
        {1, highlight, shadow, shadow, highlight},
        {2, shadow, highlight, highlight, shadow},
        {3, face, face, face, face},
    };
    for (const auto &c : cases) {
        b.setState(c.state);
        const QImage img = b.grab().toImage();
        ASSERT_EQ(img.size(), QSize(w, h));
        const std::string what = "state " + std::to_string(c.state);
        EXPECT_EQ(img.pixel(5, 0), rgbOf(c.top)) << what;
        EXPECT_EQ(img.pixel(0, 5), rgbOf(c.left)) << what;
        EXPECT_EQ(img.pixel(5, h - 1), rgbOf(c.bottom)) << what;
        EXPECT_EQ(img.pixel(w - 1, 5), rgbOf(c.right)) << what;
        // The right and bottom strips own the two far corners.
        EXPECT_EQ(img.pixel(w - 1, 0), rgbOf(c.right)) << what;
        EXPECT_EQ(img.pixel(0, h - 1), rgbOf(c.bottom)) << what;
        EXPECT_EQ(img.pixel(0, 0), rgbOf(c.top)) << what;
    }

    // A new back colour re-applies the look: a flat edge takes it at once.
    b.setState(0);
    b.setBackColor(syscolors::rgb(10, 200, 30));
    QImage img = b.grab().toImage();
    EXPECT_EQ(img.pixel(5, 0), qRgb(10, 200, 30));
    EXPECT_EQ(img.pixel(w - 1, h - 1), qRgb(10, 200, 30));
    b.setState(1);
    img = b.grab().toImage();
    EXPECT_EQ(img.pixel(5, 0), rgbOf(highlight));
    EXPECT_EQ(img.pixel(w - 1, 5), rgbOf(shadow));
}

TEST(OrvexButton, PicturesFollowTheLookWithTheMaskColourLeftOut)
{
    auto picture = [](QColor c) {
        QImage img(9, 9, QImage::Format_RGB32);
        img.fill(c);
        img.setPixelColor(0, 0, QColor(255, 0, 255));  // mask colour in a corner
        return img;
    };
    OrvexButton b;
    b.resize(23, 22);
    b.setMaskColor(syscolors::rgb(255, 0, 255));
    b.setPicture(picture(Qt::red));
    b.setDownPicture(picture(Qt::blue));
    b.setDisabledPicture(picture(Qt::green));
    // Style 0: the inner button is 25 x 24 at (-1, -1); the 9 x 9 picture centred in it
    // has its corner at (7, 6) here, one pixel further right and down while pressed.
    struct Case {
        int state;
        QRgb centre;
        QPoint corner;
    } cases[] = {
        {0, qRgb(255, 0, 0), {7, 6}},
        {2, qRgb(0, 0, 255), {8, 7}},
        {3, qRgb(0, 255, 0), {7, 6}},
    };
    for (const auto &c : cases) {
        b.setState(c.state);
        const QImage img = b.grab().toImage();
        EXPECT_EQ(img.pixel(11, 10), c.centre) << c.state;
        EXPECT_NE(img.pixel(c.corner), qRgb(255, 0, 255)) << c.state;  // the mask pixel is not drawn
        EXPECT_EQ(img.pixel(c.corner + QPoint(1, 1)), c.centre) << c.state;
    }
    b.setUseMaskColor(false);
    b.setState(0);
    EXPECT_EQ(b.grab().toImage().pixel(7, 6), qRgb(255, 0, 255));
}

TEST(OrvexButton, PropertiesPersistOnlyWhatDiffers)
{
    const QStringList order = {"State", "Mode", "Style", "MaskColor", "BackColor", "ForeColor",
                               "UseMaskColor", "OLEDropMode", "Caption", "Picture", "DownPicture",
                               "DisabledPicture"};
    {
        OrvexButton fresh;
        PropertyBag bag;
        fresh.writeProperties(bag);
        EXPECT_TRUE(bag.isEmpty()) << bag.keys().join(' ').toStdString();
    }

    QImage pic(4, 4, QImage::Format_RGB32);
    pic.fill(Qt::yellow);
    OrvexButton all;
    all.resize(23, 22);
    all.setState(2);
    all.setMode(2);
    all.setStyle(1);
    all.setMaskColor(0xFF00FF);
    all.setBackColor(0x123456);
    all.setForeColor(0x80000008);
    all.setUseMaskColor(false);
    all.setOLEDropMode(1);
    all.setCaption("Play");
    all.setPicture(pic);
    all.setDownPicture(pic);
    all.setDisabledPicture(pic);
    PropertyBag bag;
    all.writeProperties(bag);
    EXPECT_EQ(bag.keys(), order);

    const PropertyBag parsed = bag;
    OrvexButton back;
    back.resize(23, 22);
    back.readProperties(parsed);
    EXPECT_EQ(back.State(), 2);
    EXPECT_EQ(back.Mode(), 2);
    EXPECT_EQ(back.Style(), 1);
    EXPECT_EQ(back.MaskColor(), 0xFF00FFu);
    EXPECT_EQ(back.BackColor(), 0x123456u);
    EXPECT_EQ(back.ForeColor(), 0x80000008u);
    EXPECT_FALSE(back.UseMaskColor());
    EXPECT_EQ(back.OLEDropMode(), 1);
    EXPECT_EQ(back.Caption(), QString("Play"));
    EXPECT_EQ(back.DownPicture().pixelColor(1, 1), QColor(Qt::yellow));
    EXPECT_TRUE(back.hwnd()->acceptDrops());
    EXPECT_EQ(back.hwnd()->geometry(), QRect(0, 0, 23, 22));  // Style 1 applied on reading
    PropertyBag again;
    back.writeProperties(again);
    EXPECT_TRUE(again == bag);

    // A bag of the player window's kind: the keys it lacks take their defaults.
    PropertyBag player;
    player.write("Mode", 2);
    player.write("MaskColor", 0xFF00FF);
    OrvexButton mb;
    mb.setState(2);
    mb.setUseMaskColor(false);
    mb.readProperties(player);
    EXPECT_EQ(mb.State(), 0);
    EXPECT_EQ(mb.Mode(), 2);
    EXPECT_EQ(mb.BackColor(), face);
    EXPECT_EQ(mb.ForeColor(), 0x80000012u);
    EXPECT_TRUE(mb.UseMaskColor());

    // Each set reports its own name for the host to save.
    QSignalSpy changed(&mb, &OrvexButton::propertyChanged);
    mb.setState(1);
    mb.setCaption("x");
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toString(), QString("State"));
    EXPECT_EQ(changed.at(1).at(0).toString(), QString("Caption"));
}

TEST(OrvexButton, ToolTipReachesTheInnerButton)
{
    OrvexButton b;
    b.SetToolTip("Play (Space)");
    EXPECT_EQ(b.toolTip(), QString("Play (Space)"));
    EXPECT_EQ(b.hwnd()->toolTip(), QString("Play (Space)"));
}
