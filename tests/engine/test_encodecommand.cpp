// The command text per target, the values prepared from the job, the container check
// and the developer presets.
#include "engine/encodejob.h"
#include "engine/testjob.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace mdlMavrell;

namespace {

encodecommand::Inputs inputs(const QString &dst = QStringLiteral("/v/out.x"))
{
    encodecommand::Inputs in;
    in.tool2 = QStringLiteral("/p/OrvexRes2");
    in.tool3 = QStringLiteral("/p/OrvexRes3");
    in.src = QStringLiteral("/v/in.src");
    in.dst = dst;
    return in;
}

class EncodeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        encodetest::clearJob();
        testjob::source = testenv::sampleSource(320, 240, 0, "avi", "mp3");
        testjob::source.srcVideoFormat = QStringLiteral("0x10000001");
        testjob::source.srcAudioBitrate = 128;
        testjob::source.srcAudioRate = 44100;
        testjob::source.srcAudioChannels = 2;
        testjob::job.scaleFilter = QStringLiteral(" -vf-add scale=352:240");
        testjob::job.audioOpts = QStringLiteral(" -channels 2 -srate 44100 -af-add channels=2");
    }
    QString build(const QString &format, const QString &ext, bool audio = false, QString range = QString())
    {
        encodetest::setTarget(format, ext, audio);
        auto prep = encodecommand::prepare(testjob::source, testjob::job);
        return encodecommand::build(testjob::source, testjob::job, prep, range, inputs()).command;
    }
};

TEST_F(EncodeCommand, PreparedValuesFromTheJob)
{
    struct Case {
        QString fps;
        float srcFps;
        QString expectFps;
        int expectKeyint;
    } cases[] = {
        {"29.97  (normal)", 25, "30000/1001", 27}, {"23.976", 25, "24000/1001", 21}, {"14.985", 25, "15000/1001", 12},
        {"25", 29.97f, "25", 23},                  {"3", 25, "3", 2},                 {"12.5", 25, "12.5", 10},
        {"", 29.97f, "30000/1001", 27},            {"", 25, "25", 23},                {"same as source", 25, "25", 23},
    };
    for (const Case &c : cases) {
        testjob::job.fpsText = c.fps;
        testjob::source.srcFps = c.srcFps;
        const auto p = encodecommand::prepare(testjob::source, testjob::job);
        EXPECT_EQ(p.fps, c.expectFps) << c.fps.toStdString();
        EXPECT_EQ(p.keyint, c.expectKeyint) << c.fps.toStdString();
    }

    struct Rates {
        QString video, audio, vrate, arate;
        int peak;
    } rates[] = {
        {"", "", "800", "64", 2400},
        {"4000", "128  (high)", "4000", "128", 9000},
        {"same as source", "x", "800", "64", 2400},
        {"1475", "224", "1475", "224", 4425},
    };
    for (const Rates &r : rates) {
        testjob::job.videoBitrateText = r.video;
        testjob::job.audioBitrateText = r.audio;
        const auto p = encodecommand::prepare(testjob::source, testjob::job);
        EXPECT_EQ(p.vrate, r.vrate);
        EXPECT_EQ(p.arate, r.arate);
        EXPECT_EQ(p.peak, r.peak);
    }
}

