// Sources whose streams do not line up, and MPEG results long enough to be read in
// windows, through the run stage with the real tools: each result judged by its packet
// times as a viewer meets it, and MPEG results played by tool 1 as the player window
// runs it, the sound it plays measured.
#include "engine/encodetargets.h"
#include "engine/resultcheck.h"
#include "engine/identifyprobe.h"
#include "engine/testjob.h"
#include "core/identify.h"

#include <QFile>

using namespace mdlMavrell;

namespace {

using testenv::ffmpeg;

QStringList picture(double seconds, const char *size = "160x120")
{
    return {"-f", "lavfi", "-i", QStringLiteral("testsrc=size=%1:rate=25:duration=%2").arg(size).arg(seconds)};
}

QStringList tone(double seconds, int rate = 44100)
{
    return {"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(rate).arg(seconds)};
}

// A busy picture with a mono MP3 tone in an AVI: the tools' own program-stream reader
// drops the sound of MPEG files made from such a source when it reads them interleaved.
QStringList busyAvi(double seconds, const QString &path)
{
    return QStringList{"-f", "lavfi", "-i", QStringLiteral("testsrc2=size=320x240:rate=25:duration=%1").arg(seconds)}
           + tone(seconds) + QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame", "-ac", "1", path};
}

// How long the sound is that tool 1 plays from an MPEG program stream with the player
// window's options (and its reader options for that demuxer).
double playedSound(const QString &path, const QString &wav)
{
    QFile::remove(wav);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QStringLiteral("mplayer"),
            QStringList{path, "-vo", "null", "-ao", "pcm:fast:file=" + wav, "-autosync", "100", "-idx", "-nokeepaspect",
                        "-noaspect", "-framedrop", "-noconfig", "all", "-nomouseinput"}
                + QProcess::splitCommand(identify::readerPiece(QStringLiteral("mpegps"))));
    p.waitForFinished(120000);
    return testenv::ffprobe(wav).duration;
}

struct Job {
    const char *format, *ext;
    bool audio;
    int rate;
};

class UnalignedSources : public encodetest::OperationTest {
protected:
    // Converts src to the job's target and checks its streams: the sound as long as the
    // source's, the picture as long as the source's (or longer by the gap a late picture
    // leaves, filled by its first frame), the two ending as far apart as in the source.
    QString convertAndJudge(const QString &src, const Job &job, double pictureLength, double soundLength,
                            double pictureLate)
    {
        SCOPED_TRACE(std::string(job.format) + " " + job.ext);
        clearJobFor(src, job);
        const QString dst = out.filePath(QStringLiteral("result_%1.%2").arg(QString::fromLatin1(job.format).remove('.'),
                                                                        QString::fromLatin1(job.ext)));
        prompts.answers.clear();
        prompts.answer(prompts::Answer::Cancel);  // the success box: do not play
        const encodeflow::StageResult r = convert(src, dst, window);
        EXPECT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString() << "\n"
                                                             << prompts.lastText().toStdString();
        const testenv::PacketTimes res = testenv::packetTimes(dst);
        EXPECT_TRUE(res.audio.present);
        EXPECT_NEAR(res.audio.last - res.audio.first, soundLength, 0.3) << r.command.toStdString();
        if (job.audio)
            return dst;
        EXPECT_TRUE(res.video.present);
        const double pictureHeld = res.video.last - res.video.first;
        EXPECT_GT(pictureHeld, pictureLength - 0.3) << r.command.toStdString();
        EXPECT_LT(pictureHeld, pictureLength + pictureLate + 0.3) << r.command.toStdString();
        EXPECT_NEAR(res.video.last - res.audio.last, pictureLate + pictureLength - soundLength, 0.3)
            << r.command.toStdString();
        return dst;
    }

