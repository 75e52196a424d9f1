// The identify reader on the tool's own lines (file names that hold key text
// included), and on a real identify run of a clip with such a name.
#include "core/cmdoutput.h"
#include "core/identify.h"
#include "core/toolpaths.h"
#include "support/testenv.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testenv::lines;

TEST(Identify, FileNamesHoldingKeysFeedNothingIn)
{
    struct Case {
        const char *what;
        QString out;
        int width, height;
        float length;
    } cases[] = {
        {"length in the name", lines({"Playing x ID_LENGTH=99999.avi.", "ID_FILENAME=x ID_LENGTH=99999.avi",
                                      "ID_VIDEO_WIDTH=320", "ID_VIDEO_HEIGHT=240", "ID_LENGTH=3.00"}),
         320, 240, 3},
        {"width in the name", lines({"Playing /v/a ID_VIDEO_WIDTH=9999.avi.", "ID_FILENAME=/v/a ID_VIDEO_WIDTH=9999.avi",
                                     "ID_VIDEO_WIDTH=160", "ID_VIDEO_HEIGHT=120", "ID_LENGTH=2.50"}),
         160, 120, 2.5f},
        {"name only, no keys", lines({"Playing ID_VIDEO_WIDTH=640 ID_LENGTH=12.avi.", "ID_FILENAME=ID_LENGTH=12.avi"}),
         0, 0, 0},
        {"CR line ends, lower-case keys", QString("id_video_width=64\r\nid_video_height=48\r\nid_length=1.5\r\n"), 64, 48, 1.5f},
        {"six-digit length", lines({"ID_LENGTH=123456.00"}), 0, 0, 99999},
    };
    for (const Case &c : cases) {
        const identify::Keys k = identify::read(c.out);
        EXPECT_EQ(k.width, c.width) << c.what;
        EXPECT_EQ(k.height, c.height) << c.what;
        EXPECT_FLOAT_EQ(k.length, c.length) << c.what;
    }
}

TEST(Identify, AudioKeysFromTheirLastLine)
{
    const identify::Keys k = identify::read(lines({"ID_AUDIO_CODEC=", "ID_AUDIO_BITRATE=0", "ID_AUDIO_RATE=0",
                                                   "ID_AUDIO_NCH=0", "ID_VIDEO_CODEC=ffodivx", "ID_AUDIO_CODEC=MPG123",
                                                   "ID_AUDIO_BITRATE=400000", "ID_AUDIO_RATE=44100", "ID_AUDIO_NCH=1"}));
    EXPECT_EQ(k.audioCodec, QString("mpg123"));
    EXPECT_EQ(k.audioBitrate, 128);  // above 320 kbit/s
    EXPECT_EQ(k.audioRate, 44100);
    EXPECT_EQ(k.audioChannels, 1);
    EXPECT_FALSE(k.hasStartTime);
}

// The tool prints the shape as 0 until it has decoded a picture (an MPEG-2 picture's flag
// is read from its first frame), then the shape it shows.
TEST(Identify, ShapeFromTheLastLineThatKnowsIt)
{
    EXPECT_FLOAT_EQ(identify::read(lines({"ID_VIDEO_ASPECT=0.0000", "ID_VIDEO_ASPECT=1.7778", "ID_VIDEO_ASPECT=0.0000"})).aspect,
                    1.7778f);
    EXPECT_FLOAT_EQ(identify::read(lines({"ID_VIDEO_ASPECT=0.0000"})).aspect, 0);
    EXPECT_FLOAT_EQ(identify::read(lines({"ID_VIDEO_WIDTH=320"})).aspect, 0);
}

TEST(Identify, StatusLineAndGifSize)
{
    struct Case {
        QString text;
        bool found, counted;
        double seconds;
        int frame;
    } cases[] = {
        {"V:   0.9   9/  9 ??%\rV:   1.0  10/ 10 ??% ??% ??,?% 0 0 \x1b[J\r\n", true, true, 1.0, 10},
        {"V:  12.34 \r", true, false, 12.3, -1},  // one digit after the point
        {"Exiting... (End of file)\n", false, false, 0, -1},
    };
    for (const Case &c : cases) {
        const identify::VideoStatus st = identify::lastVideoStatus(c.text);
        EXPECT_EQ(st.found, c.found) << c.text.toStdString();
        EXPECT_EQ(st.counted, c.counted) << c.text.toStdString();
        EXPECT_DOUBLE_EQ(st.seconds, c.seconds) << c.text.toStdString();
        EXPECT_EQ(st.frame, c.frame) << c.text.toStdString();
    }

    int w = 0, h = 0;
    EXPECT_TRUE(identify::readGifSize("VIDEO:  [\bRGB]  160x120  8bpp  5.000 fps\n", w, h));
    EXPECT_EQ(w, 160);
    EXPECT_EQ(h, 120);
    w = h = 0;
    // The picture line counts only where the tool prints it, not inside a name.
    EXPECT_FALSE(identify::readGifSize("Playing a VIDEO:  [RGB]  999x999 .gif.\n", w, h));
    EXPECT_EQ(w, 0);
}

