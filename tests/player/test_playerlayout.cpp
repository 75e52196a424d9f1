// The player window's size arithmetic and its settings file, as plain functions.
#include "player/playerlayout.h"
#include "player/playersettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(PlayerLayout, AspectFit)
{
    struct Case { int boxW, boxH, w, h, outW, outH; };
    const Case cases[] = {
        {800, 600, 640, 360, 800, 450},  // width limits
        {320, 50, 100, 50, 100, 50},     // width-limited fit too high: height limits
        {400, 300, 400, 300, 400, 300},  // a tie takes the width branch
        {320, 200, 0, 0, 320, 20},       // no size counts as 320 x 20
        {101, 100, 2, 1, 101, 50},       // 50.5 rounds to the even 50
    };
    for (const Case &c : cases) {
        int w = c.w, h = c.h;
        playerlayout::getMediaNewSize(c.boxW, c.boxH, w, h);
        EXPECT_EQ(w, c.outW) << c.boxW << "x" << c.boxH << " " << c.w << "x" << c.h;
        EXPECT_EQ(h, c.outH) << c.boxW << "x" << c.boxH << " " << c.w << "x" << c.h;
    }
}

TEST(PlayerLayout, PictureInContainer)
{
    EXPECT_EQ(playerlayout::pictureRect(640, 360, QSize(800, 600), true, true), QRect(0, 75, 800, 450));
    EXPECT_EQ(playerlayout::pictureRect(640, 360, QSize(800, 600), false, true), QRect(0, 0, 800, 600));
    EXPECT_EQ(playerlayout::pictureRect(100, 50, QSize(320, 50), true, true), QRect(110, 0, 100, 50));
    EXPECT_EQ(playerlayout::pictureRect(640, 360, QSize(800, 600), true, false), QRect(0, 0, 800, 600));
    EXPECT_EQ(playerlayout::pictureRect(0, 0, QSize(320, 20), true, true), QRect(0, 0, 320, 20));

    // Own size: the width is raised to the minimum, the height kept; the container
    // frame and the bottom bar come on top.
    EXPECT_EQ(playerlayout::clientSizeFor(100, 50), QSize(322, 50 + 69 + 2));
    EXPECT_EQ(playerlayout::clientSizeFor(0, 0), playerlayout::minimumClientSize());
    EXPECT_EQ(playerlayout::clientSizeFor(640, 360), QSize(642, 431));
}

TEST(PlayerLayout, KeptOnScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(playerlayout::keepOnScreen(QPoint(100, 100), QSize(640, 480), screen), QPoint(100, 100));
    EXPECT_EQ(playerlayout::keepOnScreen(QPoint(1000, 900), QSize(640, 480), screen), QPoint(640, 544));
    EXPECT_EQ(playerlayout::keepOnScreen(QPoint(500, 500), QSize(2000, 1100), screen), QPoint(0, 0));
}

// The big preview screen beside the options dialog: its transport row with the marks,
// its OK and Cancel, and its big-screen button stay uncovered.
TEST(PlayerLayout, PlacedClearOfWhatMustStayReachable)
{
    const QRect screen(0, 0, 1280, 1024);
    const QList<QRect> keep{QRect(451, 539, 380, 24), QRect(686, 772, 158, 29), QRect(772, 220, 33, 33)};
    const QSize minimum(322, 91);
    struct Case {
        QRect wanted, placed;
    } cases[] = {
        // Clear already: it stays, kept on the screen.
        {QRect(0, 0, 322, 311), QRect(0, 0, 322, 311)},
        {QRect(1100, 900, 322, 311), QRect(958, 713, 322, 311)},
        // Over the transport row: the nearest place that covers nothing, above the row
        // and left of the big-screen button.
        {QRect(479, 357, 322, 311), QRect(450, 228, 322, 311)},
        // Too large for any free place: the largest size that fits one, here above the
        // transport row and left of the big-screen button.
        {QRect(0, 100, 1282, 813), QRect(0, 52, 769, 487)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.wanted.x());
        const QRect placed = playerlayout::placeClearOf(c.wanted, minimum, keep, screen);
        EXPECT_EQ(placed, c.placed) << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height();
        EXPECT_TRUE(screen.contains(placed));
        for (const QRect &k : keep)
            EXPECT_FALSE(placed.intersects(k));
    }
    // Nowhere to go, even at the smallest: kept on the screen where it was wanted.
    EXPECT_EQ(playerlayout::placeClearOf(QRect(900, 900, 400, 300), minimum, {QRect(0, 0, 1280, 1024)}, screen),
              QRect(880, 724, 400, 300));
}

TEST(PlayerLayout, SeekScale)
{
    auto s = playerlayout::seekScale(300, 75);
    EXPECT_EQ(s.totalFrames, 75);
    EXPECT_DOUBLE_EQ(s.scale, 4.0);
    for (long frames : {1L, 0L, -3L}) {
        s = playerlayout::seekScale(300, frames);
        EXPECT_EQ(s.totalFrames, 1);
        EXPECT_EQ(s.scale, 1);
    }
}

TEST(PlayerSettings, Reading)
{
    using playersettings::parse;
    auto v = parse(QStringLiteral("MainRect=1500,3000\r\nKeepWH=False\r\nTopMost=True\r\nMciVol=735\r\n"));
    EXPECT_TRUE(v.rectFound);
    EXPECT_EQ(v.left, 1500);
    EXPECT_EQ(v.top, 3000);
    EXPECT_EQ(v.keepWH, false);
    EXPECT_EQ(v.topMost, true);
    EXPECT_EQ(v.volume, 735);

    // Any letter case; blanks round the line and the value; a later line wins.
    v = parse(QStringLiteral("  KEEPWH=  false  \nkeepwh=TRUE\nMCIVOL=  750abc \n"));
    EXPECT_EQ(v.keepWH, true);
    EXPECT_EQ(v.volume, 750);
    EXPECT_FALSE(v.rectFound);

    // A blank before "=" is another key; unreadable values leave things as they were.
    v = parse(QStringLiteral("KeepWH =False\nTopMost=maybe\nMciVol=\n"));
    EXPECT_FALSE(v.keepWH.has_value());
    EXPECT_FALSE(v.topMost.has_value());
    EXPECT_EQ(v.volume, 0);

    // A position of one number counts as found but moves nothing.
    v = parse(QStringLiteral("MainRect=1500\nTopMost=1\n"));
    EXPECT_TRUE(v.rectFound);
    EXPECT_FALSE(v.left.has_value());
    EXPECT_EQ(v.topMost, true);
    EXPECT_EQ(playersettings::parseBool(QStringLiteral("0")), false);
    EXPECT_EQ(playersettings::parseBool(QStringLiteral("-1")), true);
}

TEST(PlayerSettings, WrittenWholeAndSafely)
{
    const QString text = playersettings::compose(1500, 3000, true, false, 735);
    EXPECT_EQ(text, QStringLiteral("MainRect=1500,3000\r\nKeepWH=True\r\nTopMost=False\r\nMciVol=735\r\n"));
    const auto v = playersettings::parse(text);
    EXPECT_EQ(playersettings::compose(*v.left, *v.top, *v.keepWH, *v.topMost, *v.volume), text);

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Tessaly.ini");
    ASSERT_TRUE(playersettings::writeFile(path, text));
    EXPECT_EQ(playersettings::readFile(path), text);
    // A folder that cannot be written keeps the old file (root may write anywhere).
    if (geteuid() == 0)
        return;
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(playersettings::writeFile(path, QStringLiteral("MciVol=1\r\n")));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(playersettings::readFile(path), text);
}

} // namespace
