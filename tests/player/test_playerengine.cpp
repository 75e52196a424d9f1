// The player engine: the probe on real clips and on the tool's own output, and the
// commands it sends, captured by a small fake player that records its input.
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "player/playerengine.h"
#include "support/testenv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using playerengine::Fields;

TEST(PlayerProbe, LengthRules)
{
    struct Case { const char *length; float seconds; };
    const Case cases[] = {
        {"123456.70", 99999}, {"59.5", 60}, {"58.5", 58}, {"3.04", 3}, {"0.00", 0}, {"", 0},
    };
    for (const Case &c : cases) {
        Fields f;
        playerengine::readIdentify(QStringLiteral("ID_LENGTH=") + QString::fromUtf8(c.length) + QStringLiteral("\n"), f);
        playerengine::finish(f);
        EXPECT_EQ(f.lengthSeconds, c.seconds) << c.length;
        EXPECT_EQ(f.framesPerSecond, 30) << "no rate found gives 30";
    }
}

TEST(PlayerProbe, KeysAndPlaceholderAudio)
{
    Fields f;
    playerengine::readIdentify(QStringLiteral("ID_DEMUXER=AVI\nID_VIDEO_FORMAT=FMP4\nID_VIDEO_WIDTH=160\n"
                                             "ID_VIDEO_HEIGHT=119.5\nID_VIDEO_FPS=25.000\nID_AUDIO_CODEC=\n"
                                             "ID_LENGTH=3.04\nID_AUDIO_CODEC=mpg123\n"),
                              f);
    EXPECT_EQ(f.demuxer, QStringLiteral("avi"));
    EXPECT_EQ(f.videoFormat, QStringLiteral("fmp4"));
    EXPECT_EQ(f.videoWidth, 160);
    EXPECT_EQ(f.videoHeight, 120);
    EXPECT_EQ(f.framesPerSecond, 25);
    EXPECT_EQ(f.audioCodec, QStringLiteral("mpg123"));
}

TEST(PlayerProbe, AsfRepair)
{
    struct Case { float fps, toolStart, t3start, t3fps, length; float offset, outFps, outLength; };
    const Case cases[] = {
        {1000, -1, 0, 0, 20, 3, 30, 17},        // no start time anywhere: 3 seconds
        {1000, -1, 5.5f, 29.5f, 20, 5.5f, 29.97f, 14.5f},
        {0, -1, 0, 50, 20, 3, 30, 17},          // above 30 becomes 30
        {25, -1, 4, 0, 20, 0, 25, 20},          // a real rate: nothing to repair
        {1000, 3.1f, 0, 25, 3.05f, 3.1f, 25, 3.05f},  // the tool's own start: the length stays
        {1000, 0, 0, 25, 20, 0, 25, 20},
    };
    for (const Case &c : cases) {
        Fields f;
        f.toolStartTime = c.toolStart;
        f.demuxer = QStringLiteral("asf");
        f.framesPerSecond = c.fps;
        f.lengthSeconds = c.length;
        playerengine::fixAsf(f, c.t3start, c.t3fps);
        EXPECT_FLOAT_EQ(f.startOffset, c.offset);
        EXPECT_FLOAT_EQ(f.framesPerSecond, c.outFps);
        EXPECT_FLOAT_EQ(f.lengthSeconds, c.outLength);
    }
}

int g_state = 5;

TEST(PlayerEngine, ProbesRealClips)
{
    testenv::ProgramDir dir;
    dir.activate();
    MPlayer p([] { return g_state; }, nullptr);

    p.openMCI(testenv::fixture(QStringLiteral("mpeg4.avi")), 1);
    EXPECT_TRUE(p.isSuccess());
    EXPECT_FALSE(p.isAudioOnly());
    EXPECT_FALSE(p.isVideoOnly());
    int w = 0, h = 0;
    p.getDefaultSize(w, h);
    EXPECT_GT(w * h, 0);
    EXPECT_EQ(p.getFramesPerSecond(), 25);
    EXPECT_EQ(p.getTotalSeconds(), 3);
    EXPECT_EQ(p.getTotalFrames(), 75);
    EXPECT_EQ(p.getVolume(), 100);

    p.openMCI(testenv::fixture(QStringLiteral("tone.mp3")), 1);
    EXPECT_TRUE(p.isSuccess());
    EXPECT_TRUE(p.isAudioOnly());

    // WMV: the player tool's start time is the offset of its positions; the rate
    // comes from tool 3.
    p.openMCI(testenv::fixture(QStringLiteral("wmv2.wmv")), 1);
    EXPECT_TRUE(p.isSuccess());
    EXPECT_EQ(p.getTotalSeconds(), 3);
    EXPECT_EQ(p.getFramesPerSecond(), 25);
    EXPECT_GT(p.fields().startOffset, 0);

    // MPEG program stream: the length from tool 3.
    p.openMCI(testenv::fixture(QStringLiteral("mpeg1.mpg")), 1);
    EXPECT_EQ(p.getTotalSeconds(), 3);
    EXPECT_EQ(p.getTotalFrames(), 75);

    p.openMCI(testenv::fixture(QStringLiteral("silent.avi")), 1);
    EXPECT_TRUE(p.isVideoOnly());

    // A GIF: length and rate from the frame-count run.
    p.openMCI(testenv::fixture(QStringLiteral("anim.gif")), 1);
    EXPECT_TRUE(p.isSuccess());
    EXPECT_EQ(p.fields().demuxer, QStringLiteral("gif"));
    EXPECT_GT(p.getTotalSeconds(), 0);

    QTemporaryDir tmp;
    const QString missing = tmp.path() + QStringLiteral("/none.avi");
    p.openMCI(missing, 1);
    EXPECT_FALSE(p.isSuccess());
    EXPECT_EQ(p.getFramesPerSecond(), 30);

    // Not a media file.
    const QString text = tmp.path() + QStringLiteral("/notes.avi");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just some words\n");
    f.close();
    p.openMCI(text, 1);
    EXPECT_FALSE(p.isSuccess());
}

