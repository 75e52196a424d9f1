// The source probe: the reader of tool 1's identify output on tables of cases, and
// analyseSource on every generated clip against what ffprobe says of it.
#include "engine/identifyprobe.h"
#include "engine/testjob.h"

#include "core/mdlmavrell.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace engine;
using testenv::lines;

TEST(IdentifyProbe, CommandLinesAreBuiltAsText)
{
    EXPECT_EQ(identifyCommand("/p/plugins/OrvexRes1", "/v/a b.avi"),
              QString("/p/plugins/OrvexRes1 -identify -ao pcm:nowaveheader:file=/dev/null -vo null -frames 5 -endpos 3 "
                      "-benchmark \"/v/a b.avi\""));
    EXPECT_EQ(identifyCommand("/p/OrvexRes1", "/v/x.avi", "/t/ü f.md5"),
              QString("/p/OrvexRes1 -identify -ao pcm:nowaveheader:file=/dev/null -vo md5sum:outfile=%11%/t/ü f.md5 "
                      "-frames 5 -endpos 3 -benchmark \"/v/x.avi\""));
    EXPECT_EQ(gifCountCommand("/p/OrvexRes1", "/v/x.gif"), QString("/p/OrvexRes1 -ao null -vo null -fps 10000 \"/v/x.gif\""));
}

TEST(IdentifyProbe, ReadsKeysWithTheirRules)
{
    struct Case {
        const char *what;
        QString out;
        float length;
        int bitrate, rate, channels;
    } cases[] = {
        {"six-digit length", lines({"ID_LENGTH=123456.00"}), 99999, 64, 22050, 2},
        {"length 0", lines({"ID_LENGTH=0.00"}), 0, 64, 22050, 2},
        {"bit rate above 320 kbit/s", lines({"ID_AUDIO_BITRATE=384000", "ID_AUDIO_RATE=44100", "ID_AUDIO_NCH=2"}), 0, 128, 44100, 2},
        {"exactly 320", lines({"ID_AUDIO_BITRATE=320000"}), 0, 320, 22050, 2},
        {"zero bit rate", lines({"ID_AUDIO_BITRATE=0"}), 0, 64, 22050, 2},
        {"zeros before the real group", lines({"ID_AUDIO_BITRATE=0", "ID_AUDIO_RATE=0", "ID_AUDIO_NCH=0", "ID_VIDEO_CODEC=ffodivx",
                                               "ID_AUDIO_BITRATE=128000", "ID_AUDIO_RATE=44100", "ID_AUDIO_NCH=1"}), 0, 128, 44100, 1},
        {"CR line ends", QString("ID_LENGTH=12.31\r\nID_AUDIO_RATE=48000\r\n"), 12.31f, 64, 48000, 2},
        {"no output", QString(), 0, 64, 22050, 2},
    };
    for (const Case &c : cases) {
        SourceFacts f = parseIdentify(c.out);
        EXPECT_FLOAT_EQ(f.srcLength, c.length) << c.what;
        EXPECT_EQ(f.srcAudioBitrate, c.bitrate) << c.what;
        EXPECT_EQ(f.srcAudioRate, c.rate) << c.what;
        EXPECT_EQ(f.srcAudioChannels, c.channels) << c.what;
    }
}

TEST(IdentifyProbe, KeysCountOnlyAtLineStartAndNamesAreLowerCased)
{
    // A file name holding key text must not feed values in.
    const QString out = lines({"Playing /v/ID_VIDEO_WIDTH=9999 ID_LENGTH=77.avi.", "ID_FILENAME=/v/ID_VIDEO_WIDTH=9999.avi",
                               "ID_DEMUXER=ASF", "ID_VIDEO_FORMAT=WMV2", "ID_VIDEO_WIDTH=320", "ID_VIDEO_HEIGHT=240",
                               "ID_VIDEO_FPS=1000.000", "ID_START_TIME=3.10", "ID_LENGTH=3.05", "ID_AUDIO_CODEC=mpg123"});
    SourceFacts f = parseIdentify(out);
    EXPECT_EQ(f.srcWidth, 320);
    EXPECT_EQ(f.srcHeight, 240);
    EXPECT_FLOAT_EQ(f.srcLength, 3.05f);
    EXPECT_EQ(f.srcDemuxer, QString("asf"));
    EXPECT_EQ(f.srcVideoFormat, QString("wmv2"));
    EXPECT_EQ(f.srcAudioCodec, QString("mp3"));
    EXPECT_TRUE(f.hasStartKey);
    EXPECT_FLOAT_EQ(f.idStartTime, 3.1f);
}

