// The tool-3 description probe and the media-information device, on the real tools
// with generated clips, and the reading of tool-3 output from a table of texts.
#include "core/mdlmavrell.h"
#include "core/probes.h"
#include "core/toolpaths.h"
#include "support/testenv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mdlMavrell;

namespace {

constexpr float untouched = -7.0f;

struct Values {
    float duration = untouched, start = untouched, fps = untouched;
};

QString copyAs(const QString &fixture, const QTemporaryDir &dir, const QString &name)
{
    const QString from = testenv::fixture(fixture);
    const QString to = dir.path() + '/' + name;
    QFile::remove(to);
    return (!from.isEmpty() && QFile::copy(from, to)) ? to : QString();
}

} // namespace

TEST(Tool3Output, ValuesAreReadFromTheirLines)
{
    struct Case {
        const char *name;
        QString output;
        Values want;
    } cases[] = {
        {"older form with tb(r)",
         "  Duration: 00:01:23.45, start: 1.500000, bitrate: 128 kb/s\n"
         "    Stream #0.0: Video: wmv2, yuv420p, 320x240, 29.97 tb(r)\n",
         {83.45f, 1.5f, 29.97f}},
        {"this system's form with tbr",
         "  Duration: 00:00:03.04, start: 0.000000, bitrate: 502 kb/s\n"
         "  Stream #0:0: Video: mpeg4 (Simple Profile) (XVID / 0x44495658), yuv420p, 320x240 [SAR 1:1 DAR 4:3], "
         "340 kb/s, 25 fps, 25 tbr, 25 tbn\n"
         "  Stream #0:1: Audio: mp3 (U[0][0][0] / 0x0055), 44100 Hz, stereo, fltp, 128 kb/s\n",
         {3.04f, 0.0f, 25.0f}},
        {"CR LF lines and a rate in thousands",
         "  Duration: 00:00:10.00, start: 0.500000, bitrate: 1 kb/s\r\n"
         "    Stream #0:0: Video: h264, yuv420p, 320x240, 1k tbr, 1k tbn\r\n",
         {10.0f, 0.5f, 1000.0f}},
        {"no rate mark: fps untouched",
         "  Duration: 00:00:02.00, start: 0.000000, bitrate: 64 kb/s\n"
         "    Stream #0:0: Audio: mp3, 44100 Hz, stereo\n",
         {2.0f, 0.0f, untouched}},
        {"rate 0: fps untouched",
         "  Duration: 00:00:02.00, start: 0.000000, bitrate: 9 kb/s\n    Stream #0:0: Video: gif, 0 tbr\n",
         {2.0f, 0.0f, untouched}},
        {"duration N/A reads as 0",
         "  Duration: N/A, start: 2.000000, bitrate: N/A\n", {0.0f, 2.0f, untouched}},
        {"nothing at all", "", {}},
        {"markers inside the file name and a tag are not values",
         "Input #0, avi, from '/v/Duration: 09:09:09, start: 9, 7 tbr.avi':\n"
         "  Metadata:\n    title           : Duration: 01:00:00, 5 tbr\n"
         "  Duration: 00:00:03.00, start: 0.000000, bitrate: 502 kb/s\n"
         "  Stream #0:0: Video: mpeg4, yuv420p, 320x240, 25 fps, 25 tbr, 25 tbn\n",
         {3.0f, 0.0f, 25.0f}},
    };
    for (const Case &c : cases) {
        Values v;
        ParseTool3Info(c.output, v.duration, v.start, v.fps);
        EXPECT_FLOAT_EQ(v.duration, c.want.duration) << c.name;
        EXPECT_FLOAT_EQ(v.start, c.want.start) << c.name;
        EXPECT_FLOAT_EQ(v.fps, c.want.fps) << c.name;
    }
}

TEST(ProbeByTool3, RealToolOnClipsWithPlainAndUtf8Names)
{
    testenv::ProgramDir dir;
    dir.activate();
    QTemporaryDir tmp;
    for (const QString &name : {QString("plain.avi"), QString("vidéo 日本.avi"), QString("with, comma: and tbr.avi")}) {
        const QString clip = copyAs("mpeg4.avi", tmp, name);
        ASSERT_FALSE(clip.isEmpty());
        Values v;
        ProbeByTool3(clip, v.duration, v.start, v.fps);
        EXPECT_NEAR(v.duration, 3.0, 0.1) << name.toStdString();
        EXPECT_FLOAT_EQ(v.start, 0.0f) << name.toStdString();
        EXPECT_FLOAT_EQ(v.fps, 25.0f) << name.toStdString();
    }
}