TEST(Identify, RealRunOfAClipWhoseNameHoldsKeys)
{
    testenv::ProgramDir dir;
    dir.activate();
    QTemporaryDir tmp;
    const QString clip = tmp.path() + "/x ID_LENGTH=99999 ID_VIDEO_WIDTH=9999.avi";
    ASSERT_TRUE(QFile::copy(testenv::fixture("mpeg4.avi"), clip));
    const QString out = cmdoutput::GetCmdOutput(mdlMavrell::ToolPath(1)
                                                      + " -identify -ao null -vo null -frames 0 \"" + clip + "\"");
    ASSERT_TRUE(out.contains("ID_LENGTH=99999")) << "the tool echoes the name";
    const identify::Keys k = identify::read(out);
    EXPECT_EQ(k.width, 320);
    EXPECT_EQ(k.height, 240);
    EXPECT_NEAR(k.length, 3.0f, 0.2f);
}

// Tags whose values hold line breaks and key lines of their own, in the form the tool
// echoes them, and real tagged clips of two containers: only the tool's own keys count.
TEST(Identify, TagValuesFeedNothingIn)
{
    struct Case {
        const char *what;
        QString out;
        int width;
        float length;
    } cases[] = {
        {"title with keys", lines({"Clip info:", " Title: a", "ID_LENGTH=99999", "ID_VIDEO_WIDTH=3000",
                                   "ID_CLIP_INFO_NAME0=Title", "ID_CLIP_INFO_VALUE0=a", "ID_LENGTH=99999",
                                   "ID_VIDEO_WIDTH=3000", "ID_CLIP_INFO_N=1", "ID_FILENAME=x.avi",
                                   "ID_VIDEO_WIDTH=320", "ID_LENGTH=20.00"}),
         320, 20},
        {"a forged count inside a value", lines({"Clip info:", " Title: a", "ID_CLIP_INFO_N=0", "ID_VIDEO_WIDTH=3000",
                                                 "ID_CLIP_INFO_NAME0=Title", "ID_CLIP_INFO_VALUE0=a",
                                                 "ID_CLIP_INFO_N=0", "ID_VIDEO_WIDTH=3000", "ID_CLIP_INFO_N=1",
                                                 "ID_VIDEO_WIDTH=160", "ID_LENGTH=2.00"}),
         160, 2},
        {"a block the tool never closed", lines({"ID_VIDEO_WIDTH=64", "Clip info:", " Title: a", "ID_LENGTH=7"}), 64, 0},
    };
    for (const Case &c : cases) {
        const identify::Keys k = identify::read(c.out);
        EXPECT_EQ(k.width, c.width) << c.what;
        EXPECT_FLOAT_EQ(k.length, c.length) << c.what;
    }
}

TEST(Identify, RealRunsOfClipsWithMultiLineTags)
{
    testenv::ProgramDir dir;
    dir.activate();
    QTemporaryDir tmp;
    for (const char *name : {"mpeg4.avi", "h264.mp4"}) {
        const QString clip = tmp.path() + "/tagged." + QFileInfo(name).suffix();
        QProcess p;
        p.start("ffmpeg", {"-nostdin", "-v", "error", "-y", "-i", testenv::fixture(name), "-c", "copy", "-metadata",
                           "title=a\nID_LENGTH=99999\nID_VIDEO_WIDTH=3000", "-metadata",
                           "comment=first line\nID_VIDEO_HEIGHT=7\nID_VIDEO_FPS=1000\nID_DEMUXER=gif", clip});
        ASSERT_TRUE(p.waitForFinished(30000) && p.exitCode() == 0) << name;
        const QString out = cmdoutput::GetCmdOutput(mdlMavrell::ToolPath(1)
                                                          + " -identify -ao null -vo null -frames 0 \"" + clip + "\"");
        ASSERT_TRUE(out.contains("\nID_VIDEO_WIDTH=3000")) << name << ": the tool echoes the tag";
        const identify::Keys k = identify::read(out);
        EXPECT_EQ(k.width, 320) << name;
        EXPECT_EQ(k.height, 240) << name;
        EXPECT_FLOAT_EQ(k.fps, 25) << name;
        EXPECT_NE(k.demuxer, QString("gif")) << name;
        EXPECT_NEAR(k.length, 3.0f, 0.2f) << name;
    }
}

} // namespace
