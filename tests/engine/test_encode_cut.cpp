// Cutting and repairing keep the picture as it is: real tools, real clips.
#include "engine/encodetargets.h"

using namespace mdlMavrell;

namespace {

struct Clip {
    const char *fixture, *ext, *video, *sound;
};
std::ostream &operator<<(std::ostream &os, const Clip &c) { return os << c.fixture; }
std::string clipName(const ::testing::TestParamInfo<Clip> &info) { return info.param.ext; }

class Cut : public encodetest::OperationTest, public ::testing::WithParamInterface<Clip> {};

TEST_P(Cut, KeepsTheMarkedRange)
{
    const Clip &c = GetParam();
    const QString src = source(c.fixture, "onlyCut", c.ext);
    markIn = 1;
    markOut = 2.5f;
    const QString dst = out.path() + "/cut." + c.ext;
    const auto r = run(src, dst);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
    EXPECT_TRUE(r.command.contains(" -ss 00:00:01.0 -endpos 00:00:01.5"));
    const auto p = encodetest::ffprobe(dst);
    EXPECT_NEAR(p.duration, 1.5, 0.3);
    EXPECT_EQ(p.video, c.video);
    EXPECT_EQ(p.audio, c.sound);
}

INSTANTIATE_TEST_SUITE_P(Engine, Cut,
                         ::testing::Values(Clip{"mpeg1.mpg", "mpg", "mpeg1video", "mp2"},
                                           Clip{"mpeg2.vob", "vob", "mpeg2video", "ac3"},
                                           Clip{"wmv2.wmv", "wmv", "wmv2", "wmav2"},
                                           Clip{"mpeg4.avi", "avi", "mpeg4", "mp3"}),
                         clipName);

class Repair : public encodetest::OperationTest, public ::testing::WithParamInterface<Clip> {};

TEST_P(Repair, RewritesTheWholeFile)
{
    const Clip &c = GetParam();
    const QString src = source(c.fixture, "onlyFix", c.ext);
    markIn = 1;  // a repair never cuts
    markOut = 2;
    const QString dst = out.path() + "/fixed." + c.ext;
    const auto r = run(src, dst);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
    EXPECT_TRUE(r.command.contains(" -idx "));
    const auto p = encodetest::ffprobe(dst);
    EXPECT_NEAR(p.duration, 3.0, 0.3);
    EXPECT_EQ(p.video, c.video);
    EXPECT_EQ(p.audio, c.sound);
    EXPECT_EQ(p.width, 320);
}

INSTANTIATE_TEST_SUITE_P(Engine, Repair,
                         ::testing::Values(Clip{"mpeg4.avi", "avi", "mpeg4", "mp3"},
                                           Clip{"wmv2.wmv", "wmv", "wmv2", "wmav2"}),
                         clipName);

} // namespace
