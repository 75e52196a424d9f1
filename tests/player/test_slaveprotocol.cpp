// The player tool's slave conversation: the start lines and commands as text, the
// readers of its status lines, and a real session of the tool on a generated clip
// (pause, seek, position lines, end of file).
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "player/slaveprotocol.h"
#include "support/testenv.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(SlaveStartLines, PreviewLine)
{
    slaveprotocol::PreviewStart p;
    p.toolPath = QStringLiteral("/app/plugins/OrvexRes1");
    p.fileName = QStringLiteral("/v/a b.avi");
    p.winId = 4711;
    const QString line = slaveprotocol::previewStartLine(p);
    EXPECT_TRUE(line.startsWith(QStringLiteral("/app/plugins/OrvexRes1 \"/v/a b.avi\" -vo xv,gl,x11, -zoom -noautosub -autosync 100")));
    // A start at 0 still carries its time, and the colour key and window stand just before it.
    EXPECT_TRUE(line.endsWith(QStringLiteral(" -colorkey 0x010203 -wid 4711 -ss 00:00:00.0"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral(" -noconfig all -input nodefault-bindings -nomouseinput")));

    p.subtitlePiece = QStringLiteral(" -sub \"/v/a.srt\"");
    p.volumeOpt = QStringLiteral(" -volume 80");
    p.startSeconds = 75.3f;
    const QString withSubs = slaveprotocol::previewStartLine(p);
    EXPECT_FALSE(withSubs.contains(QStringLiteral("-noautosub")));
    EXPECT_TRUE(withSubs.contains(QStringLiteral(" -zoom -sub \"/v/a.srt\" -autosync")));
    EXPECT_TRUE(withSubs.endsWith(QStringLiteral(" -volume 80 -colorkey 0x010203 -wid 4711 -ss 00:01:15.3")))
        << withSubs.toStdString();
}

TEST(SlaveStartLines, PreviewFilePiece)
{
    struct Case { const char *fn; float fps, length; const char *piece; };
    const Case cases[] = {
        {"/v/a.avi", 25, 10, "\"/v/a.avi\""},
        {"/v/anim.GIF", 10, 2, "\"/v/anim.GIF\" -fps 10"},
        {"/v/anim.gif", 10, 0, "\"/v/anim.gif\""},          // no length: no rate
        {"/v/anim.gif", 0, 2, "\"/v/anim.gif\""},           // no rate
        {"/v/img*.gif", 12.5f, 2, "\"mf:///v/img*.gif\" -mf fps=12.5"},  // a pattern never gets the GIF rule
        {"/v.gif/clip", 10, 2, "\"/v.gif/clip\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(slaveprotocol::previewFilePiece(QString::fromUtf8(c.fn), c.fps, c.length), QString::fromUtf8(c.piece)) << c.fn;
}

TEST(SlaveStartLines, PlayerLineAndRange)
{
    const QString line = slaveprotocol::playerStartLine(QStringLiteral("/p/OrvexRes1"), QStringLiteral("/v/a.avi"), 99,
                                                slaveprotocol::rangePiece(0, 750, 750, 25));
    EXPECT_EQ(line, QStringLiteral("/p/OrvexRes1 \"/v/a.avi\" -vo xv,gl,x11, -zoom -autosync 100 -vf-add scale,screenshot"
                                   " -autoq 10 -vf-add pp -slave -identify -idx -nokeepaspect -noaspect -framedrop"
                                   " -osdlevel 0 -noconfig all -input nodefault-bindings -nomouseinput"
                                   " -colorkey 0x010203 -wid 99 -ss 00:00:00.0"));
    EXPECT_EQ(slaveprotocol::rangePiece(0, 0, 750, 25), QString());
    EXPECT_EQ(slaveprotocol::rangePiece(125, 750, 750, 25), QStringLiteral(" -ss 00:00:05.0"));
    EXPECT_EQ(slaveprotocol::rangePiece(125, 375, 750, 25), QStringLiteral(" -ss 00:00:05.0 -endpos 00:00:10.0"));
}

// The tool's own program-stream reader drops most of the sound of many MPEG files
// unless it reads them as non-interleaved; every other file is read as before.
TEST(SlaveStartLines, MpegProgramStreamsAreReadNonInterleaved)
{
    const QString range = slaveprotocol::rangePiece(125, 750, 750, 25);
    for (const char *demuxer : {"mpegps", "avi", "asf", "mpegts", ""}) {
        const bool ni = QLatin1String(demuxer) == QLatin1String("mpegps");
        const QString line = slaveprotocol::playerStartLine(QStringLiteral("/p/OrvexRes1"), QStringLiteral("/v/a.mpg"), 99, range,
                                                    QString::fromLatin1(demuxer));
        EXPECT_TRUE(line.endsWith(ni ? QStringLiteral(" -wid 99 -ni -ss 00:00:05.0") : QStringLiteral(" -wid 99 -ss 00:00:05.0")))
            << demuxer << ": " << line.toStdString();
        slaveprotocol::PreviewStart p;
        p.toolPath = QStringLiteral("/p/OrvexRes1");
        p.fileName = QStringLiteral("/v/a.mpg");
        p.winId = 7;
        p.demuxer = QString::fromLatin1(demuxer);
        EXPECT_EQ(slaveprotocol::previewStartLine(p).contains(QLatin1String(" -ni")), ni) << demuxer;
    }
}

TEST(SlaveCommands, Texts)
{
    EXPECT_EQ(slaveprotocol::seekRelative(-10), QStringLiteral("seek -10 0"));
    EXPECT_EQ(slaveprotocol::seekRelative(2.346), QStringLiteral("seek 2.35 0"));
    EXPECT_EQ(slaveprotocol::seekPercent(12.5), QStringLiteral("seek 12.5 1"));
    EXPECT_EQ(slaveprotocol::seekPercent(100.0 / 3), QStringLiteral("seek 33.33 1"));
    EXPECT_EQ(slaveprotocol::seekPercent(-0.001), QStringLiteral("seek 0 1"));
    EXPECT_EQ(slaveprotocol::volume(73), QStringLiteral("volume 73 1"));
    EXPECT_EQ(slaveprotocol::screenshot(false), QStringLiteral("screenshot 0"));
    EXPECT_EQ(slaveprotocol::screenshot(true), QStringLiteral("screenshot 1"));
}

TEST(SlaveOutput, Position)
{
    struct Case { const char *read; float offset; bool found; float seconds; };
    const Case cases[] = {
        {"A:   2.7 V:   2.7 A-V: -0.000 ct: -0.001  68/ 68  0%  0%  0.1% 5 0 \r", 0, true, 2.7f},
        {"A:  12.3 (12.2) of 30.0 (30.0)  0.5% \r", 0, true, 12.3f},
        {"A:  12.3 (12.2) of 30.0 (30.0)  0.5% \r", 3, true, 9.3f},
        {"V:   1.2  30/ 30  0%  0%  0.0% 0 0 \rV:   1.3  31/ 31  0%  0%  0.0% 0 0 \r", 0, true, 1.3f},
        {"V:  12.34567  30/ 30", 0, true, 12.3f},  // one digit after the point
        // A read holds many status lines: the newest complete one counts, not the first.
        {"A:   0.1 V:   0.1 A-V:  0.0\rA:   0.5 V:   0.5 A-V:  0.0\r", 0, true, 0.5f},
        {"A:   0.0 V:   0.0 A-V:  0.0\rA:   5.0 V:   5.0 A-V:  0.0\rA:   5.", 0, true, 5.0f},
        {"A:  12.3 (12.2) of 30.0\rA:  12.7 (12.6) of 30.0\rA:  12.", 0, true, 12.7f},
        {"V:   1.2  30/ 30\rV:   1.", 0, true, 1.2f},
        {"A:   ?? V:", 0, false, 0},
        {"Starting playback...\n", 0, false, 0},
        {"A:", 0, false, 0},
        {"", 0, false, 0},
    };
    for (const Case &c : cases) {
        float s = -1;
        const bool found = slaveprotocol::parsePosition(QString::fromUtf8(c.read), c.offset, s);
        EXPECT_EQ(found, c.found) << c.read;
        if (c.found) {
            EXPECT_NEAR(s, c.seconds, 1e-4) << c.read;
        }
    }
    EXPECT_EQ(slaveprotocol::parseGifFrame(QStringLiteral("V:   2.0  20/ 20 ??% ??% ??,?% 0 0 \r")), 20);
    EXPECT_EQ(slaveprotocol::parseGifFrame(QStringLiteral("A:   2.0 V:   2.0  20/ 20")), -1);
}

TEST(SlaveOutput, IndexScreenshotAndEnd)
{
    EXPECT_EQ(slaveprotocol::parseIndexProgress(QStringLiteral("Generating Index:  45 %\r")), 45);
    EXPECT_EQ(slaveprotocol::parseIndexProgress(QStringLiteral("Generating Index: 100 %\r")), 99);
    EXPECT_EQ(slaveprotocol::parseIndexProgress(QStringLiteral("generating index:   0 %\r")), 1);
    EXPECT_EQ(slaveprotocol::parseIndexProgress(QStringLiteral("A:   2.7 V:   2.7")), -1);
    // A read that caught the index being built from start to end shows the newest.
    EXPECT_EQ(slaveprotocol::parseIndexProgress(QStringLiteral("Generating Index:   1 %\rGenerating Index:  57 %\r"
                                                       "Generating Index:  98 %\r")), 98);

    EXPECT_EQ(slaveprotocol::parseScreenshot(QStringLiteral("*** screenshot 'shot0001.png' ***\n*** screenshot 'shot0002.png' ***\n")),
              QStringLiteral("shot0002.png"));
    EXPECT_EQ(slaveprotocol::parseScreenshot(QStringLiteral("*** screenshot 'broken")), QString());

    const QString both = QStringLiteral("FATAL: Cannot initialize video driver.\nExiting... (End of file)\n");
    EXPECT_TRUE(slaveprotocol::hasVideoFailure(both));
    EXPECT_TRUE(slaveprotocol::hasVideoFailure(QStringLiteral("Error opening/initializing the selected video_out (-vo) device.\n")));
    EXPECT_TRUE(slaveprotocol::hasExited(QStringLiteral("\nExiting... (Quit)\n")));
    EXPECT_FALSE(slaveprotocol::hasExited(QStringLiteral("Exiting... (Fatal error)")));
    EXPECT_FALSE(slaveprotocol::hasVideoFailure(QStringLiteral("A:   2.7 V:   2.7")));

    // The tool echoes the name and tags it opens: a name or tag holding an end or
    // failure text is no end of play.
    const char *echoes[] = {
        "Playing /v/Exiting... (End of file).avi.\n",
        "ID_FILENAME=/v/Exiting... (Quit).avi\n",
        " Title: Exiting... (Quit)\n",
        "ID_CLIP_INFO_VALUE0=FATAL: Cannot initialize video\n",
        " Comment: Error opening/initializing the selected video_out (-vo) device.\n",
    };
    for (const char *e : echoes) {
        EXPECT_FALSE(slaveprotocol::hasExited(QString::fromUtf8(e))) << e;
        EXPECT_FALSE(slaveprotocol::hasVideoFailure(QString::fromUtf8(e))) << e;
    }
    EXPECT_TRUE(slaveprotocol::hasExited(QStringLiteral("A:   3.9 V:   3.9 A-V:  0.000\r\nExiting... (End of file)\n")));
}

struct Owner final : ConsoleOwner {
    int calls = 0;
    void setStopDosIo() override { ++calls; }
};

// A real session: the tool in slave mode on a 3-second clip without video or sound out.
TEST(SlaveSession, PauseSeekPositionAndEnd)
{
    testenv::ProgramDir dir;
    dir.activate();
    const QString clip = testenv::fixture(QStringLiteral("mpeg4.avi"));
    ASSERT_FALSE(clip.isEmpty());
    Owner owner;
    const QString line = mdlMavrell::ToolPath(1) + QStringLiteral(" \"") + clip + QStringLiteral("\" -vo null -ao null")
        + slaveprotocol::slaveOptionsPiece() + slaveprotocol::isolationPiece();
    bool show = false;
    ASSERT_EQ(mdlConsole::StartConsole(line, &owner, show), 0);

    QString all;
    float pos = -1;
    auto readPosition = [&](int ms) {
        bool found = false;
        (void)QTest::qWaitFor([&] {
            QString s;
            mdlConsole::ReadConsole(s);
            all += s;
            float p = 0;
            if (slaveprotocol::parsePosition(s, 0, p)) {
                pos = p;
                found = true;
            }
            return found;
        }, ms);
        return found;
    };
    ASSERT_TRUE(readPosition(5000)) << all.toStdString();

    // Paused: the tool prints no more positions.
    ASSERT_EQ(mdlConsole::SendSlave(slaveprotocol::cmdPause, false), 0);
    QTest::qWait(300);
    QString drain;
    mdlConsole::ReadConsole(drain);
    EXPECT_FALSE(readPosition(500)) << "position advanced while paused";
    EXPECT_TRUE(mdlConsole::IsRunning());

    // A seek to 50 % that keeps the tool paused, then one frame to show it.
    ASSERT_EQ(mdlConsole::SendSlave(slaveprotocol::seekPercent(50), true), 0);
    ASSERT_EQ(mdlConsole::SendSlave(slaveprotocol::cmdFrameStep, true), 0);
    ASSERT_TRUE(readPosition(3000)) << all.toStdString();
    EXPECT_NEAR(pos, 1.5, 0.5);

    // Resumed, it plays to the end and says so.
    ASSERT_EQ(mdlConsole::SendSlave(slaveprotocol::cmdPause, false), 0);
    QString rest;
    (void)QTest::qWaitFor([&] {
        QString s;
        mdlConsole::ReadConsole(s);
        rest += s;
        return slaveprotocol::hasExited(rest);
    }, 8000);
    EXPECT_TRUE(slaveprotocol::hasExited(rest)) << rest.toStdString();
    EXPECT_TRUE(rest.contains(QStringLiteral("Exiting... (End of file)")));
    EXPECT_FALSE(slaveprotocol::hasVideoFailure(rest));
    mdlConsole::StopConsole();
}

} // namespace
