// Results long enough for the check to read them in two windows, of files whose windows
// overlap: a seek that lands on the key frame at 0, packets without pts, MPEG program
// streams whose sound lies far from its picture. Each job runs through the run stage with
// the real tools and must pass; its result is then judged by a full packet scan.
#include "engine/encodetargets.h"
#include "engine/testjob.h"

using namespace mdlMavrell;

namespace {

using testenv::ffmpeg;

QStringList picture(double seconds, int fps = 25)
{
    return {"-f", "lavfi", "-i", QStringLiteral("testsrc=size=160x120:rate=%1:duration=%2").arg(fps).arg(seconds)};
}

QStringList tone(double seconds)
{
    return {"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds)};
}

class WindowedResults : public encodetest::OperationTest {
protected:
    // Runs the job source() set up on src into dst (marks from markIn to markOut when
    // markOut > 0) and checks that it passed and holds `pictureLength` s of picture and
    // `soundLength` s of sound (0: none) as a viewer meets them.
    void judge(const QString &src, const QString &dst, double pictureLength, double soundLength, float markOut = 0)
    {
        SCOPED_TRACE(dst.toStdString());
        testjob::job.markOut = markOut;
        testjob::job.videoBitrateText = QStringLiteral("300");
        testjob::job.fpsText = QStringLiteral("15");
        prompts.answers.clear();
        prompts.answer(prompts::Answer::Cancel);  // the success box: do not play
        const encodeflow::StageResult r = run(src, dst);
        ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString() << "\n"
                                                             << prompts.lastText().toStdString();
        const testenv::PacketTimes res = testenv::packetTimes(dst);
        EXPECT_EQ(res.video.present, pictureLength > 0);
        EXPECT_EQ(res.audio.present, soundLength > 0);
        if (pictureLength > 0) {
            EXPECT_NEAR(res.video.last - res.video.first, pictureLength, 0.3);
        }
        if (soundLength > 0) {
            EXPECT_NEAR(res.audio.last - res.audio.first, soundLength, 0.3);
        }
    }
};

// A phone's H.264 with key frames 20 s apart: the end window's seek lands on the key frame
// at 0 and reads the first window's packets again.
TEST_F(WindowedResults, KeyFramesFarApart)
{
    const QString mp4 = out.filePath("phone.mp4");
    ASSERT_TRUE(ffmpeg(picture(25, 15) + tone(25)
                       + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "300",
                                     "-keyint_min", "300", "-sc_threshold", "0", "-c:a", "aac", mp4}));
    source(mp4, "AudIsMp3", "avi");
    const QString avi = out.filePath("phone_AudIsMp3.avi");
    judge(mp4, avi, 25, 25);

    source(avi, "onlyTransVol", "avi");
    testjob::job.encodeVolumeOpt = QStringLiteral(" -af-add volume=6");
    judge(avi, out.filePath("phone_NewVol.avi"), 25, 25);
    source(avi, "onlyCut", "avi");
    judge(avi, out.filePath("phone_Cut.avi"), 22, 22, 22);
    source(avi, "onlyFix", "avi");
    judge(avi, out.filePath("phone_Fix.avi"), 25, 25);
}

// H.264 in an AVI carries no pts: the first window never ends.
TEST_F(WindowedResults, SilentH264Avi)
{
    const QString silent = out.filePath("silent.avi");
    ASSERT_TRUE(ffmpeg(picture(30) + QStringList{"-c:v", "mpeg4", "-an", silent}));
    source(silent, "H.264", "avi");
    const QString h264 = out.filePath("silent_h264.avi");
    judge(silent, h264, 30, 0);

    source(h264, "onlyCut", "avi");
    judge(h264, out.filePath("silent_Cut.avi"), 27, 0, 27);
    source(h264, "onlyFix", "avi");
    judge(h264, out.filePath("silent_Fix.avi"), 30, 0);
}

// The program's own VCD result and a VCD-style program stream of ffmpeg's: after the end
// window's seek the prober guesses the times of sound packets that lie far from their
// picture in the file.
TEST_F(WindowedResults, CutAndRepairOfMpegProgramStreams)
{
    const QString avi = out.filePath("clip.avi");
    ASSERT_TRUE(ffmpeg(picture(25) + tone(25) + QStringList{"-c:v", "mpeg4", "-c:a", "pcm_s16le", avi}));
    source(avi, "VCD", "dat");
    const QString dat = out.filePath("clip.dat");
    judge(avi, dat, 25, 25);
    const QString mpg = out.filePath("other.mpg");
    ASSERT_TRUE(ffmpeg(picture(25) + tone(25) + QStringList{"-target", "ntsc-vcd", "-s", "160x120", mpg}));

    for (const QString &mpeg : {dat, mpg}) {
        const QString ext = QFileInfo(mpeg).suffix();
        const QString base = mpeg.chopped(ext.size() + 1);
        source(mpeg, "onlyCut", ext);
        judge(mpeg, base + "_Cut." + ext, 22, 22, 22);
        source(mpeg, "onlyFix", ext);
        judge(mpeg, base + "_Fix." + ext, 25, 25);
    }
}

} // namespace