TEST(ProbeByTool3, MissingToolOrUnquotablePathRunsNothing)
{
    testenv::ProgramDir dir;
    QTemporaryDir tmp;
    const QString marker = tmp.path() + "/ran";
    dir.fakeTool(3, "echo >> '" + marker.toUtf8() + "'\necho '  Duration: 00:00:01.00, start: 0.000000, bitrate: 1'\n");
    dir.activate();

    Values v;
    ProbeByTool3(tmp.path() + "/a \"b\".avi", v.duration, v.start, v.fps);
    ProbeByTool3(tmp.path() + "/a\nb.avi", v.duration, v.start, v.fps);
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_FLOAT_EQ(v.duration, untouched);

    ProbeByTool3(tmp.path() + "/fine.avi", v.duration, v.start, v.fps);  // the fake answers
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_FLOAT_EQ(v.duration, 1.0f);

    QFile::remove(dir.pluginPath(3));
    Values w;
    ProbeByTool3(tmp.path() + "/fine.avi", w.duration, w.start, w.fps);
    EXPECT_FLOAT_EQ(w.duration, untouched);
    EXPECT_FLOAT_EQ(w.start, untouched);
    EXPECT_FLOAT_EQ(w.fps, untouched);
}

TEST(GetMciInfo, LengthAndFrameRateOfClips)
{
    testenv::ProgramDir dir;
    dir.activate();
    QTemporaryDir tmp;
    const QString video = copyAs("mpeg4.avi", tmp, "vidéo 日本.avi");
    const QString audio = copyAs("tone.mp3", tmp, "tone.mp3");
    ASSERT_FALSE(video.isEmpty());
    ASSERT_FALSE(audio.isEmpty());

    float length = untouched, fps = untouched;
    GetMciInfo(video, length, fps);
    EXPECT_NEAR(length, 3.0, 0.1);
    EXPECT_FLOAT_EQ(fps, 25.0f);

    // Opens, but has no picture: the frame rate it cannot report is 0.
    length = fps = untouched;
    GetMciInfo(audio, length, fps);
    EXPECT_NEAR(length, 3.0, 0.1);
    EXPECT_FLOAT_EQ(fps, 0.0f);
}

TEST(GetMciInfo, UnopenableFilesLeaveValuesAndTheDeviceFree)
{
    testenv::ProgramDir dir;
    dir.activate();
    QTemporaryDir tmp;
    QFile text(tmp.path() + "/notes.avi");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a video\n");
    text.close();
    const QString quoted = copyAs("mpeg4.avi", tmp, "a \"b\".avi");

    for (const QString &file : {tmp.path() + "/missing.avi", text.fileName(), quoted}) {
        float length = untouched, fps = untouched;
        GetMciInfo(file, length, fps);
        EXPECT_FLOAT_EQ(length, untouched) << file.toStdString();
        EXPECT_FLOAT_EQ(fps, untouched) << file.toStdString();
        // The close was sent in every case: the alias is free again.
        EXPECT_EQ(mci::SendString("close forMciInfo"), mci::errInvalidDeviceName);
    }
}

TEST(MciStrings, CommandsAndTheirErrors)
{
    testenv::ProgramDir dir;
    dir.activate();
    const QString clip = testenv::fixture("mpeg4.avi");
    ASSERT_FALSE(clip.isEmpty());
    QString ret = "x";
    EXPECT_EQ(mci::SendString("status nothing length", &ret), mci::errInvalidDeviceName);
    EXPECT_EQ(ret, "");
    EXPECT_EQ(mci::SendString("play forMciInfo"), mci::errUnrecognizedCommand);
    EXPECT_EQ(mci::SendString("OPEN \"" + clip + "\" TYPE MpegVideo ALIAS Probe"), mci::ok);
    EXPECT_EQ(mci::SendString("open \"" + clip + "\" type mpegvideo alias probe"), mci::errDuplicateAlias);
    EXPECT_EQ(mci::SendString("set probe time format ms"), mci::ok);
    EXPECT_EQ(mci::SendString("Status PROBE Length", &ret), mci::ok);
    EXPECT_EQ(ret, "3040");
    EXPECT_EQ(mci::SendString("status probe frame rate", &ret), mci::ok);
    EXPECT_EQ(ret, "25000");
    EXPECT_EQ(mci::SendString("status probe volume", &ret), mci::errUnsupportedFunction);
    EXPECT_EQ(mci::SendString("close probe"), mci::ok);
    EXPECT_EQ(mci::SendString("close probe"), mci::errInvalidDeviceName);
    EXPECT_EQ(mci::SendString("open \"" + clip + "\" type cdaudio alias other"), mci::errInvalidDeviceName);
}
