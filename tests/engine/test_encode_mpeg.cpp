// MPEG targets from a real clip, end to end through the real encoder.
#include "engine/encodetargets.h"
#include "engine/resultcheck.h"

#include <QFile>
#include <QProcess>

namespace {

using encodetest::TargetCase;

class MpegTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(MpegTargets, ConvertsWithTheRealTools) { encodetest::convertAndCheck(GetParam()); }

const char *const stereo44 = " -channels 2 -srate 44100 -af-add channels=2";
const char *const stereo48 = " -channels 2 -srate 48000 -af-add channels=2";

INSTANTIATE_TEST_SUITE_P(
    Engine, MpegTargets,
    ::testing::Values(
        TargetCase{"MPEG1", "MPEG1", "mpg", false, "mpeg4.avi", " -vf-add scale=176:144", stereo44, "mpeg",
                   "mpeg1video", "mp2", 176, 144, 44100},
        TargetCase{"VCD", "VCD", "dat", false, "h264.mp4", " -vf-add scale=352:240", stereo44, "mpeg", "mpeg1video",
                   "mp2", 352, 240, 44100},
        TargetCase{"MPEG2", "MPEG2", "mpg", false, "wmv2.wmv", " -vf-add scale=176:144", stereo48, "mpeg",
                   "mpeg2video", "mp2", 176, 144, 48000},
        TargetCase{"DVD", "DVD", "vob", false, "mpeg4.avi", " -vf-add scale=720:480", stereo48, "mpeg", "mpeg2video",
                   "ac3", 720, 480, 48000}),
    [](const auto &info) { return std::string(info.param.name); });

// The pack headers of an MPEG-1 program stream: where each starts and its mux rate in
// bit/s (the header counts 50 bytes a second).
struct Pack {
    qint64 at;
    qint64 muxRate;
};
QList<Pack> packsOf(const QString &path, int count)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.read(4 * 1024 * 1024);
    QList<Pack> packs;
    for (qsizetype at = data.indexOf(QByteArray("\x00\x00\x01\xba", 4)); at >= 0 && at + 12 <= data.size() && packs.size() < count;
         at = data.indexOf(QByteArray("\x00\x00\x01\xba", 4), at + 4)) {
        const auto b = [&](int i) { return qint64(uchar(data[at + i])); };
        packs.append({at, (((b(9) & 0x7f) << 15) | (b(10) << 7) | (b(11) >> 1)) * 400});
    }
    return packs;
}

// Players read a file in order, hardware players above all: each second of sound lies
// near its picture. The VCD keeps its sectors of 2324 bytes at the VCD's mux rate.
TEST(MpegInterleave, PictureAndSoundLieTogetherInTheFile)
{
    using namespace mdlMavrell;
    const QString src = testenv::fixture(QStringLiteral("wide20.mkv"));
    ASSERT_FALSE(src.isEmpty());
    for (const auto &[format, ext, scale] : {std::tuple{"VCD", "dat", " -vf-add scale=352:240"},
                                            std::tuple{"MPEG2", "mpg", " -vf-add scale=640:360"},
                                            std::tuple{"MPEG1", "mpg", " -vf-add scale=640:360"}}) {
        SCOPED_TRACE(format);
        testenv::ProgramDir programDir;
        encodetest::realJob(programDir, src, QString::fromLatin1(format), QString::fromLatin1(ext));
        testjob::job.fpsText = QStringLiteral("25");
        testjob::job.videoBitrateText = QStringLiteral("1152");
        testjob::job.audioBitrateText = QStringLiteral("224");
        testjob::job.scaleFilter = QString::fromLatin1(scale);
        testjob::job.audioOpts = QStringLiteral(" -channels 2 -srate 44100 -af-add channels=2");
        QTemporaryDir out;
        const QString dst = out.path() + QStringLiteral("/result.") + QString::fromLatin1(ext);
        encodetest::RecordingWindow window;
        ScriptedPrompts prompts;
        prompts.answer(prompts::Answer::Cancel);
        const encodeflow::StageResult r = encodetest::convert(src, dst, window);
        ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString() << "\n"
                                                             << prompts.lastText().toStdString();
        EXPECT_EQ(encodecommand::stages(r.command).size(), 2);
        // One bar for both runs, ending full.
        EXPECT_EQ(window.started, 1);
        EXPECT_EQ(window.progress.last(), 100);

        const testenv::PacketTimes t = testenv::packetTimes(dst);
        ASSERT_TRUE(t.video.present && t.audio.present);
        EXPECT_NEAR(t.video.last - t.video.first, 20, 0.3);
        EXPECT_NEAR(t.audio.last - t.audio.first, 20, 0.3);
        EXPECT_NEAR(t.video.first, t.audio.first, 0.15);
        EXPECT_LT(t.apartInFile, 1.0) << r.command.toStdString();
        EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

        if (std::string(format) == "VCD") {
            const QList<Pack> packs = packsOf(dst, 200);
            ASSERT_EQ(packs.size(), 200);
            for (const Pack &p : packs) {
                EXPECT_EQ(p.at % 2324, 0) << p.at;
                EXPECT_EQ(p.muxRate, 1411200) << p.at;
            }
        }
    }
}

// A program stream written by the encoder's general muxer at the mux rate it works out
// for itself keeps the sound far behind the picture: the check refuses it.
TEST(MpegInterleave, TheCheckRefusesSoundFarBehindThePicture)
{
    using namespace mdlMavrell;
    loadLanguageTable(QStringLiteral("en"));
    const QString src = testenv::fixture(QStringLiteral("long.avi"));
    ASSERT_FALSE(src.isEmpty());
    QTemporaryDir out;
    const QString dst = out.filePath(QStringLiteral("behind.dat"));
    ASSERT_TRUE(testenv::runs(
        QStringLiteral("mencoder"),
        QProcess::splitCommand(
            QStringLiteral("-oac twolame -twolameopts br=224 -ovc lavc -of lavf -lavfopts format=vcd -lavcopts "
                           "vcodec=mpeg1video:vrc_buf_size=1152:vrc_minrate=1152:vrc_maxrate=1152:vbitrate=1152 "
                           "-ofps 30000/1001 -vf-add scale=352:240 -srate 44100 -demuxer lavf -o"))
            << dst << src));
    ASSERT_GT(testenv::packetTimes(dst).apartInFile, 10);

    jobrecords::SourceInfo source = testenv::sampleSource(320, 240, 20, "avi", "mp3");
    jobrecords::JobSettings job;
    job.targetFormat = QStringLiteral("VCD");
    job.targetExt = QStringLiteral("dat");
    const resultcheck::Expectation e = resultcheck::expectedStreams(source, job, 20);
    ASSERT_TRUE(e.inFileOrder);
    const resultcheck::Verdict v = resultcheck::checkTarget(dst, src, e, 0, true);
    EXPECT_FALSE(v.ok);
    EXPECT_TRUE(v.message.startsWith(QStringLiteral("In the result the sound lies up to "))) << v.message.toStdString();
}

} // namespace
