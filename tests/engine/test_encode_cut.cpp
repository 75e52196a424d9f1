// Cutting and repairing keep the picture as it is: real tools, real clips.
#include "engine/encodetargets.h"

using namespace mdlMavrell;

namespace {

using Operations = encodetest::OperationTest;

TEST_F(Operations, CutKeepsTheMarkedRange)
{
    struct Case {
        const char *fixture, *ext, *video, *sound;
    } cases[] = {
        {"mpeg1.mpg", "mpg", "mpeg1video", "mp2"},
        {"mpeg2.vob", "vob", "mpeg2video", "ac3"},
        {"wmv2.wmv", "wmv", "wmv2", "wmav2"},
        {"mpeg4.avi", "avi", "mpeg4", "mp3"},
    };
    for (const Case &c : cases) {
        const QString src = source(c.fixture, "onlyCut", c.ext);
        markIn = 1;
        markOut = 2.5f;
        const QString dst = out.path() + "/cut." + c.ext;
        const auto r = run(src, dst);
        ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
        EXPECT_TRUE(r.command.contains(" -ss 00:00:01.0 -endpos 00:00:01.5"));
        const auto p = encodetest::ffprobe(dst);
        EXPECT_NEAR(p.duration, 1.5, 0.3) << c.fixture;
        EXPECT_EQ(p.video, c.video);
        EXPECT_EQ(p.audio, c.sound);
    }
}

TEST_F(Operations, RepairRewritesTheWholeFile)
{
    for (const char *fixture : {"mpeg4.avi", "wmv2.wmv"}) {
        const QString ext = QFileInfo(fixture).suffix();
        const QString src = source(fixture, "onlyFix", ext);
        markIn = 1;  // a repair never cuts
        markOut = 2;
        const QString dst = out.path() + "/fixed." + ext;
        const auto r = run(src, dst);
        ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
        EXPECT_TRUE(r.command.contains(" -idx "));
        const auto p = encodetest::ffprobe(dst);
        EXPECT_NEAR(p.duration, 3.0, 0.3) << fixture;
        EXPECT_EQ(p.width, 320);
    }
}

// The level measured with volumedetect follows the gain; the VOB keeps AC-3 sound.

} // namespace
