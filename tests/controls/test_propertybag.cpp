#include "controls/propertybag.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage smallPicture()
{
    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(QColor(10, 20, 30));
    img.setPixelColor(4, 2, QColor(255, 0, 255));
    return img;
}

} // namespace

TEST(PropertyBag, EveryKindReadsBackInWritingOrder)
{
    QFont font(QStringLiteral("Noto Sans"));
    font.setPointSizeF(10.5);
    font.setBold(true);
    font.setUnderline(true);

    PropertyBag bag;
    ASSERT_TRUE(bag.write("State", 2));
    ASSERT_TRUE(bag.write("MaskColor", 0x8000000Fu));
    ASSERT_TRUE(bag.write("Negative", -2147483633LL));
    ASSERT_TRUE(bag.write("UseMaskColor", false));
    ASSERT_TRUE(bag.write("ENAB", true));
    ASSERT_TRUE(bag.write("TX", QStringLiteral("A \"quoted\"\\ line\r\nnext\ttab \x01 ≡ 漢字")));
    ASSERT_TRUE(bag.write("Empty", QString()));
    ASSERT_TRUE(bag.write("FONT", font));
    ASSERT_TRUE(bag.write("PICN", smallPicture()));

    const PropertyBag back = bag;
    EXPECT_TRUE(back == bag);
    EXPECT_EQ(back.keys(), QStringList({"State", "MaskColor", "Negative", "UseMaskColor", "ENAB", "TX",
                                        "Empty", "FONT", "PICN"}));
    EXPECT_EQ(back.readInt("State", 0), 2);
    EXPECT_EQ(back.readColor("MaskColor", 0), 0x8000000Fu);
    EXPECT_EQ(back.readColor("Negative", 0), 0x8000000Fu);  // a signed 32-bit reference reads as the same colour
    EXPECT_FALSE(back.readBool("UseMaskColor", true));
    EXPECT_EQ(back.readString("TX", {}), bag.readString("TX", {}));
    EXPECT_TRUE(back.contains("Empty"));
    EXPECT_EQ(back.readString("Empty", "x"), QString());
    EXPECT_EQ(back.readFont("FONT", QFont()), font);
    EXPECT_EQ(back.readPicture("PICN").pixelColor(4, 2), QColor(255, 0, 255));
}

TEST(PropertyBag, AValueEqualToItsDefaultIsNotWritten)
{
    QImage sameLooksOtherFormat = smallPicture().convertToFormat(QImage::Format_ARGB32);
    QFont plain(QStringLiteral("Noto Sans"), 9);
    QFont bold = plain;
    bold.setBold(true);
    struct Case {
        const char *what;
        QVariant value;
        QVariant def;
        bool stored;
    } cases[] = {
        {"int equal", 0, 0, false},
        {"int differs", 1, 0, true},
        {"int and unsigned of one value", 0x8000000Fu, qint64(0x8000000F), false},
        {"bool equal", true, true, false},
        {"bool differs", false, true, true},
        {"bool is not the number 1", true, 1, true},
        {"empty string", QString(), QString(""), false},
        {"string differs in case", QString("a"), QString("A"), true},
        {"font equal", plain, plain, false},
        {"font differs", bold, plain, true},
        {"no picture", QImage(), QVariant(), false},
        {"same pixels", sameLooksOtherFormat, smallPicture(), false},
        {"picture set", smallPicture(), QVariant(), true},
    };
    for (const auto &c : cases) {
        PropertyBag bag;
        bag.write("Before", 1);
        ASSERT_TRUE(bag.write("K", c.value, c.def)) << c.what;
        EXPECT_EQ(bag.contains("K"), c.stored) << c.what;
        EXPECT_EQ(bag.size(), c.stored ? 2 : 1) << c.what;
    }
}

TEST(PropertyBag, MissingKeysTakeTheCallersDefault)
{
    PropertyBag bag;
    bag.write("BTYPE", 11);
    bag.write("TX", QStringLiteral("Go"));

    // Missing keys: the default the reader names, whatever it is.
    EXPECT_EQ(bag.readInt("COLTYPE", 1), 1);
    EXPECT_EQ(bag.readInt("COLTYPE", 2), 2);
    EXPECT_TRUE(bag.readBool("SkipOverAndEnter", true));
    EXPECT_EQ(bag.read("PICN"), QVariant());
    EXPECT_TRUE(bag.readPicture("PICN").isNull());
    // Keys match without regard to case.
    EXPECT_EQ(bag.readInt("btype", 2), 11);
    // A stored value of another kind counts as missing rather than as 0.
    EXPECT_EQ(bag.readInt("TX", 7), 7);
    EXPECT_EQ(bag.readString("BTYPE", "d"), QString("d"));
    EXPECT_TRUE(bag.readFont("TX", QFont("Serif")) == QFont("Serif"));
    // A number read as a Boolean: non-zero is True.
    EXPECT_TRUE(bag.readBool("BTYPE", false));
}

TEST(PropertyBag, RewritingKeepsThePlaceAndDefaultOrNoneRemoves)
{
    PropertyBag bag;
    bag.write("State", 2);
    bag.write("Mode", 1);
    bag.write("Style", 1);
    bag.write("MODE", 2);  // same key in another case: replaced where it stands
    EXPECT_EQ(bag.keys(), QStringList({"State", "Mode", "Style"}));
    EXPECT_EQ(bag.readInt("Mode", 0), 2);

    bag.write("State", 0, 0);  // back to its default: no longer stored
    bag.write("Style", QImage());  // "none"
    EXPECT_EQ(bag.keys(), QStringList({"Mode"}));

    // Bad keys and unsupported kinds are refused without a change.
    EXPECT_FALSE(bag.write("two words", 1));
    EXPECT_FALSE(bag.write("A=B", 1));
    EXPECT_FALSE(bag.write("", 1));
    EXPECT_FALSE(bag.write("Size", QSize(2, 3)));
    EXPECT_FALSE(bag.write("Mode", 1.5));
    EXPECT_EQ(bag.keys(), QStringList({"Mode"}));
    EXPECT_EQ(bag.readInt("Mode", 0), 2);
}