    void clearJobFor(const QString &src, const Job &job)
    {
        encodetest::clearJob();
        testjob::source = {};
        bool decodes = false;
        engine::analyseSource(src, testjob::source, engine::AnalyseOptions(), &decodes);
        ASSERT_TRUE(decodes) << "refused: " << src.toStdString();
        encodetest::setTarget(QString::fromLatin1(job.format), QString::fromLatin1(job.ext), job.audio);
        testjob::job.actionWord = QStringLiteral("Convert");
        testjob::job.audioBitrateText = QStringLiteral("128");
        testjob::job.videoBitrateText = QStringLiteral("600");
        testjob::job.fpsText = QStringLiteral("25");
        testjob::job.audioOpts = job.audio ? QStringLiteral(" -ac 2 -ar ") + QString::number(job.rate)
                              : QStringLiteral(" -delay 0 -channels 2 -srate ") + QString::number(job.rate)
                                    + QStringLiteral(" -af-add channels=2");
    }
};

TEST_F(UnalignedSources, SoundThreeSecondsLongerThanThePictureInAnAvi)
{
    const QString src = out.filePath("longsound.avi");
    ASSERT_TRUE(ffmpeg(picture(4) + tone(7) + QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame", src}));
    for (const Job &job : {Job{"MPEG2", "mpg", false, 48000}, Job{"XviD", "avi", false, 44100},
                           Job{"Sound MP3", "mp3", true, 44100}})
        convertAndJudge(src, job, 4, 7, 0);
}

TEST_F(UnalignedSources, TwoMpegProgramStreamsJoinedEndToEnd)
{
    const QString part = out.filePath("part.mpg");
    ASSERT_TRUE(ffmpeg(picture(4) + tone(4) + QStringList{"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg", part}));
    const QString src = out.filePath("joined.mpg");
    QFile in(part), joined(src);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly) && joined.open(QIODevice::WriteOnly));
    const QByteArray bytes = in.readAll();
    joined.write(bytes + bytes);
    joined.close();
    encodetest::probeSource(src);
    EXPECT_LT(testjob::source.srcLength, 6) << "the header claims only the first half";
    for (const Job &job : {Job{"MPEG1", "mpg", false, 44100}, Job{"DivX", "avi", false, 44100}})
        convertAndJudge(src, job, 8, 8, 0);
}

TEST_F(UnalignedSources, MkvWhosePictureStartsOneSecondLate)
{
    const QString src = out.filePath("late.mkv");
    ASSERT_TRUE(ffmpeg(QStringList{"-itsoffset", "1"} + picture(5) + tone(6)
                       + QStringList{"-c:v", "mpeg4", "-c:a", "libvorbis", src}));
    for (const Job &job : {Job{"MPEG2", "mpg", false, 48000}, Job{"WMV8", "wmv", false, 44100},
                           Job{"MP42", "avi", false, 44100}, Job{"XviD", "avi", false, 44100}})
        convertAndJudge(src, job, 5, 6, 1);
}

TEST_F(UnalignedSources, TsWhosePictureStartsFourSecondsLate)
{
    const QString src = out.filePath("late.ts");
    ASSERT_TRUE(ffmpeg(QStringList{"-itsoffset", "4"} + picture(6) + tone(10, 48000)
                       + QStringList{"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpegts", src}));
    encodetest::probeSource(src);
    EXPECT_GT(testjob::source.srcWidth * testjob::source.srcHeight, 0) << "the picture was not found";
    EXPECT_NEAR(testjob::source.srcLength, 10, 0.3);
    for (const Job &job : {Job{"MPEG2", "mpg", false, 48000}, Job{"XviD", "avi", false, 44100}})
        convertAndJudge(src, job, 6, 10, 4);
}

// Results of more than 20 s are read in windows; the player must play all their sound,
// and the program's own MPEG result must convert again with all of it.
TEST_F(UnalignedSources, LongMpegResultsPlayWholeAndConvertAgain)
{
    const QString src = out.filePath("long.avi");
    ASSERT_TRUE(ffmpeg(busyAvi(24, src)));
    const QString wav = out.filePath("played.wav");
    QString mpeg2;
    for (const Job &job : {Job{"MPEG1", "mpg", false, 44100}, Job{"MPEG2", "mpg", false, 44100},
                           Job{"MPEG2", "mpg", false, 48000}, Job{"VCD", "dat", false, 44100},
                           Job{"DVD", "vob", false, 48000}}) {
        const QString dst = convertAndJudge(src, job, 24, 24, 0);
        EXPECT_NEAR(playedSound(dst, wav), 24, 0.3) << job.format << " at " << job.rate;
        if (std::string(job.format) == "MPEG2" && job.rate == 48000)
            mpeg2 = dst;
    }
    ASSERT_FALSE(mpeg2.isEmpty());
    const QString again = out.filePath("again.mpg");
    ASSERT_TRUE(QFile::rename(mpeg2, again));
    for (const Job &job : {Job{"WMV8", "wmv", false, 44100}, Job{"Sound MP3", "mp3", true, 44100}})
        convertAndJudge(again, job, 24, 24, 0);
}

// An MPEG-2 file as the MPEG-2 target writes it with its own presets (22050 Hz sound at
// 96 kbit/s, 1152 kbit/s picture at 23.976 fps): read interleaved, the encoder's own
// program-stream reader hands on about a second of it. Converted again, it stays whole.
TEST_F(UnalignedSources, AnMpeg2ResultIsReadWholeWhenConvertedAgain)
{
    const QString src = out.filePath("busy.avi");
    ASSERT_TRUE(ffmpeg(busyAvi(24, src)));
    const QString mpeg2 = out.filePath("own.mpg");
    QProcess enc;
    enc.setProcessChannelMode(QProcess::MergedChannels);
    enc.setStandardInputFile(QProcess::nullDevice());
    enc.start(QStringLiteral("mencoder"),
              QProcess::splitCommand(QStringLiteral(
                  "-oac twolame -twolameopts br=96 -ovc lavc -of lavf -lavfopts format=vob -lavcopts "
                  "vcodec=mpeg2video:keyint=21:vrc_buf_size=1152:vrc_maxrate=3456:vbitrate=1152:vstrict=0 -ofps "
                  "24000/1001 -vf-add scale=640:360 -delay 0 -channels 2 -srate 22050 -af-add channels=2 -vf-add fixpts "
                  "-vf-add harddup -mc 1 -demuxer lavf"))
                  + QStringList{src, "-o", mpeg2});
    ASSERT_TRUE(enc.waitForFinished(120000) && enc.exitCode() == 0) << enc.readAll().toStdString();
    EXPECT_NEAR(playedSound(mpeg2, out.filePath("own.wav")), 24, 0.3);
    // The results against the MPEG-2 file's own streams (its sound runs a little longer).
    const testenv::PacketTimes own = testenv::packetTimes(mpeg2);
    ASSERT_TRUE(own.video.present && own.audio.present);
    const double picture = own.video.last - own.video.first, sound = own.audio.last - own.audio.first;
    for (const Job &job : {Job{"WMV8", "wmv", false, 44100}, Job{"DivX", "avi", false, 44100}})
        convertAndJudge(mpeg2, job, picture, sound, 0);
}

TEST(ResultCheckWindows, FindTheLastPacketsOfAStreamThatEndsEarly)
{
    // 60 s of picture, 30 s of sound: the end window holds no sound, so more is read.
    QTemporaryDir dir;
    const QString file = dir.filePath("halfsound.mpg");
    ASSERT_TRUE(ffmpeg(picture(60) + tone(30) + QStringList{"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg", file}));
    testenv::ProgramDir programDir;
    programDir.activate();
    const QString prober = resultcheck::proberPath();
    ASSERT_FALSE(prober.isEmpty());
    const resultcheck::Spans s = resultcheck::probeSpans(prober, file, 60);
    EXPECT_NEAR(s.video.length(), 60, 0.2);
    EXPECT_NEAR(s.audio.length(), 30, 0.2);
    // A file cut short of what was expected is read to its real end.
    const resultcheck::Spans shorter = resultcheck::probeSpans(prober, file, 120);
    EXPECT_NEAR(shorter.video.length(), 60, 0.2);
    EXPECT_NEAR(shorter.audio.length(), 30, 0.2);
}

} // namespace
