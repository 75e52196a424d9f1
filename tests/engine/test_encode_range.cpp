// A marked range encoded into every kind of container: picture and sound of the result
// start together and run the marked length, as ffprobe's packet times show; and a range
// that runs past the end of the picture.
#include "engine/encodetargets.h"
#include "engine/testjob.h"

using namespace mdlMavrell;

namespace {

struct RangeCase {
    const char *name, *format, *ext, *fixture, *scale;
};
std::ostream &operator<<(std::ostream &os, const RangeCase &c) { return os << c.name; }

class RangeInto : public encodetest::OperationTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeInto, StartsPictureAndSoundTogether)
{
    const RangeCase &c = GetParam();
    const QString src = source(c.fixture, c.format, c.ext);
    ASSERT_GT(testjob::source.srcLength, 19.0f);
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("600");
    testjob::job.scaleFilter = QString::fromLatin1(c.scale);
    testjob::job.audioOpts = QStringLiteral(" -channels 2 -srate ") + QString::number(c.ext == QLatin1String("vob") ? 48000 : 44100)
                + QStringLiteral(" -af-add channels=2");
    testjob::job.markIn = 5;
    testjob::job.markOut = 12;
    const QString dst = out.path() + "/range." + c.ext;
    prompts.answer(prompts::Answer::Cancel);  // the success box: do not play
    const auto r = run(src, dst);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString() << r.checkMessage.toStdString();
    const testenv::PacketTimes t = testenv::packetTimes(dst);
    ASSERT_TRUE(t.video.present && t.audio.present);
    EXPECT_NEAR(t.video.first, t.audio.first, 0.2) << r.command.toStdString();
    EXPECT_LT(t.video.first, 0.7);
    EXPECT_NEAR(t.video.last - t.video.first, 7.0, 0.3) << r.command.toStdString();
    EXPECT_NEAR(t.audio.last - t.audio.first, 7.0, 0.3) << r.command.toStdString();
    // Nothing of the run (the DVD route's intermediate) is left beside the target.
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

const char *const small = " -vf-add scale=176:144";

INSTANTIATE_TEST_SUITE_P(
    Engine, RangeInto,
    ::testing::Values(RangeCase{"MPEG1", "MPEG1", "mpg", "long.avi", small},
                      RangeCase{"VCD", "VCD", "dat", "long.avi", " -vf-add scale=352:240"},
                      RangeCase{"MPEG2", "MPEG2", "mpg", "long.wmv", small},
                      RangeCase{"DVD", "DVD", "vob", "long.avi", " -vf-add scale=720:480"},
                      RangeCase{"WMV8", "WMV8", "wmv", "long.wmv", small},
                      RangeCase{"MP42_avi", "MP42", "avi", "long.avi", small},
                      RangeCase{"XviD", "XviD", "avi", "long.wmv", small}),
    [](const auto &info) { return std::string(info.param.name); });

// A range that runs past the end of the picture, on a source whose sound goes on for 2 s
// after it: the encoder ends, and the result holds what the source holds over the range,
// the picture to its end and the sound to the end mark.
struct PastPictureCase {
    const char *name, *format, *ext, *fixture;
    float markOut;  // 0: the source's length, as the dialog clips a later mark
};
std::ostream &operator<<(std::ostream &os, const PastPictureCase &c) { return os << c.name; }

class RangePastThePicture : public encodetest::OperationTest, public ::testing::WithParamInterface<PastPictureCase> {};

TEST_P(RangePastThePicture, ConvertsWhatTheSourceHoldsThere)
{
    const PastPictureCase &c = GetParam();
    const QString src = source(c.fixture, c.format, c.ext);
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("600");
    testjob::job.scaleFilter = QStringLiteral(" -vf-add scale=160:120");
    testjob::job.markIn = 2;
    testjob::job.markOut = c.markOut > 0 ? c.markOut : testjob::source.srcLength;
    const QString dst = out.path() + "/range." + c.ext;
    prompts.answer(prompts::Answer::Cancel);  // the success box: do not play
    const auto r = run(src, dst);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString() << r.checkMessage.toStdString();

    const testenv::PacketTimes in = testenv::packetTimes(src);
    const double from = in.video.first + testjob::job.markIn, to = in.video.first + testjob::job.markOut;
    auto within = [&](const testenv::StreamTimes &t) { return std::min(t.last, to) - std::max(t.first, from); };
    const testenv::PacketTimes res = testenv::packetTimes(dst);
    ASSERT_TRUE(res.video.present && res.audio.present);
    EXPECT_NEAR(res.video.last - res.video.first, within(in.video), 0.3) << r.command.toStdString();
    EXPECT_NEAR(res.audio.last - res.audio.first, within(in.audio), 0.3) << r.command.toStdString();
    EXPECT_NEAR(res.video.first, res.audio.first, 0.2) << r.command.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Engine, RangePastThePicture,
    // The AVI's length is its picture's (4.1 s), so its range ends just after the picture.
    ::testing::Values(PastPictureCase{"DivX_to_the_end", "DivX", "avi", "soundtail.avi", 0},
                      PastPictureCase{"MPEG2_to_the_end", "MPEG2", "mpg", "soundtail.mp4", 0},
                      PastPictureCase{"WMV8_into_the_sound", "WMV8", "wmv", "soundtail.mp4", 5},
                      PastPictureCase{"Cut_to_the_end", "onlyCut", "avi", "soundtail.avi", 0}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
