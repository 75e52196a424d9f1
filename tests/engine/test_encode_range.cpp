// A marked range encoded into every kind of container: picture and sound of the result
// start together and run the marked length, as ffprobe's packet times show.
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

} // namespace