TEST(IdentifyProbe, FinishingRoundsUpAndDropsFrameRateWithoutPicture)
{
    struct Case {
        float length, fps;
        int w, h;
        float wantLength, wantFps;
    } cases[] = {
        {12.31f, 25, 320, 240, 12.4f, 25},
        {12.3f, 25, 320, 240, 12.3f, 25},
        {99999.95f, 25, 320, 240, 100000.0f, 25},
        {0, 0, 320, 240, 0, 30},
        {3, 1000, 320, 240, 3, 30},
        {3, 25, 0, 0, 3, 0},  // audio only, even with a frame rate printed
    };
    for (const Case &c : cases) {
        SourceFacts f;
        f.srcLength = c.length;
        f.srcFps = c.fps;
        f.srcWidth = c.w;
        f.srcHeight = c.h;
        finishFacts(f);
        EXPECT_FLOAT_EQ(f.srcLength, c.wantLength) << c.length;
        EXPECT_FLOAT_EQ(f.srcFps, c.wantFps) << c.length << " " << c.fps;
    }
}

TEST(IdentifyProbe, AsfFixKeepsTheLengthAndClampsTheFrameRate)
{
    struct Case {
        bool hasStart;
        float idStart, tool3Start, tool3Fps, mciFps;
        float wantStart, wantFps;
    } cases[] = {
        {true, 3.1f, 0, 25, 0, 3.1f, 25},
        {false, 0, 0, 0, 0, 3.0f, 30},      // nobody knows the start: the usual 3 s
        {false, 0, 1.5f, 29.5f, 0, 1.5f, 29.97f},
        {true, 0, 0, 45, 0, 0, 30},
        {true, 0, 0, 25, 12.5f, 0, 12.5f},  // the MCI rate wins and is not clamped
    };
    for (const Case &c : cases) {
        SourceFacts f;
        f.srcDemuxer = "asf";
        f.srcFps = 1000;
        f.srcLength = 2.0f;
        f.hasStartKey = c.hasStart;
        f.idStartTime = c.idStart;
        ASSERT_TRUE(needsAsfFix(f));
        applyAsfFix(f, c.tool3Start, c.tool3Fps, c.mciFps);
        EXPECT_FLOAT_EQ(f.srcStartTime, c.wantStart);
        EXPECT_FLOAT_EQ(f.srcFps, c.wantFps);
        EXPECT_FLOAT_EQ(f.srcLength, 2.0f) << "an ASF length shorter than its offset stays positive";
    }
}

TEST(IdentifyProbe, GifCountReadsTheLastStatusLine)
{
    SourceFacts f;
    const QString identify = QString("VIDEO:  [\bRGB]  160x120  8bpp  5.000 fps    0.0 kbps\n");
    const QString count = QString("V:   0.9   9/  9 ??%\rV:   1.0  10/ 10 ??% ??% ??,?% 0 0 \x1b[J\r\n");
    EXPECT_EQ(applyGifCount(f, identify, count), 10);
    EXPECT_EQ(f.srcWidth, 160);
    EXPECT_EQ(f.srcHeight, 120);
    EXPECT_FLOAT_EQ(f.srcLength, 1.0f);
    EXPECT_FLOAT_EQ(f.srcFps, 10.0f);
    EXPECT_EQ(gifResult(f.gifFrames), QString("Animated Gifs"));
    EXPECT_EQ(gifResult(1), QString("Static Gif"));
    EXPECT_EQ(gifResult(0), QString());

    SourceFacts none;
    EXPECT_EQ(applyGifCount(none, QString(), QString("Exiting... (End of file)\n")), 0);
    EXPECT_FLOAT_EQ(none.srcLength, 0);
}

TEST(IdentifyProbe, SummaryJoinsWithTheCommaEntry)
{
    mdlMavrell::lng[txt::ListComma] = QString::fromUtf8("，");
    SourceFacts f;
    f.srcDemuxer = "asf";
    f.srcVideoFormat = "wmv2";
    f.srcAudioCodec = "ffwmav2";
    EXPECT_EQ(sourceSummary(f), QString::fromUtf8("asf，wmv2，ffwmav2"));
    f.srcStartTime = 3.1f;
    EXPECT_EQ(sourceSummary(f), QString::fromUtf8("asf，wmv2，ffwmav2，TimeShift= 3.1"));
}

