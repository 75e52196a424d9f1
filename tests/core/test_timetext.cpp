#include "core/numbertext.h"
#include "core/timetext.h"

#include <gtest/gtest.h>

using namespace mdlMavrell;

TEST(FormatTime, StylesAndFields)
{
    struct Case { float secs; int style, decimals; const char *text; int parts; };
    const Case cases[] = {
        {75, 2, 0, "01:15", 2},
        {75, 3, 1, "00:01:15.0", 3},
        {3725.5f, 1, 1, "01:02:05.5", 3},
        {3725.5f, 4, 1, "62:05.5", 2},
        {5.2f, 1, 1, "5.2", 1},
        {125.3f, 0, 1, "125.3", 1},
        {-3, 3, 1, "00:00:00.0", 3},
        {59.999f, 2, 0, "01:00", 2},
        {59.7f, 2, 0, "00:59", 2},   // whole seconds are cut, never rounded up
        {12, 1, 0, "12", 1},
        {0, 2, 1, "00:00.0", 2},
    };
    for (const Case &c : cases) {
        int parts = 0;
        EXPECT_EQ(FormatTime(c.secs, c.style, c.decimals, &parts).toStdString(), c.text)
            << c.secs << " style " << c.style;
        EXPECT_EQ(parts, c.parts) << c.secs << " style " << c.style;
    }
}

TEST(FormatTime, RoundedSecondsCarryIntoMinutesAndHours)
{
    EXPECT_EQ(FormatTime(119.96f, 2, 1).toStdString(), "02:00.0");
    EXPECT_EQ(FormatTime(3599.97f, 1, 1).toStdString(), "01:00:00.0");
    EXPECT_EQ(FormatTime(9.96f, 1, 1).toStdString(), "10.0");
    EXPECT_EQ(FormatTime(3605, 1, 0).toStdString(), "01:00:05");
}