TEST_F(EncodeCommand, VideoTargetsAsBuilt)
{
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("800");
    testjob::job.audioBitrateText = QStringLiteral("128");
    // The source is an AVI: the encoder reads it with its general reader.
    const QString tail = QStringLiteral(" \"/v/in.src\" -demuxer lavf -o \"/v/out.x\"");
    // The picture filters end with the shape to show: the 352x240 asked for from a 320x240
    // source, in square pixels (a VCD's frame: 4:3).
    const QString filters = QStringLiteral(" -vf-add scale=352:240 -channels 2 -srate 44100 -af-add channels=2 -vf-add dsize=");
    const QString vopts = filters + QStringLiteral("1.4667 -vf-add fixpts -vf-add harddup -mc 1");
    const QString vcdOpts = filters + QStringLiteral("1.3333 -vf-add fixpts -vf-add harddup -mc 1");
    // An MPEG program stream: tool 2 writes an intermediate, tool 3 the target from it.
    auto viaTool3 = [](const QString &options) {
        return QStringLiteral(" \"/v/in.src\" -demuxer lavf -o \"/v/out.x.mavrell-video.vob\"\n"
                              "/p/OrvexRes3 -y -i \"/v/out.x.mavrell-video.vob\" -map 0:v -map 0:a? -c copy ")
               + options + QStringLiteral(" \"/v/out.x\"");
    };
    struct Case {
        QString format, ext, expected;
    } cases[] = {
        {"MPEG1", "mpg",
         "/p/OrvexRes2 -oac twolame -twolameopts br=128 -ovc lavc -of lavf -lavfopts format=vcd:muxrate=100000000 -lavcopts "
         "vcodec=mpeg1video:keyint=23:vrc_buf_size=1200:vrc_minrate=1200:vrc_maxrate=1200:vbitrate=1200:autoaspect -ofps 25"
             + vopts + viaTool3("-f mpeg")},
        {"VCD", "dat",
         "/p/OrvexRes2 -oac twolame -twolameopts br=224 -ovc lavc -of lavf -lavfopts format=vcd:muxrate=100000000 -lavcopts "
         "vcodec=mpeg1video:keyint=18:vrc_buf_size=1152:vrc_minrate=1152:vrc_maxrate=1152:vbitrate=1152:autoaspect"
         " -ofps 30000/1001"
             + vcdOpts + viaTool3("-f vcd -muxrate 1411200 -packetsize 2324")},
        {"MPEG2", "mpg",
         "/p/OrvexRes2 -oac twolame -twolameopts br=128 -ovc lavc -of lavf -lavfopts format=vob:muxrate=100000000 -lavcopts "
         "vcodec=mpeg2video:keyint=23:vrc_buf_size=800:vrc_maxrate=2400:vbitrate=800:vstrict=0:autoaspect -ofps 25"
             + vopts + viaTool3("-f vob")},
        {"WMV7", "wmv",
         "/p/OrvexRes2 -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv1:keyint=23:vbitrate=800:"
         "acodec=wmav1:abitrate=128 -ofps 25"
             + vopts + tail},
        {"MP42", "wmv",
         "/p/OrvexRes2 -noodml -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=msmpeg4v2:keyint=23:"
         "vbitrate=800:acodec=wmav2:abitrate=128 -ofps 25"
             + vopts + tail},
        {"MP42", "avi",
         "/p/OrvexRes2 -noodml -ovc lavc -of lavf -lavfopts format=avi -lavcopts vcodec=msmpeg4v2:keyint=23:"
         "vbitrate=800 -oac mp3lame -lameopts cbr:br=128 -ofps 25"
             + vopts + tail},
        {"XviD", "avi",
         "/p/OrvexRes2 -noodml -ofps 25 -ovc xvid -xvidencopts max_key_interval=23:bitrate=800:max_bframes=0:"
         "quant_type=h263:me_quality=4 -oac mp3lame -lameopts cbr:br=128"
             + vopts + tail},
        {"DivX", "avi",
         "/p/OrvexRes2 -noodml -ofps 25 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=23:vbitrate=800:autoaspect "
         "-oac mp3lame -lameopts cbr:br=128"
             + vopts + tail},
        {"H.264", "avi",
         "/p/OrvexRes2 -noodml -ofps 25 -ovc x264 -x264encopts keyint=23:bitrate=800:bframes=0 "
         "-oac mp3lame -lameopts cbr:br=128"
             + vopts + tail},
        {"AudIsMp3", "avi",
         "/p/OrvexRes2 -noodml -ovc copy -oac mp3lame -lameopts cbr:br=128 -channels 2 -srate 44100 -af-add channels=2"
         " -vf-add harddup -mc 0"
             " \"/v/in.src\" -o \"/v/out.x\""},  // the picture is copied: the encoder's own reader
        {"Nothing", "avi", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(build(c.format, c.ext).toStdString(), c.expected.toStdString()) << c.format.toStdString() << " " << c.ext.toStdString();
}

// MP2 rates that stereo MP2 or the encoder's MPEG muxer cannot take become the next that
// works, at the job's sample rate; a sample rate MP2 does not take becomes the nearest it does.
TEST_F(EncodeCommand, Mp2SoundTakesARateThatWorks)
{
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("800");
    struct Case { const char *rate, *chosen, *written, *writtenRate; };
    const Case cases[] = {{"44100", "32", "96", "44100"},   {"44100", "64", "96", "44100"},   {"44100", "80", "96", "44100"},
                          {"44100", "112", "112", "44100"}, {"44100", "128 (x)", "128", "44100"},
                          {"44100", "320", "320", "44100"}, {"44100", "448", "384", "44100"},
                          {"22050", "224", "160", "22050"}, {"11025", "192", "160", "16000"}};
    for (const Case &c : cases) {
        testjob::job.audioBitrateText = QString::fromLatin1(c.chosen);
        testjob::job.audioOpts = QStringLiteral(" -channels 2 -srate ") + c.rate + " -af-add channels=2";
        const QString cmd = build("MPEG2", "mpg");
        EXPECT_TRUE(cmd.contains(QStringLiteral("-twolameopts br=") + c.written + " ")) << c.chosen << ": " << cmd.toStdString();
        EXPECT_TRUE(cmd.contains(QStringLiteral(" -srate ") + c.writtenRate + " ")) << c.rate << ": " << cmd.toStdString();
    }
}

// Only an AVI source is read through the encoder's general reader, and only when the
// picture is encoded again.
TEST_F(EncodeCommand, AviSourcesAreReadWholeWhenThePictureIsEncoded)
{
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("800");
    testjob::job.audioBitrateText = QStringLiteral("128");
    EXPECT_TRUE(build("XviD", "avi").contains("\"/v/in.src\" -demuxer lavf -o"));
    EXPECT_FALSE(build("onlyCut", "avi").contains("-demuxer"));
    EXPECT_FALSE(build("AudIsMp3", "avi").contains("-demuxer"));
    testjob::source.srcDemuxer = QStringLiteral("mpegps");
    EXPECT_FALSE(build("XviD", "avi").contains("-demuxer"));
}

// An MPEG program stream is read as non-interleaved by every job of the encoder (its
// interleaved reading loses the sound after a second of many such files).
TEST_F(EncodeCommand, ProgramStreamsAreReadNonInterleaved)
{
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("800");
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::source.srcDemuxer = QStringLiteral("mpegps");
    for (const auto &[format, ext] : {std::pair{"WMV8", "wmv"}, {"XviD", "avi"}, {"MPEG2", "mpg"}, {"onlyFix", "mpg"},
                                      {"onlyCut", "vob"}, {"onlyTransVol", "wmv"}, {"AudIsMp3", "avi"}})
        EXPECT_TRUE(build(format, ext).contains("\"/v/in.src\" -ni -o")) << format;
    testjob::source.srcDemuxer = QStringLiteral("avi");
    EXPECT_FALSE(build("MPEG2", "mpg").contains(" -ni"));
}

// WMA sound made from an AAC track takes the AAC decoder that hands the sound over whole.
TEST_F(EncodeCommand, WmaSoundFromAacUsesTheWholeDecoder)
{
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("800");
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::source.srcDemuxer = QStringLiteral("lavfpref");
    testjob::source.srcAudioCodec = QStringLiteral("ffaac");
    EXPECT_TRUE(build("WMV8", "wmv").contains("\"/v/in.src\" -ac faad -o"));
    EXPECT_FALSE(build("XviD", "avi").contains("-ac faad"));  // MP3 sound through its own encoder
    testjob::source.srcAudioCodec = QStringLiteral("mp3");
    EXPECT_FALSE(build("WMV8", "wmv").contains("-ac faad"));
}

// A DVD takes two runs: the encoder writes the picture with an MP2 track, then the
// converter copies the picture and makes the sound AC-3.
TEST_F(EncodeCommand, DvdRunsTheEncoderThenTheConverter)
{
    encodetest::setTarget("DVD", "vob");
    auto prep = encodecommand::prepare(testjob::source, testjob::job);
    QString range;
    // The second run writes the name the result is checked under; the intermediate is
    // named after the target.
    auto in = inputs("/v/out.vob");
    in.output = QStringLiteral("/v/out.vob.mavrell-part");
    const auto b = encodecommand::build(testjob::source, testjob::job, prep, range, in);
    const QStringList stages = encodecommand::stages(b.command);
    ASSERT_EQ(stages.size(), 2);
    EXPECT_EQ(b.intermediate, "/v/out.vob.mavrell-video.vob");
    EXPECT_TRUE(stages[0].startsWith("/p/OrvexRes2 -oac twolame -twolameopts br=384 -ovc lavc -of lavf -lavfopts "
                                     "format=dvd:muxrate=100000000 -lavcopts vcodec=mpeg2video:keyint=18:vrc_buf_size=1835:"
                                     "vrc_maxrate=9000:vbitrate=4800:vstrict=0:autoaspect -ofps 30000/1001"));
    EXPECT_TRUE(stages[0].endsWith(" \"/v/in.src\" -demuxer lavf -o \"/v/out.vob.mavrell-video.vob\""));
    EXPECT_EQ(stages[1], "/p/OrvexRes3 -y -i \"/v/out.vob.mavrell-video.vob\" -map 0:v -map 0:a? -vcodec copy "
                         "-acodec ac3 -ab 320000 -ar 48000 -f vob \"/v/out.vob.mavrell-part\"");
}

TEST_F(EncodeCommand, AudioTargetsRunTheConverter)
{
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::job.audioOpts = QStringLiteral(" -ac 2 -ar 22050");
    testjob::job.encodeVolumeOpt = QStringLiteral(" -vol 512");
    struct Case {
        QString ext, codec, rate;
    } cases[] = {
        {"wav", " -f wav", "22050"},
        {"mp3", " -f mp3", "22050"},
        {"wma", " -f asf -acodec wmav2", "22050"},
        {"mp4", " -f mp4 -acodec aac", "22050"},
        {"aac", " -f adts -acodec aac", "22050"},
        {"ac3", " -f ac3 -acodec ac3", "32000"},  // the AC-3 encoder takes no 22050 Hz: the nearest it takes
        {"ogg", " -f ogg -acodec libvorbis", "22050"},
    };
    // Two channels, a mono source's one channel on both sides at its own level.
    const QString mix = " -af aformat=channel_layouts=mono|stereo|downmix,pan=stereo|FL<FL+FC+DL|FR<FR+FC+DR";
    for (const Case &c : cases) {
        EXPECT_EQ(build("Sound " + c.ext.toUpper(), c.ext, true),
                  "/p/OrvexRes3 -y -i \"/v/in.src\"" + c.codec + " -vn -ab 128000 -ac 2 -ar " + c.rate + mix
                      + " -vol 512 \"/v/out.x\"")
            << c.ext.toStdString();
    }
    testjob::job.audioOpts = QStringLiteral(" -ac 2 -ar 44100");
    EXPECT_TRUE(build("Sound AC3", "ac3", true).contains(" -ar 44100 "));

    // A marked range: the converter's "-t" in place of "-endpos", kept for a rebuild.
    encodetest::setTarget("Sound MP3", "mp3", true);
    QString range = QStringLiteral(" -ss 00:00:10.0 -endpos 00:00:15.0");
    auto prep = encodecommand::prepare(testjob::source, testjob::job);
    const QString cmd = encodecommand::build(testjob::source, testjob::job, prep, range, inputs()).command;
    EXPECT_EQ(range, " -ss 00:00:10.0 -t 00:00:15.0");
    EXPECT_TRUE(cmd.contains(" -vn -ab 128000 -ss 00:00:10.0 -t 00:00:15.0 -ac 2")) << cmd.toStdString();
    EXPECT_FALSE(cmd.contains("-endpos"));
    // The converter's "-frames" would count sound frames: only the encoder gets a limit.
    EXPECT_FALSE(cmd.contains("-frames"));
}

TEST_F(EncodeCommand, SyncCorrectionPerSourceAndRetry)
{
    encodetest::setTarget("DivX", "avi");
    auto prep = encodecommand::prepare(testjob::source, testjob::job);
    QString range;
    auto in = inputs();
    EXPECT_EQ(encodecommand::build(testjob::source, testjob::job, prep, range, in).mc, " -mc 1");
    in.retry = true;
    EXPECT_EQ(encodecommand::build(testjob::source, testjob::job, prep, range, in).mc, " -mc 0");
    EXPECT_TRUE(encodecommand::build(testjob::source, testjob::job, prep, range, in).command.contains(" -vf-add harddup -mc 0 \"/v/in.src\""));
    in.retry = false;
    testjob::source.srcVideoFormat = QStringLiteral("svq3");
    testjob::source.srcAudioCodec = QStringLiteral("pcm");
    EXPECT_EQ(encodecommand::build(testjob::source, testjob::job, prep, range, in).mc, " -mc 0");

    // Keeping the video: an flv1 source keeps the correction, also on the retry.
    encodetest::setTarget("AudIsMp3", "avi");
    testjob::source.srcVideoFormat = QStringLiteral("flv1");
    in.retry = true;
    EXPECT_EQ(encodecommand::build(testjob::source, testjob::job, prep, range, in).mc, " -mc 1");
}

TEST_F(EncodeCommand, StreamCopyOperations)
{
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::job.encodeVolumeOpt = QStringLiteral(" -af-add volume=6");
    const QString range = QStringLiteral(" -ss 00:00:01.0 -endpos 00:00:01.5");
    // The range as the encoder gets it: with its limit of frames.
    const QString limited = range + " -frames 2500";
    const QString atail = limited + testjob::job.audioOpts + testjob::job.encodeVolumeOpt + " -vf-add harddup -mc 0";
    struct Case {
        QString format, ext, videoFormat, audioCodec, aviNote, body, demuxer;
        QString rewrite{};  // an MPEG program stream: tool 3's options for the target
    } cases[] = {
        {"onlyTransVol", "mpg", "0x10000002", "mp2", "",
         " -ovc copy -oac twolame -twolameopts br=128 -of lavf -lavfopts format=vob:muxrate=100000000" + atail, "mpegps",
         "-c copy -f vob"},
        {"onlyTransVol", "mpeg", "0x10000001", "mp2", "",
         " -ovc copy -oac twolame -twolameopts br=128 -of lavf -lavfopts format=vcd:muxrate=100000000" + atail, "mpegps",
         "-c copy -f mpeg"},
        {"onlyTransVol", "dat", "0x10000001", "mp2", "",
         " -ovc copy -oac twolame -twolameopts br=224 -of lavf -lavfopts format=vcd:muxrate=100000000" + atail, "mpegps",
         "-c copy -f vcd -muxrate 1411200 -packetsize 2324"},
        {"onlyTransVol", "wmv", "wmv2", "ffwmav1", "",
         " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav1:abitrate=128" + atail, "asf"},
        {"onlyTransVol", "avi", "mp4v", "mp3", "", " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=128" + atail, "avi"},
        {"onlyCut", "mpg", "0x10000002", "mp2", "",
         " -ovc copy -oac copy -of lavf -lavfopts format=vob:muxrate=100000000" + limited + " -vf-add harddup -mc 0", "mpegps",
         "-c copy -f vob"},
        {"onlyCut", "dat", "0x10000001", "mp2", "",
         " -ovc copy -oac copy -of lavf -lavfopts format=vcd:muxrate=100000000" + limited + " -vf-add harddup -mc 0", "mpegps",
         "-c copy -f vcd -muxrate 1411200 -packetsize 2324"},
        {"onlyCut", "vob", "0x10000002", "a52", "",
         " -ovc copy -oac copy -of lavf -lavfopts format=dvd:muxrate=100000000" + limited + " -vf-add harddup -mc 0", "mpegps",
         "-c copy -f vob"},
        {"onlyCut", "wmv", "wmv2", "ffwmav2", "",
         " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=128" + testjob::job.audioOpts + limited
             + " -vf-add harddup -mc 0",
         "asf"},
        {"onlyCut", "avi", "mp4v", "pcm", "note",
         " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=128 -channels 2 -srate 44100 -af-add channels=2" + limited
             + " -vf-add harddup -mc 0",
         "avi"},
        {"onlyCut", "avi", "mp4v", "mp3", "", " -noodml -ovc copy -oac copy" + limited + " -vf-add harddup -mc 0", "avi"},
        {"onlyFix", "mpg", "0x10000001", "mp2", "",
         " -idx -ovc copy -oac copy -of lavf -lavfopts format=vcd:muxrate=100000000 -vf-add harddup -mc 0", "mpegps",
         "-c copy -f mpeg"},
        {"onlyFix", "wmv", "wmv2", "ffwmav2", "",
         " -idx -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=128" + testjob::job.audioOpts
             + " -vf-add harddup -mc 0",
         "asf"},
        {"onlyFix", "avi", "mp4v", "", "note",
         " -noodml -idx -ovc copy -oac mp3lame -lameopts cbr:br=128 -channels 2 -srate 44100 -af-add channels=2"
         " -vf-add harddup -mc 0",
         "avi"},
        {"onlyFix", "avi", "mp4v", "mp3", "", " -noodml -idx -ovc copy -oac copy -vf-add harddup -mc 0", "avi"},
    };
    for (const Case &c : cases) {
        encodetest::setTarget(c.format, c.ext);
        testjob::source.srcVideoFormat = c.videoFormat;
        testjob::source.srcAudioCodec = c.audioCodec;
        auto prep = encodecommand::prepare(testjob::source, testjob::job);
        QString r = range;
        auto in = inputs();
        in.aviSoundNote = c.aviNote;
        const auto b = encodecommand::build(testjob::source, testjob::job, prep, r, in);
        const QString expected =
            c.rewrite.isEmpty()
                ? "/p/OrvexRes2" + c.body + " \"/v/in.src\" -o \"/v/out.x\""
                : "/p/OrvexRes2" + c.body + " \"/v/in.src\" -o \"/v/out.x.mavrell-video.vob\"\n"
                      "/p/OrvexRes3 -y -i \"/v/out.x.mavrell-video.vob\" -map 0:v -map 0:a? " + c.rewrite + " \"/v/out.x\"";
        EXPECT_EQ(b.command, expected) << c.format.toStdString() << " " << c.ext.toStdString();
        EXPECT_EQ(b.intermediate.isEmpty(), c.rewrite.isEmpty());
        EXPECT_EQ(b.expectedDemuxer, c.demuxer);
        EXPECT_EQ(b.mc, " -mc 0");
        EXPECT_FALSE(c.format == "onlyFix" && b.command.contains("-ss"));
    }

    // Changing the volume of a VOB keeps the picture and makes AC-3 sound in a second run.
    encodetest::setTarget("onlyTransVol", "vob");
    auto prep = encodecommand::prepare(testjob::source, testjob::job);
    QString r = range;
    const auto b = encodecommand::build(testjob::source, testjob::job, prep, r, inputs("/v/out.vob"));
    const QStringList stages = encodecommand::stages(b.command);
    ASSERT_EQ(stages.size(), 2);
    EXPECT_EQ(stages[0], "/p/OrvexRes2 -ovc copy -oac twolame -twolameopts br=384 -of lavf -lavfopts format=dvd:muxrate=100000000"
                             + atail + " \"/v/in.src\" -o \"/v/out.vob.mavrell-video.vob\"");
    EXPECT_TRUE(stages[1].startsWith("/p/OrvexRes3 -y -i \"/v/out.vob.mavrell-video.vob\""));
}

TEST_F(EncodeCommand, ContainerCheck)
{
    lng[txt::FormatMismatch] = QStringLiteral("You want to aaa bbb but the file is ccc; aaa anyway?");
    lng[txt::Unknown] = QStringLiteral("unknown");
    testjob::job.actionWord = QStringLiteral("Cut");
    testjob::job.targetExt = QStringLiteral("mpg");
    ScriptedPrompts prompts;

    testjob::source.srcDemuxer = QStringLiteral("mpegps");
    EXPECT_TRUE(encodecommand::confirmRealFormat(testjob::source, testjob::job, "mpegps"));
    EXPECT_TRUE(prompts.messages.isEmpty());

    testjob::source.srcDemuxer = QStringLiteral("lavfpref");
    testjob::source.srcVideoFormat = QStringLiteral("mp4v");
    prompts.answer(prompts::Answer::Cancel);
    EXPECT_FALSE(encodecommand::confirmRealFormat(testjob::source, testjob::job, "mpegps"));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, "You want to Cut MPG but the file is MP4; Cut anyway?");
    EXPECT_EQ(prompts.messages[0].buttons, prompts::Buttons::OkCancel);
    EXPECT_EQ(prompts.messages[0].defaultButton, 1);
    prompts.answer(prompts::Answer::Ok);
    EXPECT_TRUE(encodecommand::confirmRealFormat(testjob::source, testjob::job, "mpegps"));

    struct Name {
        QString demuxer, video, expected;
    } names[] = {{"ogg", "", "OGM"},      {"lavfpref", "mp4v", "MP4"}, {"mpegps", "", "MPG"},
                 {"lavf_flv", "", "FLV"}, {"", "", "unknown"},         {"asf", "", "ASF"}};
    for (const Name &n : names) {
        testjob::source.srcDemuxer = n.demuxer;
        testjob::source.srcVideoFormat = n.video;
        EXPECT_EQ(encodecommand::getRealFormatName(testjob::source), n.expected);
    }
    struct Codec {
        QString codec, expected;
    } codecs[] = {{"a52", "AC3"}, {"ffac3", "AC3"}, {"faad", "AAC"}, {"ffvorbis", "OGG"},
                  {"ffcook", "RA"}, {"", "unknown"}, {"pcm", "PCM"}};
    for (const Codec &c : codecs) {
        testjob::source.srcAudioCodec = c.codec;
        EXPECT_EQ(encodecommand::getRealAudioCodecName(testjob::source), c.expected);
    }
}

TEST_F(EncodeCommand, DeveloperPresets)
{
    testjob::job.fpsText = QStringLiteral("20");
    encodetest::setTarget("MPEG1", "mpg");
    const QString built = build("MPEG1", "mpg");
    ASSERT_TRUE(built.contains("-ofps 20 ") && built.contains("keyint=18") && built.contains("-mc 1"));
    EXPECT_EQ(encodecommand::applyDeveloperPreset(built, 0), built);
    const QString p1 = encodecommand::applyDeveloperPreset(built, 1);
    EXPECT_TRUE(p1.contains("-ofps 30000/1001 ") && p1.contains("keyint=27") && p1.contains("-mc 1"));
    EXPECT_TRUE(encodecommand::applyDeveloperPreset(built, 2).contains("-mc 0"));
    const QString p3 = encodecommand::applyDeveloperPreset(built, 3);
    EXPECT_FALSE(p3.contains("-mc"));
    EXPECT_TRUE(p3.contains("harddup  \"/v/in.src\""));  // the blank before the option stays
    EXPECT_TRUE(encodecommand::applyDeveloperPreset(build("XviD", "avi"), 1).contains("max_key_interval=27"));
    EXPECT_EQ(encodecommand::developerPresetItems().size(), 4);
}

} // namespace
