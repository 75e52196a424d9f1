// Sound targets from real clips, end to end through the real converter, and the level
// of the sound they give.
#include "engine/encodetargets.h"

namespace {

using encodetest::TargetCase;

class AudioTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(AudioTargets, ConvertsWithTheRealTools) { encodetest::convertAndCheck(GetParam()); }

const char *const rate22 = " -ac 2 -ar 22050";
const char *const rate44 = " -ac 2 -ar 44100";

INSTANTIATE_TEST_SUITE_P(
    Engine, AudioTargets,
    ::testing::Values(
        TargetCase{"WAV", "Sound WAV", "wav", true, "mpeg4.avi", "", rate22, "wav", "", "pcm_s16le", 0, 0, 22050},
        TargetCase{"MP3", "Sound MP3", "mp3", true, "wmv2.wmv", "", rate44, "mp3", "", "mp3", 0, 0, 44100},
        TargetCase{"MP4", "Sound MP4", "mp4", true, "tone.wav", "", rate44, "mp4", "", "aac", 0, 0, 44100},
        TargetCase{"WMA", "Sound WMA", "wma", true, "h264.mp4", "", rate44, "asf", "", "wmav2", 0, 0, 44100},
        // A raw AAC stream behind ".aac", not an MP4 file.
        TargetCase{"AAC", "Sound AAC", "aac", true, "mpeg1.mpg", "", rate22, "aac", "", "aac", 0, 0, 22050},
        // The AC-3 encoder takes no 22050 Hz: the job's rate gives way to the nearest it takes.
        TargetCase{"AC3", "Sound AC3", "ac3", true, "vorbis.ogg", "", rate22, "ac3", "", "ac3", 0, 0, 32000},
        TargetCase{"OGG", "Sound OGG", "ogg", true, "tone.mp3", "", rate44, "ogg", "", "vorbis", 0, 0, 44100}),
    [](const auto &info) { return std::string(info.param.name); });

// The sound keeps its level: a mono source's one channel reaches both sides of a
// two-channel result as loud as it was, and a change of volume adds what it says.
struct LevelCase {
    const char *name, *format, *ext;
    bool audio;
    const char *fixture;
    const char *volume;  // the job's volume piece
    double gain;         // dB the result is louder than the source
};
std::ostream &operator<<(std::ostream &os, const LevelCase &c) { return os << c.name; }

class SoundLevel : public ::testing::TestWithParam<LevelCase> {};

TEST_P(SoundLevel, KeepsTheSourcesLevel)
{
    using namespace mdlMavrell;
    const LevelCase &c = GetParam();
    const QString src = testenv::fixture(QString::fromLatin1(c.fixture));
    ASSERT_FALSE(src.isEmpty());
    testenv::ProgramDir programDir;
    encodetest::realJob(programDir, src, QString::fromLatin1(c.format), QString::fromLatin1(c.ext), c.audio);
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("600");
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::job.scaleFilter = QStringLiteral(" -vf-add scale=160:120");
    testjob::job.audioOpts = c.audio ? QStringLiteral(" -ac 2 -ar 44100")
                                     : QStringLiteral(" -delay 0 -channels 2 -srate 44100 -af-add channels=2");
    testjob::job.encodeVolumeOpt = QString::fromLatin1(c.volume);

    QTemporaryDir out;
    const QString dst = out.path() + QStringLiteral("/level.") + QString::fromLatin1(c.ext);
    encodetest::RecordingWindow window;
    ScriptedPrompts prompts;
    prompts.answer(prompts::Answer::Cancel);  // the success box: do not play
    const encodeflow::StageResult r = encodetest::convert(src, dst, window);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
    EXPECT_NEAR(encodetest::meanVolume(dst), encodetest::meanVolume(src) + c.gain, 0.6) << r.command.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Engine, SoundLevel,
    ::testing::Values(LevelCase{"MP3_from_mono", "Sound MP3", "mp3", true, "mono.avi", "", 0},
                      LevelCase{"MP3_from_mono_10dB_louder", "Sound MP3", "mp3", true, "mono.avi", " -vol 810", 10},
                      LevelCase{"MP3_from_stereo", "Sound MP3", "mp3", true, "mpeg4.avi", "", 0},
                      LevelCase{"DivX_from_mono", "DivX", "avi", false, "mono.avi", "", 0}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