TEST(FormatTime, PatternsRoundHalvesAwayFromZero)
{
    // Every pattern rounds to its decimals, halves up; only the "00" of a whole-second
    // field cuts. The "0" pattern (below ten seconds, short styles) rounds too.
    struct Case { float secs; int style, decimals; const char *text; };
    const Case cases[] = {
        {1.25f, 3, 1, "00:00:01.3"},   // a cut start passed to the tools
        {1.25f, 1, 1, "1.3"},
        {0.35f, 2, 1, "00:00.4"},
        {2.5f, 1, 0, "3"},             // "0" pattern
        {5.7f, 1, 0, "6"},
        {9.6f, 1, 0, "10"},
        {9.4f, 1, 0, "9"},
        {125.5f, 0, 0, "126"},         // plain seconds round as a whole
        {12.5f, 1, 0, "12"},           // "00" field: cut
        {72.5f, 2, 0, "01:12"},
        {1.24f, 3, 1, "00:00:01.2"},
        {1.255f, 3, 2, "00:00:01.25"},
        {3.5f, 1, 3, "3.500"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatTime(c.secs, c.style, c.decimals).toStdString(), c.text)
            << c.secs << " style " << c.style << " decimals " << c.decimals;
}

TEST(ParseTime, FieldsAndPlainSeconds)
{
    EXPECT_FLOAT_EQ(ParseTime("01:02:05.5"), 3725.5f);
    EXPECT_FLOAT_EQ(ParseTime("90"), 90.0f);
    EXPECT_FLOAT_EQ(ParseTime("-5"), 0.0f);
    EXPECT_FLOAT_EQ(ParseTime("00:00:05.00"), 5.0f);
    EXPECT_FLOAT_EQ(ParseTime("1:30"), 90.0f);
    EXPECT_FLOAT_EQ(ParseTime("abc"), 0.0f);
    // Round trip of what the display writes.
    EXPECT_FLOAT_EQ(ParseTime(FormatTime(3725.5f, 3, 1)), 3725.5f);
}

TEST(GetBetween, KeysValuesAndPosition)
{
    const QString text = "ID_VIDEO_WIDTH=640\r\nID_VIDEO_HEIGHT=480\r\n";
    int pos = 0;
    EXPECT_EQ(GetBetween(text, "id_video_height=", "", false, pos).toStdString(), "480");
    EXPECT_EQ(pos, text.indexOf("480") + 4);  // just behind the CR

    pos = 0;
    EXPECT_EQ(GetBetween("  Duration: 00:01:23.45, start: 0.000000, bitrate: 128 kb/s", "Duration:", ",", false, pos)
                  .toStdString(),
              "00:01:23.45");
    pos = 0;
    EXPECT_EQ(GetBetween("a[x]b", "[", "]", false, pos, true).toStdString(), "[x]");

    // The tools end lines with LF alone here.
    EXPECT_EQ(GetBetween("ID_LENGTH=3.00\nID_SEEKABLE=1\n", "ID_LENGTH=", "").toStdString(), "3.00");
    // Case matters only when asked; a missing end leaves pos alone.
    pos = 5;
    EXPECT_EQ(GetBetween("ab ID_X=1", "ID_X=", "", true, pos).toStdString(), "");
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(GetBetween("id_x=1\n", "ID_X=", "", true).toStdString(), "");
}

TEST(GetBetween, RepeatedKeysFromTheSamePosition)
{
    const QString text = "ID_AUDIO_RATE=0\nID_AUDIO_RATE=44100\n";
    int pos = 0;
    EXPECT_EQ(GetBetween(text, "ID_AUDIO_RATE=", "", true, pos).toStdString(), "0");
    EXPECT_EQ(GetBetween(text, "ID_AUDIO_RATE=", "", true, pos).toStdString(), "44100");
    EXPECT_EQ(GetBetween(text, "ID_AUDIO_RATE=", "", true, pos).toStdString(), "");
}

TEST(GetBeforeMark, NumberInFrontOfAMark)
{
    EXPECT_EQ(GetBeforeMark("Stream #0.0: Video: wmv2, yuv420p, 320x240, 29.97 tb(r)", ",", "tb(r)").toStdString(),
              " 29.97 ");
    EXPECT_EQ(GetBeforeMark("Stream #0:0: Video: mpeg4, yuv420p, 320x240, 25 fps, 25 tbr, 25 tbn", ",", "tbr")
                  .toStdString(),
              " 25 ");
    EXPECT_EQ(GetBeforeMark("no mark here", ",", "tbr").toStdString(), "");
    EXPECT_EQ(GetBeforeMark("25 tbr", ",", "tbr").toStdString(), "");
}

TEST(NumberText, LocaleFreeReadingAndWriting)
{
    struct ValCase { const char *text; double value; };
    const ValCase vals[] = {{"12abc", 12}, {"abc", 0}, {" -3.5x", -3.5}, {"29.97 fps", 29.97},
                            {"1e3", 1000}, {"2e", 2}, {".5", 0.5}, {"", 0}, {"+7", 7}};
    for (const auto &c : vals)
        EXPECT_DOUBLE_EQ(numbertext::Val(c.text), c.value) << c.text;

    EXPECT_EQ(numbertext::single(29.97f).toStdString(), "29.97");
    EXPECT_EQ(numbertext::single(25.0f).toStdString(), "25");
    EXPECT_EQ(numbertext::single(0.1f).toStdString(), "0.1");
    EXPECT_EQ(numbertext::single(1000000.0f).toStdString(), "1000000");
    EXPECT_EQ(numbertext::fixed(2.5, 0).toStdString(), "2");
    EXPECT_EQ(numbertext::fixed(3.5, 0).toStdString(), "4");
    EXPECT_EQ(numbertext::fixed(-0.01, 1).toStdString(), "0.0");
    EXPECT_DOUBLE_EQ(numbertext::Int(-1.5), -2);
}

TEST(NumberText, DecimalPointIgnoresTheLocale)
{
    const char *old = setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        setlocale(LC_NUMERIC, "C.UTF-8");
    EXPECT_EQ(numbertext::single(29.97f).toStdString(), "29.97");
    EXPECT_DOUBLE_EQ(numbertext::Val("29.97"), 29.97);
    EXPECT_EQ(FormatTime(5.5f, 3, 1).toStdString(), "00:00:05.5");
    setlocale(LC_ALL, saved.c_str());
}
