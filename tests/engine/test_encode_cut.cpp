// Cutting and repairing keep the picture as it is: real tools, real clips.
#include "engine/encodetargets.h"
#include "engine/keyframeprobe.h"
#include "engine/testjob.h"

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
    testjob::job.markIn = 1;
    testjob::job.markOut = 2.5f;
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
    testjob::job.markIn = 1;  // a repair never cuts
    testjob::job.markOut = 2;
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

// A marked start between key frames, moved back to the key frame before it (Yes) or
// kept at the key frame after it (No), through the real player's probe and the real
// encoder. The clips have key frames at 0, 1.04, 2.04, 3.04 and 4.04 s (frames 0, 26,
// 51, 76, 101); the marks 2.5 to 3.5 lie between them.
namespace {

const int keyFrameIndex[] = {0, 26, 51, 76, 101};

QString makeKeyedClip(const QString &dir, const QString &ext)
{
    const QString path = dir + "/keyed." + ext;
    QStringList args{"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=5",
                     "-f", "lavfi", "-i", "sine=frequency=440:duration=5", "-g", "300",
                     "-force_key_frames", "0,1.04,2.04,3.04,4.04", "-ac", "2"};
    if (ext == "avi")
        args << "-c:v" << "mpeg4" << "-vtag" << "XVID" << "-c:a" << "libmp3lame";
    else if (ext == "mpg")
        args << "-c:v" << "mpeg2video" << "-b:v" << "1500k" << "-c:a" << "mp2" << "-f" << "mpeg";
    else
        args << "-c:v" << "wmv2" << "-c:a" << "wmav2";
    QProcess p;
    p.start("ffmpeg", args << path);
    p.waitForFinished(60000);
    return p.exitCode() == 0 ? path : QString();
}

// How like frame n of src the first picture of out is (PSNR in dB, small pictures).
double firstPictureLikeFrame(const QString &out, const QString &src, int n, const QString &dir)
{
    const QString a = dir + "/a.png", b = dir + "/b.png";
    QProcess p;
    p.start("ffmpeg", {"-nostdin", "-v", "error", "-y", "-i", src, "-vf", QString("select=eq(n\\,%1)").arg(n),
                       "-frames:v", "1", a});
    p.waitForFinished(30000);
    p.start("ffmpeg", {"-nostdin", "-v", "error", "-y", "-i", out, "-frames:v", "1", b});
    p.waitForFinished(30000);
    p.start("ffmpeg", {"-nostdin", "-i", a, "-i", b, "-lavfi",
                       "[0]scale=160:120,format=yuv420p[x];[1]scale=160:120,format=yuv420p[y];[x][y]psnr", "-f",
                       "null", "-"});
    p.waitForFinished(30000);
    const QString log = QString::fromUtf8(p.readAllStandardError());
    const QString avg = GetBetween(log, "average:", " ");
    return avg == "inf" ? 99 : numbertext::Val(avg);
}

struct Aligned {
    const char *ext;
    const char *format;
    prompts::Answer answer;
    int toldKey;  // index into keyFrameIndex
};
std::ostream &operator<<(std::ostream &os, const Aligned &c)
{
    return os << c.ext << " " << c.format << (c.answer == prompts::Answer::Yes ? " Yes" : " No");
}
std::string alignedName(const ::testing::TestParamInfo<Aligned> &info)
{
    return std::string(info.param.ext) + (std::string(info.param.format) == "onlyCut" ? "Copy" : "Xvid")
           + (info.param.answer == prompts::Answer::Yes ? "Yes" : "No");
}

class AlignedCut : public encodetest::OperationTest, public ::testing::WithParamInterface<Aligned> {};

TEST_P(AlignedCut, StartsAtTheToldKeyFrameAndEndsAtTheMark)
{
    const Aligned &c = GetParam();
    const QString clip = makeKeyedClip(out.path(), c.ext);
    ASSERT_FALSE(clip.isEmpty());
    const QString src = source(clip, c.format, c.ext == std::string("wmv") && std::string(c.format) != "onlyCut"
                                                   ? "avi" : c.ext);
    testjob::job.markIn = 2.5f;
    testjob::job.markOut = 3.5f;

    const encodeflow::StartRange start = encodeflow::initialRange(testjob::source, testjob::job);
    keyframeprobe::AlignmentHooks hooks;
    hooks.probe = [&](float t) { return keyframeprobe::getKeyFrameTime(src, t); };
    QStringList asked;
    hooks.ask = [&](const QString &text, prompts::Buttons) {
        asked << text;
        return c.answer;
    };
    const keyframeprobe::Alignment a = keyframeprobe::alignCutStart(testjob::source, testjob::job, start.range, start.encodeSeconds, hooks);
    ASSERT_EQ(asked.size(), 1) << a.range.toStdString();
    const float told = c.toldKey == 2 ? 2.04f : 3.04f;

    const QString dst = out.path() + "/cut." + testjob::job.targetExt;
    const auto r = encodetest::convertRange(src, dst, window, a.range, a.encodeSeconds);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();

    const auto p = encodetest::ffprobe(dst);
    EXPECT_NEAR(p.duration, testjob::job.markOut - told, 0.1) << r.command.toStdString();
    EXPECT_GT(firstPictureLikeFrame(dst, src, keyFrameIndex[c.toldKey], out.path()), 30)
        << r.command.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engine, AlignedCut,
                         ::testing::Values(Aligned{"avi", "onlyCut", prompts::Answer::Yes, 2},
                                           Aligned{"avi", "onlyCut", prompts::Answer::No, 3},
                                           Aligned{"avi", "XviD", prompts::Answer::Yes, 2},
                                           Aligned{"wmv", "onlyCut", prompts::Answer::Yes, 2},
                                           Aligned{"wmv", "onlyCut", prompts::Answer::No, 3},
                                           Aligned{"wmv", "XviD", prompts::Answer::Yes, 2}),
                         alignedName);


// A mark just after a key frame: the player's probe (and the encoder's seek) lands on
// the key frame before it, 2.04 s for a mark at 2.4 s. Nothing is asked, and the cut
// runs from that key frame to the marked end, not a fixed length that ends early.
class CutBeforeTheMark : public encodetest::OperationTest {};

TEST_F(CutBeforeTheMark, EndsAtTheMarkedEnd)
{
    const QString clip = makeKeyedClip(out.path(), "wmv");
    ASSERT_FALSE(clip.isEmpty());
    const QString src = source(clip, "onlyCut", "wmv");
    testjob::job.markIn = 2.4f;
    testjob::job.markOut = 3.4f;
    const encodeflow::StartRange start = encodeflow::initialRange(testjob::source, testjob::job);
    keyframeprobe::AlignmentHooks hooks;
    hooks.probe = [&](float t) { return keyframeprobe::getKeyFrameTime(src, t); };
    int asked = 0;
    hooks.ask = [&](const QString &, prompts::Buttons) {
        ++asked;
        return prompts::Answer::Cancel;
    };
    const keyframeprobe::Alignment a = keyframeprobe::alignCutStart(testjob::source, testjob::job, start.range, start.encodeSeconds, hooks);
    EXPECT_EQ(asked, 0);
    const QString dst = out.path() + "/cut.wmv";
    const auto r = encodetest::convertRange(src, dst, window, a.range, a.encodeSeconds);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
    const testenv::PacketTimes t = testenv::packetTimes(dst);
    ASSERT_TRUE(t.video.present && t.audio.present);
    EXPECT_NEAR(t.video.last - t.video.first, testjob::job.markOut - 2.04, 0.1) << r.command.toStdString();
    EXPECT_NEAR(t.audio.last - t.audio.first, testjob::job.markOut - 2.04, 0.1) << r.command.toStdString();
    EXPECT_GT(firstPictureLikeFrame(dst, src, keyFrameIndex[2], out.path()), 30) << r.command.toStdString();
}

} // namespace

// A WMV encoded again from a WMV: the file's own length is the clip's, not the clip's
// plus the source's preroll twice (convertAndCheck reads the container's duration).
namespace {

class WmvFromWmv : public ::testing::TestWithParam<encodetest::TargetCase> {};

TEST_P(WmvFromWmv, KeepsTheLength) { encodetest::convertAndCheck(GetParam()); }

const char *const stereo44 = " -channels 2 -srate 44100 -af-add channels=2";

INSTANTIATE_TEST_SUITE_P(
    Engine, WmvFromWmv,
    ::testing::Values(
        encodetest::TargetCase{"WMV7", "WMV7", "wmv", false, "wmv2.wmv", "", stereo44, "asf", "wmv1", "wmav1", 320, 240, 0},
        encodetest::TargetCase{"WMV8", "WMV8", "wmv", false, "wmv2.wmv", "", stereo44, "asf", "wmv2", "wmav2", 320, 240, 0},
        encodetest::TargetCase{"MP42", "MP42", "wmv", false, "wmv2.wmv", "", stereo44, "asf", "msmpeg4v2", "wmav2", 320,
                               240, 0}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
