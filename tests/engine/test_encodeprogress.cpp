// Reading progress out of the encoders' output, and the percentages made from it.
#include "core/mdlmavrell.h"
#include "engine/encodeprogress.h"
#include "engine/encoderunner.h"

#include <gtest/gtest.h>

using namespace encodeprogress;

namespace {

TEST(EncodeProgress, ReadsTheLastCompleteStatusLine)
{
    // mencoder's banner holds "s " long before the first "Pos:".
    const QString banner = QStringLiteral("MEncoder (C) 2000-2023 MPlayer Team\nsuccess: format: 0 files ok\n");
    struct Case {
        QString text;
        bool tool3;
        bool found;
        float seconds;
        QString left;  // what stays for the next read
    } cases[] = {
        {banner + "Pos:   1.2s     30f (10%)\rPos:   2.5s     62f (20%)\r", false, true, 2.5f, ""},
        {banner, false, false, 0, ""},
        {"Pos:  12.5s  312f\rPos:  13.0", false, true, 12.5f, "Pos:  13.0"},
        {"Pos:  12.5s  312f\rPo", false, true, 12.5f, "Po"},
        {"s Pos:   3.0s ", false, true, 3.0f, ""},
        {"Pos:abcs ", false, false, 0, ""},
        {"Pos:s ", false, false, 0, "Pos:s "},  // no value between the markers yet
        {"size=  48kB time=00:00:03.03 bitrate= 130.4kbits/s\r", true, true, 3.03f, ""},
        {"time=00:01:05.50 bitrate=1\rtime=N/A bitrate=N/A\r", true, true, 65.5f, ""},
        {"time=00:00:01.00 bitrate=1\rframe= 2 time=00:00:0", true, true, 1.0f, "time=00:00:0"},
        {"time=-00:00:00.04 bitrate=N/A", true, true, 0.0f, ""},
        {"Pos:   2.0s ", true, false, 0, ""},  // the converter never says "Pos:"
    };
    for (const Case &c : cases) {
        const Reading r = readPosition(c.text, c.tool3);
        EXPECT_EQ(r.found, c.found) << c.text.toStdString();
        if (c.found) {
            EXPECT_FLOAT_EQ(r.seconds, c.seconds) << c.text.toStdString();
        }
        EXPECT_EQ(c.text.mid(r.consumed), c.left) << c.text.toStdString();
    }
}

TEST(EncodeProgress, AStatusLineSplitAcrossReadsIsRead)
{
    const QString first = QStringLiteral("Pos:   7.");
    const Reading a = readPosition(first, false);
    EXPECT_FALSE(a.found);
    const Reading b = readPosition(first.mid(a.consumed) + QStringLiteral("5s  180f (50%)\r"), false);
    EXPECT_TRUE(b.found);
    EXPECT_FLOAT_EQ(b.seconds, 7.5f);
    // A start marker that never ends is not kept for ever.
    const QString flood = QStringLiteral("Pos:") + QString(2000, QLatin1Char('x'));
    EXPECT_EQ(readPosition(flood, false).consumed, flood.size());
}

TEST(EncodeProgress, Percentages)
{
    struct Case {
        float seconds, total;
        bool tool3;
        float percent;
        QString text;
    } cases[] = {
        {12.5f, 100, false, 12, "12"},     {12.5f, 2000, false, 0.6f, "0.6"},  {50, 0, false, 99.9f, "99.9"},
        {150, 100, false, 99.9f, "99.9"},  {-3, 100, false, 0, "0"},           {1799, 1800, false, 99, "99"},
        {1000, 3000, true, 33, "33"}, {2000, 6000, true, 33.3f, "33.3"}, {1000, 3600, true, 27, "27"},      {1000, 3000, false, 33.3f, "33.3"},
    };
    for (const Case &c : cases) {
        const float p = percentOf(c.seconds, c.total, c.tool3);
        EXPECT_FLOAT_EQ(p, c.percent) << c.seconds << "/" << c.total;
        EXPECT_EQ(percentText(p, c.total, c.tool3), c.text) << c.seconds << "/" << c.total;
    }
}

TEST(EncodeProgress, RunningNoteAndFinalPercent)
{
    mdlMavrell::lng[txt::ProgressPercent] = QStringLiteral("progress aaa %");
    mdlMavrell::lng[txt::ReachedWord] = QStringLiteral("reached");
    mdlMavrell::lng[txt::Seconds] = QStringLiteral(" s");
    EXPECT_EQ(runningNote(42, 65.5f, 150, false), "progress 42 % -->  reached 01:05.5 s");

    // A clean exit alone is no proof of a whole result: the last progress counts.
    EXPECT_EQ(finalPercent(0, true, 0), 0);
    EXPECT_EQ(finalPercent(99, true, 0), 100);
    EXPECT_EQ(finalPercent(99.5f, true, 1), 100);
    EXPECT_EQ(finalPercent(50, true, 1), 50);
    EXPECT_EQ(finalPercent(99.5f, false, cmdoutput::killExitCode), 99.5f);

    mdlMavrell::lng[txt::ElapsedAndLeft] = QStringLiteral("used aaa, about bbb min left");
    EXPECT_EQ(startEstimateText(), "used 00:00:00, about ? min left");
}

// The line a failure report quotes: the tool's own words, not its status lines or its
// closing word (as the encoder and the converter print them when they give up).
TEST(EncodeProgress, LastMessageLine)
{
    struct Case {
        const char *output, *message;
    } cases[] = {
        {"Pos:   0.2s      5f ( 0%)  0.00fps Trem:   0min   0mb\rCannot find codec 'bogus' in libavcodec...\n"
         "Couldn't open video filter 'lavc'.\nFailed to open the encoder.\n\nExiting...\n",
         "Failed to open the encoder."},
        {"  Stream #0:1 -> #0:0 (mp3 (mp3float) -> ac3 (native))\n"
         "[ac3 @ 0x5558] Specified sample rate 12345 is not supported\nConversion failed!\n",
         "[ac3 @ 0x5558] Specified sample rate 12345 is not supported"},
        {"frame=   10 fps=0.0 q=2.0 size=      12kB time=00:00:00.40 bitrate= 245.8kbits/s speed=1x\r"
         "Error writing trailer: No space left on device\r\n"
         "size=      12kB time=00:00:00.40 bitrate= 245.8kbits/s speed=1x\r\n",
         "Error writing trailer: No space left on device"},
        {"\nExiting... (error parsing command line)\n\n", "Exiting... (error parsing command line)"},
        {"Pos:   1.0s   25f\rPos:   2.0s   50f\r", ""},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lastMessageLine(QString::fromUtf8(c.output)).toStdString(), c.message) << c.output;
    EXPECT_EQ(lastMessageLine(QString(500, QLatin1Char('x'))).size(), 300);
}

TEST(EncodeProgress, ToolThreeIsKnownByItsNumber)
{
    EXPECT_TRUE(encoderunner::isTool3Command("/opt/m/plugins/OrvexRes3 -y -i \"a.avi\" \"b.mp3\""));
    EXPECT_TRUE(encoderunner::isTool3Command("/opt/m/plugins/OrvexRes3.dll -i x"));
    EXPECT_FALSE(encoderunner::isTool3Command("/opt/m/plugins/OrvexRes2 \"OrvexRes3\" -o x"));
    EXPECT_FALSE(encoderunner::isTool3Command("/opt/OrvexRes3s/plugins/OrvexRes2 -o x"));
}

} // namespace