TEST(PlayerEngine, NoToolNoProbeNoStart)
{
    testenv::ProgramDir dir;
    dir.activate();
    QFile::remove(dir.pluginPath(1));
    MPlayer p([] { return g_state; }, nullptr);
    p.openMCI(testenv::fixture(QStringLiteral("mpeg4.avi")), 1);
    EXPECT_FALSE(p.isSuccess());
    EXPECT_EQ(p.getFramesPerSecond(), 0);
    p.playMCI(0, 0);
    EXPECT_TRUE(p.lastStartLine().isEmpty());
    EXPECT_FALSE(mdlConsole::IsRunning());
}

struct Owner final : ConsoleOwner {
    void setStopDosIo() override {}
};

// A fake player: the probe gets a fixed answer, a slave run records its input.
class Recorder {
public:
    explicit Recorder(const char *identify)
    {
        dir.activate();
        log = dir.appDir() + QStringLiteral("stdin.log");
        QByteArray body = "case \"$*\" in\n *-identify*-frames*) printf '";
        body += identify;
        body += "' ;;\n *) cat >> '" + log.toUtf8() + "' ;;\nesac\n";
        dir.fakeTool(1, body);
    }
    QStringList sent()
    {
        mdlConsole::StopConsole();
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QString all = QString::fromUtf8(f.readAll());
        f.close();
        QFile::remove(log);
        QStringList lines = all.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeAll(QStringLiteral("quit"));  // the console's own ending
        return lines;
    }
    // Starts the fake player and waits until it runs.
    void start(MPlayer &p)
    {
        p.playMCI(0, 0);
        (void)QTest::qWaitFor([] { return mdlConsole::IsRunning(); }, 2000);
        QTest::qWait(100);
    }
    testenv::ProgramDir dir;
    QString log;
};

const char *kVideo = "ID_VIDEO_WIDTH=320\\nID_VIDEO_HEIGHT=240\\nID_VIDEO_FPS=25\\nID_LENGTH=20.00\\nID_AUDIO_CODEC=mpg123\\n";
const char *kAudio = "ID_LENGTH=20.00\\nID_AUDIO_CODEC=mpg123\\n";

TEST(PlayerEngine, StartLinesForRanges)
{
    Recorder r(kVideo);
    Owner owner;
    MPlayer p([] { return g_state; }, &owner);
    p.openMCI(QStringLiteral("/v/clip.avi"), 77);
    p.playMCI(0, 0);
    EXPECT_TRUE(p.lastStartLine().endsWith(QStringLiteral("-colorkey 0x010203 -wid 77"))) << p.lastStartLine().toStdString();
    p.playMCI(125, 0);  // from frame 125 to the end
    EXPECT_TRUE(p.lastStartLine().endsWith(QStringLiteral("-wid 77 -ss 00:00:05.0"))) << p.lastStartLine().toStdString();
    p.playMCI(0, 500);  // total is 500 frames: a restart from the start
    EXPECT_TRUE(p.lastStartLine().endsWith(QStringLiteral("-wid 77 -ss 00:00:00.0")));
    p.playMCI(25, 50);
    EXPECT_TRUE(p.lastStartLine().endsWith(QStringLiteral("-ss 00:00:01.0 -endpos 00:00:01.0")));
    mdlConsole::StopConsole();
}

TEST(PlayerEngine, CommandsSent)
{
    Recorder r(kVideo);
    Owner owner;
    MPlayer p([] { return g_state; }, &owner);
    p.openMCI(QStringLiteral("/v/clip.avi"), 1);
    r.start(p);
    g_state = 1;
    p.setVolume(1234);
    p.setVolume(-5);
    p.setVolume(999);
    p.pauseMCI();              // playing: pause
    g_state = 4;
    p.pauseMCI();              // paused: one frame on
    p.setCurFrame(250, false); // half of 500 frames, then the frame shows
    p.resumeMCI();
    EXPECT_EQ(p.getVolume(), 999);
    EXPECT_EQ(r.sent(), (QStringList{"volume 100 1", "volume 0 1", "volume 99 1", "pause", "frame_step",
                                     "pausing seek 50 1", "frame_step", "pause"}));
    g_state = 5;
}

TEST(PlayerEngine, AudioSeeksAreRelative)
{
    Recorder r(kAudio);
    Owner owner;
    MPlayer p([] { return g_state; }, &owner);
    p.openMCI(QStringLiteral("/v/tone.mp3"), 1);
    ASSERT_TRUE(p.isAudioOnly());
    r.start(p);
    g_state = 1;
    p.setCurFrame(300, true);  // 30 fps: 10 s ahead of position 0
    EXPECT_EQ(r.sent(), QStringList{"seek 10 0"});
    g_state = 5;
}

TEST(PlayerEngine, NothingToSeekWithoutLength)
{
    Recorder r("ID_VIDEO_WIDTH=320\\nID_VIDEO_HEIGHT=240\\n");
    Owner owner;
    MPlayer p([] { return g_state; }, &owner);
    p.openMCI(QStringLiteral("/v/still.png"), 1);
    EXPECT_TRUE(p.isSuccess());
    r.start(p);
    p.setCurFrame(10, true);
    EXPECT_TRUE(r.sent().isEmpty());
}

} // namespace