TEST(IdentifyProbe, CheckFileExistsWantsANonEmptyFileWithAQuotableName)
{
    QTemporaryDir dir;
    auto make = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.path() + "/" + name);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    };
    EXPECT_TRUE(checkFileExists(make("clip.avi", "x")));
    EXPECT_FALSE(checkFileExists(make("empty.avi", "")));
    EXPECT_FALSE(checkFileExists(dir.path() + "/missing.avi"));
    EXPECT_FALSE(checkFileExists(dir.path()));
    EXPECT_FALSE(checkFileExists(dir.path() + "/*.avi")) << "a star is no pattern";
    EXPECT_TRUE(checkFileExists(make("star*.avi", "x")));
    EXPECT_FALSE(checkFileExists(make("say \"hi\".avi", "x")));
    // Blanks at the ends belong to the name.
    EXPECT_TRUE(checkFileExists(make("trail.avi ", "x")));
    EXPECT_TRUE(checkFileExists(make(" lead.avi", "x")));
}

// ---- Against the real tools ----

namespace {

struct Truth {
    int width = 0, height = 0;
    double duration = 0, fps = 0;
    int rate = 0, channels = 0;
    bool audio = false;
};

double ratio(const QString &r)
{
    const QStringList p = r.split('/');
    if (p.size() == 2 && p[1].toDouble() != 0)
        return p[0].toDouble() / p[1].toDouble();
    return r.toDouble();
}

Truth ffprobe(const QString &file)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_entries",
                        "stream=codec_type,width,height,r_frame_rate,sample_rate,channels:format=duration", "-of", "json", file});
    p.waitForFinished(20000);
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    Truth t;
    t.duration = o["format"].toObject()["duration"].toString().toDouble();
    for (const QJsonValue &v : o["streams"].toArray()) {
        const QJsonObject s = v.toObject();
        if (s["codec_type"].toString() == "video") {
            t.width = s["width"].toInt();
            t.height = s["height"].toInt();
            t.fps = ratio(s["r_frame_rate"].toString());
        } else if (s["codec_type"].toString() == "audio") {
            t.audio = true;
            t.rate = s["sample_rate"].toString().toInt();
            t.channels = s["channels"].toInt();
        }
    }
    return t;
}

} // namespace

