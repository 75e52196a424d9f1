// Changing the volume keeps the picture and moves the sound level: real tools, real clips.
#include "engine/encodetargets.h"
#include "engine/testjob.h"

#include <QProcess>

using namespace mdlMavrell;

namespace {

struct Clip {
    const char *fixture, *ext, *sound;
    int gain;
};
std::ostream &operator<<(std::ostream &os, const Clip &c) { return os << c.fixture; }

class ChangeVolume : public encodetest::OperationTest, public ::testing::WithParamInterface<Clip> {};

// The level measured with volumedetect follows the gain, up or down; the VOB keeps
// AC-3 sound through its second run.
TEST_P(ChangeVolume, MovesTheLevel)
{
    const Clip &c = GetParam();
    const double before = encodetest::meanVolume(testenv::fixture(c.fixture));
    const QString src = source(c.fixture, "onlyTransVol", c.ext);
    testjob::job.encodeVolumeOpt = QStringLiteral(" -af-add volume=") + numbertext::integer(c.gain);
    const QString dst = out.path() + "/louder." + c.ext;
    const auto r = run(src, dst);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
    const auto p = encodetest::ffprobe(dst);
    EXPECT_EQ(p.audio, c.sound);
    EXPECT_NEAR(p.duration, 3.0, 0.35);
    const double after = encodetest::meanVolume(dst);
    if (c.gain < 0) {
        EXPECT_LT(after, before - 8) << before << " -> " << after;
    } else {
        EXPECT_GT(after, before + 3) << before << " -> " << after;
    }
}

INSTANTIATE_TEST_SUITE_P(Engine, ChangeVolume,
                         ::testing::Values(Clip{"mpeg4.avi", "avi", "mp3", -12}, Clip{"mpeg1.mpg", "mpg", "mp2", 6},
                                           Clip{"mpeg2.vob", "vob", "ac3", -12}, Clip{"wmv2.wmv", "wmv", "wmav2", 6}),
                         [](const auto &info) { return std::string(info.param.ext); });

// The encoder's WMA clock runs short of its sound (0.41 % at 32 kbit/s), while the copied
// picture keeps its times: two minutes end half a second apart, and the result is whole.
TEST_F(ChangeVolume, LongWmvAtALowBitRate)
{
    const QString src = out.path() + "/long.wmv";
    QProcess make;
    make.start(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                                          "testsrc=size=160x120:rate=25:duration=120", "-f", "lavfi", "-i",
                                          "sine=frequency=440:sample_rate=44100:duration=120", "-c:v", "wmv2", "-c:a",
                                          "wmav2", "-ac", "2", src});
    ASSERT_TRUE(make.waitForFinished(120000) && make.exitCode() == 0);
    source(src, "onlyTransVol", "wmv");
    testjob::job.audioBitrateText = QStringLiteral("32");
    testjob::job.encodeVolumeOpt = QStringLiteral(" -af-add volume=6");
    const QString dst = out.path() + "/louder.wmv";
    prompts.answer(prompts::Answer::Cancel);  // the success box: do not play
    const auto r = run(src, dst);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString() << "\n" << prompts.lastText().toStdString();
    const testenv::PacketTimes t = testenv::packetTimes(dst);
    EXPECT_NEAR(t.video.last - t.video.first, 120, 0.3);
    EXPECT_NEAR(t.audio.last - t.audio.first, 120 * (1 - 0.0041), 0.3);
    // All of the sound is there: its samples last the two minutes.
    QProcess decode;
    decode.start(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-i", dst, "-map", "0:a", "-ac", "1", "-ar", "8000",
                                            "-f", "s16le", "-"});
    ASSERT_TRUE(decode.waitForFinished(60000));
    EXPECT_NEAR(double(decode.readAllStandardOutput().size()) / 2 / 8000, 120, 0.3);
}

} // namespace

// An MP4 sent through the MPG route: its H.264 picture cannot be kept in an MPEG
// program stream, so after the container question (forced with OK) the job is refused
// with a message that names the picture, and nothing is run or written.
class KeptPicture : public encodetest::OperationTest {};

TEST_F(KeptPicture, Mp4PictureIsNotKeptInAnMpegFile)
{
    const QString src = source("h264.mp4", "onlyTransVol", "mpg");
    testjob::job.encodeVolumeOpt = QStringLiteral(" -af-add volume=6");
    prompts.answer(prompts::Answer::Ok);  // the container question: go ahead anyway
    const QString dst = out.path() + "/louder.mpg";
    const auto r = run(src, dst);
    EXPECT_EQ(r.outcome, encodeflow::Outcome::NotRun);
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[0].text.contains("H264")) << prompts.messages[0].text.toStdString();
    EXPECT_TRUE(prompts.messages[1].text.contains("(H264)")) << prompts.messages[1].text.toStdString();
    EXPECT_TRUE(prompts.messages[1].text.contains(" MPG ")) << prompts.messages[1].text.toStdString();
    EXPECT_FALSE(QFile::exists(dst));
}
