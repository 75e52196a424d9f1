// The result check: the prober's packet lines read into stream spans, and the verdict
// on a target against what its job promises.
#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "engine/resultcheck.h"

#include <gtest/gtest.h>

using namespace resultcheck;

namespace {

TEST(ResultCheck, PacketLinesGiveEachStreamsFirstAndLastMoment)
{
    // Packets before the stream lines (the prober's order), a packet without pts that
    // counts by its dts, a second audio stream that does not count, and a junk line.
    const QString out = QStringLiteral(
        "packet|stream_index=1|pts_time=0.500000|dts_time=0.500000|duration_time=0.026122\n"
        "packet|stream_index=0|pts_time=0.540000|dts_time=N/A|duration_time=0.040000\n"
        "packet|stream_index=0|pts_time=N/A|dts_time=3.460000|duration_time=0.040000\n"
        "packet|stream_index=0|pts_time=3.380000|dts_time=3.300000|duration_time=0.040000\n"
        "packet|stream_index=1|pts_time=3.474000|dts_time=3.474000|duration_time=0.026122\n"
        "packet|stream_index=2|pts_time=9.000000|dts_time=9.000000|duration_time=1.000000\n"
        "[mpeg @ 0x1] some complaint\n"
        "stream|index=0|codec_name=mpeg2video|codec_type=video\n"
        "stream|index=1|codec_name=mp2|codec_type=audio\n"
        "stream|index=2|codec_name=ac3|codec_type=audio\n"
        "format|format_name=mpeg\n");
    const Spans s = readSpans(out);
    ASSERT_TRUE(s.readable);
    EXPECT_EQ(s.format, "mpeg");
    EXPECT_EQ(s.videoCodec, "mpeg2video");
    EXPECT_EQ(s.audioCodec, "mp2");
    ASSERT_TRUE(s.video.present && s.audio.present);
    EXPECT_DOUBLE_EQ(s.video.start, 0.54);
    EXPECT_DOUBLE_EQ(s.video.end, 3.5);
    EXPECT_DOUBLE_EQ(s.audio.start, 0.5);
    EXPECT_NEAR(s.audio.end, 3.500122, 1e-9);

    EXPECT_FALSE(readSpans(QStringLiteral("in.mp4: Invalid data found when processing input\n")).readable);
}

TEST(ResultCheck, VerdictOnTheJobsStreamsLengthAndStep)
{
    mdlMavrell::loadLanguageTable(QStringLiteral("en"));
    auto span = [](double a, double b) { return Span{true, a, b}; };
    struct Case {
        const char *what;
        Span video, audio;
        bool picture, sound;
        double length;
        int entry;  // 0: ok
        float percent;
    } cases[] = {
        {"whole and in step", span(0.54, 4.5), span(0.5, 4.55), true, true, 4, 0, 100},
        {"MPEG start offset, sound 0.12 s longer", span(0.53, 4.47), span(0.5, 4.59), true, true, 4, 0, 100},
        {"sound-only job", {}, span(0, 3), false, true, 3, 0, 100},
        {"picture-only job from a silent source", span(0, 3), {}, true, false, 3, 0, 100},
        {"nothing in it", {}, {}, true, true, 3, 280, 0},
        {"no picture", {}, span(0, 3), true, true, 3, 281, 0},
        {"no sound", span(0, 3), {}, true, true, 3, 282, 0},
        {"an early exit: 0.05 s of 10 s", span(0, 0.05), span(0, 0.05), true, true, 10, 283, 0.5f},
        {"stretched picture", span(0.27, 6.64), span(0.23, 3.45), true, true, 3, 283, 100},
        {"the end of the sound lost", span(0.24, 4.2), span(0.24, 3.41), true, true, 4, 284, 79},
        {"the picture 3.1 s behind", span(3.64, 7.47), span(0.5, 4.5), true, true, 4, 285, 95.75f},
        {"sound a little short (in tolerance), ends apart", span(0, 4), span(0, 3.55), true, true, 4, 286, 88.75f},
        {"sound short beyond tolerance", span(0, 4), span(0, 2.5), true, true, 4, 284, 62.5f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Spans r;
        r.readable = c.entry != 280;
        r.video = c.video;
        r.audio = c.audio;
        Expectation e;
        e.length = c.length;
        e.picture = c.picture;
        e.sound = c.sound;
        const Verdict v = judge(r, e);
        EXPECT_EQ(v.ok, c.entry == 0);
        EXPECT_NEAR(v.percent, c.percent, 0.5f);
        if (c.entry == 0) {
            EXPECT_TRUE(v.message.isEmpty());
            continue;
        }
        // The message is the entry with its numbers filled in.
        const QString head = mdlMavrell::lng[c.entry].left(mdlMavrell::lng[c.entry].indexOf(QLatin1String("aaa")));
        EXPECT_TRUE(v.message.startsWith(head)) << v.message.toStdString();
        EXPECT_FALSE(v.message.contains(QLatin1String("aaa"))) << v.message.toStdString();
    }

    // The message names what the result holds against the job's length.
    Spans early;
    early.readable = true;
    early.video = span(0, 0.2);
    early.audio = span(0, 0.2);
    Expectation ten;
    ten.length = 10;
    ten.picture = ten.sound = true;
    EXPECT_EQ(judge(early, ten).message.toStdString(),
              "The result holds 0.2 s of picture, but 10.0 s were to be converted.");

    // A source whose sound ends a second before its picture gives a result like it.
    Spans likeSource;
    likeSource.readable = true;
    likeSource.video = span(0, 4);
    likeSource.audio = span(0, 3);
    EXPECT_FALSE(judge(likeSource, ten).ok);
    Expectation four = ten;
    four.length = 4;
    four.sourceSoundLength = 3;
    four.sourceEndGap = 1;
    EXPECT_TRUE(judge(likeSource, four).ok) << judge(likeSource, four).message.toStdString();
}

} // namespace
