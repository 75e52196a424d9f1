// Every video target from every kind of source, through the run stage and the real
// tools, judged as a viewer meets the result: each stream's first and last packet
// against the source's, picture and sound in step, not only the container's length.
#include "engine/encodetargets.h"
#include "engine/testjob.h"

#include <tuple>

using namespace mdlMavrell;

namespace {

struct VideoTarget {
    const char *format, *ext;
    const char *video;  // the codec the target promises ("" : the source's, copied)
    const char *sound;
    int rate;           // the sample rate the job asks for
};

const VideoTarget targets[] = {
    {"MPEG1", "mpg", "mpeg1video", "mp2", 44100}, {"VCD", "dat", "mpeg1video", "mp2", 44100},
    {"MPEG2", "mpg", "mpeg2video", "mp2", 48000}, {"DVD", "vob", "mpeg2video", "ac3", 48000},
    {"WMV7", "wmv", "wmv1", "wmav1", 44100},      {"WMV8", "wmv", "wmv2", "wmav2", 44100},
    {"MP42", "wmv", "msmpeg4v2", "wmav2", 44100}, {"MP42", "avi", "msmpeg4v2", "mp3", 44100},
    {"XviD", "avi", "mpeg4", "mp3", 44100},       {"DivX", "avi", "mpeg4", "mp3", 44100},
    {"H.264", "avi", "h264", "mp3", 44100},       {"AudIsMp3", "avi", "", "mp3", 44100},
};

const char *const sources[] = {"wmv2.wmv", "wmv2997.wmv", "mpeg4.avi", "h264.mp4", "mpeg1.mpg",
                               "mpeg2.vob", "flv1.flv",   "silent.avi"};

using Combination = std::tuple<const char *, int>;

class SourceToTarget : public ::testing::TestWithParam<Combination> {};

TEST_P(SourceToTarget, EachStreamRunsAsLongAsTheSourcesAndInStep)
{
    const char *fixture = std::get<0>(GetParam());
    const VideoTarget &t = targets[std::get<1>(GetParam())];
    const QString src = testenv::fixture(QString::fromLatin1(fixture));
    ASSERT_FALSE(src.isEmpty());
    testenv::ProgramDir programDir;
    encodetest::realJob(programDir, src, QString::fromLatin1(t.format), QString::fromLatin1(t.ext));
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::job.videoBitrateText = QStringLiteral("600");
    if (*t.video)
        testjob::job.scaleFilter = QStringLiteral(" -vf-add scale=176:144");
    testjob::job.audioOpts = QStringLiteral(" -channels 2 -srate ") + QString::number(t.rate) + QStringLiteral(" -af-add channels=2");
    const bool sound = !testjob::source.srcAudioCodec.isEmpty();
    if (!sound && std::string(t.format) == "AudIsMp3")
        GTEST_SKIP() << "no sound to make MP3 of: the encode button refuses the job (entry 258)";

    QTemporaryDir out;
    const QString dst = out.path() + QStringLiteral("/result.") + QString::fromLatin1(t.ext);
    encodetest::RecordingWindow window;
    ScriptedPrompts prompts;
    prompts.answer(prompts::Answer::Cancel);  // the success box: do not play
    const encodeflow::StageResult r = encodetest::convert(src, dst, window);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString() << "\n"
                                                         << prompts.lastText().toStdString();

    const testenv::Probed p = testenv::ffprobe(dst);
    EXPECT_EQ(p.video, *t.video ? QString::fromLatin1(t.video) : encodetest::ffprobe(src).video);
    EXPECT_EQ(p.audio, sound ? QString::fromLatin1(t.sound) : QString());

    const testenv::PacketTimes in = testenv::packetTimes(src);
    const testenv::PacketTimes res = testenv::packetTimes(dst);
    ASSERT_TRUE(res.video.present);
    const double srcPicture = in.video.last - in.video.first;
    EXPECT_NEAR(res.video.last - res.video.first, srcPicture, 0.25) << r.command.toStdString();
    if (!sound)
        return;
    ASSERT_TRUE(res.audio.present);
    EXPECT_NEAR(res.audio.last - res.audio.first, in.audio.last - in.audio.first, 0.25) << r.command.toStdString();
    EXPECT_NEAR(res.video.first, res.audio.first, 0.3) << r.command.toStdString();
    EXPECT_NEAR(res.video.last, res.audio.last, 0.3) << r.command.toStdString();
}

std::string combinationName(const ::testing::TestParamInfo<Combination> &info)
{
    std::string name = std::string(std::get<0>(info.param)) + "_to_" + targets[std::get<1>(info.param)].format + "_"
                       + targets[std::get<1>(info.param)].ext;
    for (char &c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Engine, SourceToTarget,
                         ::testing::Combine(::testing::ValuesIn(sources),
                                            ::testing::Range(0, int(std::size(targets)))),
                         combinationName);

} // namespace