TEST(IdentifyProbe, RealToolsAgreeWithFfprobeOnEveryClip)
{
    testenv::ProgramDir programDir;
    programDir.activate();
    ScriptedPrompts prompts;
    const char *clips[] = {"mpeg1.mpg", "mpeg2.vob", "mpeg4.avi", "wmv2.wmv", "h264.mp4", "flv1.flv",
                           "vorbis.ogg", "tone.mp3", "tone.wav", "anim.gif", "silent.avi"};
    for (const char *name : clips) {
        const QString file = testenv::fixture(name);
        ASSERT_FALSE(file.isEmpty()) << name;
        testjob::source = {};
        const QString result = analyseSource(file, testjob::source);
        const Truth t = ffprobe(file);
        SCOPED_TRACE(name);
        EXPECT_EQ(testjob::source.srcWidth, t.width);
        EXPECT_EQ(testjob::source.srcHeight, t.height);
        EXPECT_NEAR(testjob::source.srcLength, t.duration, 0.2);
        EXPECT_NEAR(testjob::source.srcFps, t.fps, 0.01);
        if (t.audio) {
            EXPECT_FALSE(testjob::source.srcAudioCodec.isEmpty());
            EXPECT_EQ(testjob::source.srcAudioRate, t.rate);
            // The player's MPEG audio decoder hands on mono sound as two channels, and
            // that is what the encoder, using the same decoder, will get.
            const int channels = testjob::source.srcAudioCodec == "mp3" && t.channels == 1 ? 2 : t.channels;
            EXPECT_EQ(testjob::source.srcAudioChannels, channels);
        } else {
            EXPECT_TRUE(testjob::source.srcAudioCodec.isEmpty());
        }
        EXPECT_EQ(result, QString(QString(name) == "anim.gif" ? "Animated Gifs" : ""));
    }
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// The shape a picture shows, also where it is not its size's.
TEST(IdentifyProbe, RealToolsGiveTheShapeThePictureShows)
{
    testenv::ProgramDir programDir;
    programDir.activate();
    for (const auto &[name, shape] : {std::pair{"anamorphic.mpg", 16.0 / 9}, std::pair{"sar1615.mp4", 64.0 / 45},
                                      std::pair{"mpeg4.avi", 4.0 / 3}, std::pair{"wmv2.wmv", 4.0 / 3}}) {
        const QString file = testenv::fixture(name);
        ASSERT_FALSE(file.isEmpty()) << name;
        testjob::source = {};
        analyseSource(file, testjob::source);
        EXPECT_NEAR(testjob::source.srcAspect, shape, 0.001) << name;
    }
}

TEST(IdentifyProbe, RealToolsKnowTheCodecsTheProgramTestsFor)
{
    testenv::ProgramDir programDir;
    programDir.activate();
    struct Case {
        const char *clip, *demuxer, *codec;
    } cases[] = {{"mpeg4.avi", "avi", "mp3"}, {"tone.mp3", "audio", "mp3"}, {"mpeg1.mpg", "mpegps", "mp3"},
                 {"wmv2.wmv", "asf", "ffwmav2"}, {"mpeg2.vob", "mpegps", "ffac3"}};
    for (const Case &c : cases) {
        testjob::source = {};
        analyseSource(testenv::fixture(c.clip), testjob::source);
        EXPECT_EQ(testjob::source.srcDemuxer, QString(c.demuxer)) << c.clip;
        EXPECT_EQ(testjob::source.srcAudioCodec, QString(c.codec)) << c.clip;
    }
    // The WMV's start offset is kept apart from its length.
    testjob::source = {};
    analyseSource(testenv::fixture("wmv2.wmv"), testjob::source);
    EXPECT_GT(testjob::source.srcStartTime, 2.5f);
    EXPECT_GT(testjob::source.srcLength, 2.8f);
    // The media-information layer may be asked for the ASF frame rate as well.
    testjob::source = {};
    AnalyseOptions withMci;
    withMci.checkAsfMci = true;
    analyseSource(testenv::fixture("wmv2.wmv"), testjob::source, withMci);
    EXPECT_NEAR(testjob::source.srcFps, 25, 0.01);
}

TEST(IdentifyProbe, StillGifIsReportedAsStatic)
{
    testenv::ProgramDir programDir;
    programDir.activate();
    testjob::source = {};
    EXPECT_EQ(analyseSource(testenv::fixture("still.gif"), testjob::source), QString("Static Gif"));
    EXPECT_EQ(testjob::source.gifFrames, 1);
    EXPECT_EQ(testjob::source.srcWidth, 160);
}

TEST(IdentifyProbe, MissingToolIsNamedOnceAndNothingIsProbed)
{
    testenv::ProgramDir programDir;
    programDir.activate();
    QFile::remove(programDir.pluginPath(1));
    ScriptedPrompts prompts;
    mdlMavrell::lng[txt::ToolFilesMissing] = "plug-ins missing";
    testjob::source = {};
    int busyCalls = 0;
    AnalyseOptions o;
    o.busy = [&](bool) { ++busyCalls; };
    EXPECT_EQ(analyseSource(testenv::fixture("mpeg4.avi"), testjob::source, o), QString());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), "plug-ins missing\n\n" + programDir.pluginPath(1));
    EXPECT_EQ(busyCalls, 0);
    EXPECT_EQ(testjob::source.srcWidth, 0);
    EXPECT_EQ(testjob::source.srcAudioRate, 0);
}

TEST(IdentifyProbe, ToolThatPrintsNothingLeavesDefaults)
{
    testenv::ProgramDir programDir;
    programDir.activate();
    programDir.fakeTool(1, "exit 1\n");
    testjob::source = {};
    EXPECT_EQ(analyseSource(testenv::fixture("mpeg4.avi"), testjob::source), QString());
    EXPECT_EQ(testjob::source.srcWidth, 0);
    EXPECT_FLOAT_EQ(testjob::source.srcLength, 0);
    EXPECT_FLOAT_EQ(testjob::source.srcFps, 0);
    EXPECT_EQ(testjob::source.srcAudioBitrate, 64);
    EXPECT_EQ(testjob::source.srcAudioRate, 22050);
    EXPECT_EQ(testjob::source.srcAudioChannels, 2);
}
