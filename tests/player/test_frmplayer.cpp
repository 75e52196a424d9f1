// The player window offscreen: its looks through play, pause and stop with the real
// player (no picture or sound out), the end of a file, a file it cannot play, the
// keys, the volume and seek commands it sends (a fake player records them), drops,
// the open menu and its settings file.
#include "controls/orvexbutton.h"
#include "core/console.h"
#include "core/mdlmavrell.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "player/frmplayer.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>

void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

void fillTexts()
{
    for (int n = 1; n < mdlMavrell::lngSize; ++n)
        mdlMavrell::lng[n] = QStringLiteral("L%1").arg(n, 3, 10, QLatin1Char('0'));
}

// The states of Play, Pause, Stop, Back, Forward.
std::vector<int> looks(FrmPlayer &w)
{
    return {w.mbPlay->State(), w.mbPause->State(), w.mbStop->State(), w.mbBackward->State(), w.mbForward->State()};
}

class PlayerWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillTexts();
        jobstate::previewState.playerMode = 0;
        dir.activate();
        // The real player with no picture and no sound out.
        dir.fakeTool(1, "exec /usr/bin/mplayer \"$@\" -vo null -ao null\n");
    }
    void TearDown() override
    {
        unloadFrmPlayer();
        mdlConsole::StopConsole();
    }
    QString ini() const { return dir.appDir() + QStringLiteral("Tessaly.ini"); }
    testenv::ProgramDir dir;
};

TEST_F(PlayerWindow, LoadThenUnload)
{
    FrmPlayer &w = frmPlayer();
    EXPECT_TRUE(mdlMavrell::playerOpen);
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" Tessaly"));
    EXPECT_TRUE(w.lblFnName->text().isEmpty());  // the language step clears the stopped text
    EXPECT_EQ(w.myStatus, 5);
    EXPECT_EQ(looks(w), (std::vector<int>{3, 3, 3, 3, 3}));
    EXPECT_EQ(w.mbSound->State(), 3);
    EXPECT_EQ(w.picVolPosTag, QStringLiteral("1000"));
    EXPECT_EQ(w.mnuOpen->text(), QStringLiteral("L165"));
    EXPECT_TRUE(w.mnuKeepWH->isChecked());
    EXPECT_FALSE(w.mnuTopMost->isChecked());

    jobstate::previewState.playerMode = 2;
    unloadFrmPlayer();
    EXPECT_FALSE(mdlMavrell::playerOpen);
    EXPECT_EQ(jobstate::previewState.playerMode, 0);
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("MainRect=")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\nKeepWH=True\r\nTopMost=False\r\nMciVol=1000\r\n"))) << text.toStdString();
}

TEST_F(PlayerWindow, SettingsRoundTrip)
{
    const QByteArray saved = "MainRect=1500,3000\r\nKeepWH=False\r\nTopMost=False\r\nMciVol=735\r\n";
    {
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(saved);
    }
    FrmPlayer &w = frmPlayer();
    EXPECT_EQ(w.geometry().topLeft(), QPoint(100, 200));
    EXPECT_FALSE(w.mnuKeepWH->isChecked());
    EXPECT_EQ(w.picVolPosTag, QStringLiteral("735"));
    unloadFrmPlayer();
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), saved);
}

TEST_F(PlayerWindow, StoredValuesOutOfRangeAreKeptInRangeAndOnTheScreen)
{
    struct Case {
        const char *file;
        int volume;  // what the window uses and writes back
    };
    const Case cases[] = {
        {"MainRect=1500,3000\r\nMciVol=99999\r\n", 1000},
        {"MainRect=1500,3000\r\nMciVol=-50\r\n", 1000},  // no volume: the default, not silence
        {"MainRect=1500,3000\r\nMciVol=123456789012345678901234567890\r\n", 1000},
        {"MainRect=15000000000,3\r\nMciVol=500\r\n", 500},
        {"MainRect=-99999,-99999\r\nMciVol=500\r\n", 500},
        {"MainRect=99999,99999\r\nMciVol=500\r\n", 500},
    };
    for (const Case &c : cases) {
        {
            QFile f(ini());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.file);
        }
        FrmPlayer &w = frmPlayer();
        const QRect screen = w.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(w.frameGeometry())) << c.file << " at " << w.x() << "," << w.y();
        EXPECT_EQ(w.picVolPosTag, QString::number(c.volume)) << c.file;
        // The knob stands on its track.
        const int centre = w.picVolPos->x() + w.picVolPos->width() / 2;
        EXPECT_GE(centre, w.picVolSdr->x()) << c.file;
        EXPECT_LE(centre, w.picVolSdr->x() + w.picVolSdr->width()) << c.file;
        const QPoint at = w.geometry().topLeft();
        unloadFrmPlayer();
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(text.startsWith(QStringLiteral("MainRect=%1,%2\r\n").arg(at.x() * 15).arg(at.y() * 15)))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("MciVol=%1\r\n").arg(c.volume))) << text.toStdString();
    }
}

TEST_F(PlayerWindow, AVideoLargerThanTheScreenKeepsTheBarOnIt)
{
    // The big preview screen sizes itself to the source's size.
    jobstate::previewState.playerMode = 1;
    jobstate::sourceInfo.srcWidth = 1600;
    jobstate::sourceInfo.srcHeight = 1200;
    FrmPlayer &w = frmPlayer();
    w.show();
    w.myPutSize(true);
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.frameGeometry())) << w.width() << "x" << w.height();
    const QRect bar(w.mapToGlobal(w.picPlusBk->pos()), w.picPlusBk->size());
    EXPECT_TRUE(screen.contains(bar));
    // The picture keeps the source's shape inside what is left.
    EXPECT_NEAR(double(w.picPlayer->width()) / w.picPlayer->height(), 4.0 / 3.0, 0.02);
    jobstate::previewState.playerMode = 0;
    jobstate::sourceInfo.srcWidth = jobstate::sourceInfo.srcHeight = 0;
}

TEST_F(PlayerWindow, ANameWithADoubleQuoteNeverOpensAnotherFile)
{
    ScriptedPrompts prompts;
    QTemporaryDir folder;
    const QString quoted = folder.path() + QStringLiteral("/say \"hi\".avi");
    const QString other = folder.path() + QStringLiteral("/say hi.avi");
    ASSERT_TRUE(QFile::copy(testenv::fixture(QStringLiteral("mpeg4.avi")), quoted));
    ASSERT_TRUE(QFile::copy(testenv::fixture(QStringLiteral("mpeg4.avi")), other));

    FrmPlayer &w = frmPlayer();
    w.playSingle(quoted);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastText().startsWith(QStringLiteral("L010"))) << prompts.lastText().toStdString();
    EXPECT_TRUE(prompts.lastText().contains(quoted));
    EXPECT_NE(w.player().FileName(), other);
    EXPECT_FALSE(mdlConsole::IsRunning());
    EXPECT_EQ(w.myStatus, 5);

    // A name handed over wrapped in double quotes plays without them.
    w.playSingle(QLatin1Char('"') + other + QLatin1Char('"'));
    EXPECT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(w.player().FileName(), other);
    EXPECT_EQ(w.myStatus, 1);
}

TEST_F(PlayerWindow, PlayPauseStop)
{
    const QString clip = testenv::fixture(QStringLiteral("long.avi"));
    FrmPlayer &w = frmPlayer();
    w.playSingle(QStringLiteral("\"") + clip + QStringLiteral("\""));
    EXPECT_EQ(w.player().FileName(), clip);
    EXPECT_EQ(w.myStatus, 1);
    EXPECT_EQ(looks(w), (std::vector<int>{2, 0, 0, 0, 0}));
    EXPECT_EQ(w.mbSound->State(), 0);
    EXPECT_TRUE(w.tmrCheck.isActive());
    EXPECT_TRUE(mdlConsole::IsRunning());
    EXPECT_EQ(w.seekTotalFrames, 500);
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral(" long.avi  - ( ")));

    // Progress follows playback.
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.lblFnName->text().startsWith(QStringLiteral("L177 ")) &&
                                             w.lblFnName->text() != QStringLiteral("L177 0 %"); }, 5000))
        << w.lblFnName->text().toStdString();

    w.mbPause_Click();
    EXPECT_EQ(w.myStatus, 4);
    EXPECT_EQ(looks(w), (std::vector<int>{0, 2, 0, 0, 0}));
    EXPECT_TRUE(w.lblFnName->text().startsWith(QStringLiteral("L182 ")));

    w.Form_KeyDown(32, 0);  // Space while paused plays on
    EXPECT_EQ(w.myStatus, 1);
    EXPECT_EQ(looks(w), (std::vector<int>{2, 0, 0, 0, 0}));

    w.mbStop_Click();
    EXPECT_EQ(w.myStatus, 5);
    EXPECT_EQ(looks(w), (std::vector<int>{0, 3, 0, 3, 3}));
    EXPECT_EQ(w.lblFnName->text(), QStringLiteral("L180"));
    EXPECT_FALSE(w.tmrCheck.isActive());
    EXPECT_FALSE(mdlConsole::IsRunning());

    // Play from the stopped state restarts the file.
    w.mbPlay_Click();
    EXPECT_EQ(w.myStatus, 1);
    EXPECT_TRUE(mdlConsole::IsRunning());
    EXPECT_TRUE(w.player().lastStartLine().endsWith(QStringLiteral(" -ss 00:00:00.0")));
}

TEST_F(PlayerWindow, PlaysToTheEnd)
{
    FrmPlayer &w = frmPlayer();
    w.playSingle(testenv::fixture(QStringLiteral("mpeg4.avi")));
    ASSERT_EQ(w.myStatus, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.myStatus == 5; }, 10000));
    EXPECT_EQ(w.lblFnName->text(), QStringLiteral("L180"));
    EXPECT_EQ(looks(w), (std::vector<int>{0, 3, 0, 3, 3}));
    EXPECT_FALSE(mdlConsole::IsRunning());
}

// An MPEG program's times start at 0.5 s, so its last ones lie past the length: the
// progress stops at 100 % and the thumb at the end of the track.
TEST_F(PlayerWindow, ProgressEndsAtTheEndOfTheTrack)
{
    FrmPlayer &w = frmPlayer();
    w.playSingle(testenv::fixture(QStringLiteral("mpeg1.mpg")));
    ASSERT_EQ(w.myStatus, 1);
    int highest = 0, rightmost = 0;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QString text = w.lblFnName->text();
            if (text.startsWith(QStringLiteral("L177 ")))
                highest = std::max(highest, text.mid(5).section(QLatin1Char(' '), 0, 0).toInt());
            rightmost = std::max(rightmost, w.picHsb2->x() + w.picHsb2->width() / 2);
            return w.myStatus == 5;
        },
        10000));
    EXPECT_GE(highest, 90);
    EXPECT_LE(highest, 100);
    EXPECT_LE(rightmost, w.picHsb->x() + w.picHsb->width());
}

TEST_F(PlayerWindow, CannotPlay)
{
    QTemporaryDir tmp;
    FrmPlayer &w = frmPlayer();
    w.playSingle(tmp.path() + QStringLiteral("/missing.avi"));
    EXPECT_EQ(w.myStatus, 5);
    EXPECT_EQ(w.lblFnName->text(), QStringLiteral("L178"));
    EXPECT_FALSE(w.lblPlayerNote->isVisible());
    EXPECT_EQ(looks(w), (std::vector<int>{0, 3, 0, 3, 3}));
    EXPECT_FALSE(mdlConsole::IsRunning());
    // Play tries the same file again, with the same answer.
    w.mbPlay_Click();
    EXPECT_EQ(w.lblFnName->text(), QStringLiteral("L178"));
    EXPECT_EQ(w.myStatus, 5);
}

// A file whose probe takes long: the fake player sleeps on the probe of any file named
// "slow" (one process, so that stopping it stops the sleep) and is the real player
// otherwise. What the user does meanwhile runs inside the probe's event loop.
class SlowOpening : public PlayerWindow {
protected:
    void SetUp() override
    {
        PlayerWindow::SetUp();
        dir.fakeTool(1, "case \"$*\" in\n"
                        " *'-frames 0'*slow*) exec perl -e 'select(undef, undef, undef, 4); exec @ARGV' "
                        "/usr/bin/mplayer \"$@\" -vo null -ao null ;;\n"
                        "esac\n"
                        "exec /usr/bin/mplayer \"$@\" -vo null -ao null\n");
        slow = dir.appDir() + QStringLiteral("slow.avi");
        ASSERT_TRUE(QFile::copy(testenv::fixture(QStringLiteral("long.avi")), slow));
    }
    // Opens the slow file with the user's action due after ms.
    void openSlowly(FrmPlayer &w, int ms, std::function<void()> action)
    {
        QTimer::singleShot(ms, &w, std::move(action));
        w.playSingle(slow);
    }
    QString slow;
};

TEST_F(SlowOpening, ClosingOrUnloadingWhileAFileOpensEndsTheOpeningAndThenTheWindow)
{
    const std::pair<const char *, std::function<void(FrmPlayer &)>> closes[] = {
        {"Exit of the pop-up menu", [](FrmPlayer &w) { w.mnuEnd->trigger(); }},
        {"the window's close button", [](FrmPlayer &w) { w.close(); }},
        {"unloaded by another window", [](FrmPlayer &) { unloadFrmPlayer(); }},
    };
    for (const auto &[how, close] : closes) {
        SCOPED_TRACE(how);
        FrmPlayer &w = frmPlayer();
        w.show();
        QPointer<FrmPlayer> alive(&w);
        bool menuOpened = true;
        openSlowly(w, 300, [&] {
            // The bar's pop-up menu stays shut while the file opens.
            QTest::mouseClick(w.picBnBk, Qt::RightButton, {}, QPoint(150, 10));
            menuOpened = w.mnuMain->isVisible();
            close(w);
        });
        ASSERT_TRUE(alive);  // still running in it: not deleted under playSingle
        EXPECT_FALSE(menuOpened);
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 3000));
        EXPECT_FALSE(frmPlayerLoaded());
        EXPECT_FALSE(mdlConsole::IsRunning());
        QTest::qWait(200);
        EXPECT_FALSE(mdlConsole::IsRunning()) << "the file plays after all";
    }
}

TEST_F(SlowOpening, StopEndsTheOpeningAndALaterFileHasItsOwnLength)
{
    const QString clip = testenv::fixture(QStringLiteral("mpeg4.avi"));
    FrmPlayer &w = frmPlayer();
    w.show();
    openSlowly(w, 300, [&] { w.mbStop_Click(); });
    EXPECT_EQ(w.myStatus, 5);
    EXPECT_FALSE(w.isBusy);
    EXPECT_EQ(w.lblFnName->text(), QStringLiteral("L180"));
    QTest::qWait(4500);  // past the slow probe's end
    EXPECT_FALSE(mdlConsole::IsRunning()) << "the stopped file plays after all";

    // Stop, then another file dropped while the first one's probe would still run.
    QMimeData data;
    data.setText(clip);
    openSlowly(w, 300, [&] {
        w.mbStop_Click();
        QTimer::singleShot(200, &w, [&] { w.Form_OLEDragDrop(&data); });
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.myStatus == 1; }, 3000));
    EXPECT_EQ(w.player().FileName(), clip);
    EXPECT_EQ(w.player().getTotalSeconds(), 3.0f);
    EXPECT_EQ(w.seekTotalFrames, 75);
    QTest::qWait(4500);
    EXPECT_TRUE(w.player().lastStartLine().contains(clip));
    EXPECT_EQ(w.player().getTotalSeconds(), 3.0f);

    // A file asked for while another one opens follows it, with its own length.
    openSlowly(w, 300, [&] { w.playSingle(clip); });
    EXPECT_EQ(w.myStatus, 1);
    EXPECT_EQ(w.player().FileName(), clip);
    EXPECT_EQ(w.seekTotalFrames, 75);
}

// The player echoes the name and the tags of what it opens: a name or a title that
// holds its end text is no end of play.
TEST_F(PlayerWindow, ANameOrTagHoldingTheEndTextStillPlays)
{
    QTemporaryDir tmp;
    const QString source = testenv::fixture(QStringLiteral("long.avi"));
    const QString named = tmp.path() + QStringLiteral("/Exiting... (End of file).avi");
    ASSERT_TRUE(QFile::copy(source, named));
    const QString tagged = tmp.path() + QStringLiteral("/tagged.avi");
    ASSERT_EQ(QProcess::execute(QStringLiteral("ffmpeg"),
                                {"-v", "error", "-y", "-i", source, "-c", "copy", "-metadata",
                                 "title=Exiting... (Quit)", tagged}),
              0);
    for (const QString &clip : {named, tagged}) {
        SCOPED_TRACE(clip.toStdString());
        FrmPlayer &w = frmPlayer();
        w.playSingle(clip);
        ASSERT_EQ(w.myStatus, 1);
        QTest::qWait(2000);
        EXPECT_EQ(w.myStatus, 1);
        EXPECT_TRUE(mdlConsole::IsRunning());
        w.mbStop_Click();
    }
}

TEST_F(PlayerWindow, KeysOnlyWhereTheButtonsAllow)
{
    FrmPlayer &w = frmPlayer();
    w.Form_KeyDown(32, 0);  // Play and Pause disabled: nothing
    w.Form_KeyDown(37, 0);
    w.Form_KeyDown(39, 0);
    EXPECT_EQ(w.myStatus, 5);
    EXPECT_FALSE(mdlConsole::IsRunning());
    EXPECT_EQ(w.lblFnName->text(), QString());
}

// A fake player: the probe gets a 20-second clip at 25 frames per second, a slave run
// reports a position of 15 s once and records what it is sent.
class RecordingWindow : public PlayerWindow {
protected:
    void SetUp() override
    {
        fillTexts();
        jobstate::previewState.playerMode = 0;
        dir.activate();
        log = dir.appDir() + QStringLiteral("stdin.log");
        dir.fakeTool(1, "case \"$*\" in\n"
                        " *-identify*-frames*) printf 'ID_VIDEO_WIDTH=320\\nID_VIDEO_HEIGHT=240\\nID_VIDEO_FPS=25\\n"
                        "ID_LENGTH=20.00\\nID_AUDIO_CODEC=mpg123\\n' ;;\n"
                        " *) printf 'A:  15.0 V:  15.0 A-V:  0.000\\r'\n"
                        "    while read -r l; do echo \"$l\" >> '" + log.toUtf8() + "'\n"
                        "      case \"$l\" in *seek*) printf 'A:   3.0 V:   3.0\\r' ;; esac\n"
                        "    done ;;\nesac\n");
        clip = dir.appDir() + QStringLiteral("clip.avi");
        QFile f(clip);
        f.open(QIODevice::WriteOnly);
    }
    QStringList sent()
    {
        QTest::qWait(100);
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        f.close();
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);  // the fake keeps appending to it
        lines.removeAll(QStringLiteral("quit"));
        return lines;
    }
    QString log, clip;
};

TEST_F(RecordingWindow, VolumeAndMute)
{
    FrmPlayer &w = frmPlayer();
    w.picVolPosTag = QStringLiteral("735");
    w.playSingle(clip);
    ASSERT_EQ(w.myStatus, 1);
    EXPECT_EQ(sent(), QStringList{"volume 73 1"});  // the stored volume reaches a new player

    w.mbSound->setState(2);  // the toggle went down: muted
    w.mbSound_Click();
    w.picVolSdr_MouseDown(1, 500);  // ignored while muted
    w.mbSound->setState(0);
    w.mbSound_Click();
    w.picVolSdr_MouseDown(2, 500);  // right button: ignored
    w.picVolSdr_MouseDown(1, 500);
    EXPECT_EQ(sent(), (QStringList{"volume 0 1", "volume 73 1", "volume 50 1"}));
    EXPECT_EQ(w.picVolPosTag, QStringLiteral("500"));
}

TEST_F(RecordingWindow, TenSecondsAndTheSeekBar)
{
    FrmPlayer &w = frmPlayer();
    w.playSingle(clip);
    ASSERT_EQ(w.myStatus, 1);
    sent();
    // At 15 s of 20, ten seconds on passes the end: stopped.
    QTest::qWait(200);
    w.mbForward_Click();
    EXPECT_EQ(w.myStatus, 5);

    w.mbPlay_Click();
    ASSERT_EQ(w.myStatus, 1);
    QTest::qWait(200);
    w.mbBackward_Click();  // 15 s back, still playing; the fake then reports 3 s
    EXPECT_EQ(w.myStatus, 1);
    QTest::qWait(200);
    w.mbBackward_Click();  // from 3 s past the start: paused on frame 0
    EXPECT_EQ(w.myStatus, 4);
    EXPECT_EQ(looks(w), (std::vector<int>{0, 2, 0, 0, 0}));
    // A click at the track's left end seeks to frame 0.
    w.picHsb_MouseUp(1, 0);
    EXPECT_EQ(sent(), (QStringList{"volume 100 1", "seek 25 1", "pausing seek 0 1", "frame_step", "pausing seek 0 1", "frame_step"}));

    // Paused, every layout shows the still frame again.
    w.myPutSize(false);
    EXPECT_EQ(sent(), QStringList{"frame_step"});

    // The thumb dragged past either end stops at the track's end and seeks there.
    const int lo = w.picHsb->x(), hi = w.picHsb->x() + w.picHsb->width();
    w.dragSeekThumb(1, 10000, false);
    EXPECT_EQ(w.picHsb2->x() + w.picHsb2->width() / 2, hi);
    w.dragSeekThumb(1, 10000, true);
    w.dragSeekThumb(1, -10000, false);
    EXPECT_EQ(w.picHsb2->x() + w.picHsb2->width() / 2, lo);
    w.dragSeekThumb(1, -10000, true);
    w.dragSeekThumb(2, 0, true);  // not the left button: nothing
    EXPECT_EQ(sent(), (QStringList{"pausing seek 100 1", "frame_step", "pausing seek 0 1", "frame_step"}));

    // After a drop of the thumb, three ticks leave it alone.
    w.picHsb2Tag = QStringLiteral("3");
    for (int i = 0; i < 3; ++i)
        w.tmrCheck_Timer();
    EXPECT_EQ(w.picHsb2Tag, QStringLiteral("0"));
}

TEST_F(RecordingWindow, PlayerEndNoticedOutsideTheTick)
{
    FrmPlayer &w = frmPlayer();
    w.playSingle(clip);
    ASSERT_EQ(w.myStatus, 1);
    w.tmrCheck.stop();  // only the layout reads now
    w.tmrCheck.start(100000);
    ASSERT_GT(mdlConsole::ChildPid(), 0);
    // Everything the player printed is read before it dies.
    ASSERT_TRUE(QTest::qWaitFor([&] { w.player().getCurFrame(); return w.player().curSeconds() > 0; }, 3000));
    ::kill(pid_t(mdlConsole::ChildPid()), SIGKILL);
    (void)QTest::qWaitFor([] { return !mdlConsole::IsRunning(); }, 2000);
    w.myPutSize(false);  // places the thumb: its read finds the player gone
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.myStatus == 5; }, 1000));
    EXPECT_EQ(w.lblFnName->text(), QStringLiteral("L180"));
    EXPECT_FALSE(w.tmrCheck.isActive());
}

TEST_F(RecordingWindow, DropsAndOpenMenu)
{
    FrmPlayer &w = frmPlayer();
    QMimeData data;
    QString doubled = clip;
    doubled.replace(QLatin1Char('/'), QStringLiteral("//"));
    data.setText(doubled);

    w.isBusy = true;
    w.Form_OLEDragDrop(&data);
    EXPECT_FALSE(w.tmrDrag.isActive());
    w.isBusy = false;
    jobstate::previewState.playerMode = 2;
    w.Form_OLEDragDrop(&data);
    EXPECT_FALSE(w.tmrDrag.isActive());
    jobstate::previewState.playerMode = 0;

    w.Form_OLEDragDrop(&data);
    EXPECT_TRUE(w.tmrDrag.isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.myStatus == 1; }, 3000));
    EXPECT_EQ(w.player().FileName(), clip);

    // A cancelled open dialog leaves the player stopped.
    ScriptedPrompts prompts;
    prompts.cancelFile();
    w.mnuOpen_Click();
    EXPECT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(w.myStatus, 5);
    EXPECT_FALSE(mdlConsole::IsRunning());
    prompts.answerFile(clip);
    w.mnuOpen_Click();
    EXPECT_EQ(w.myStatus, 1);
}

TEST_F(RecordingWindow, BigScreenKeepsThePreviewPlayer)
{
    // The preview's player runs; the borrowed window's load must not end it.
    struct Owner final : ConsoleOwner {
        void setStopDosIo() override {}
    } owner;
    bool show = false;
    ASSERT_EQ(mdlConsole::StartConsole(dir.pluginPath(1) + QStringLiteral(" -slave \"x\""), &owner, show), 0);
    ASSERT_TRUE(QTest::qWaitFor([] { return mdlConsole::IsRunning(); }, 2000));
    jobstate::previewState.playerMode = 1;
    FrmPlayer &w = frmPlayer();
    EXPECT_TRUE(mdlConsole::IsRunning());

    QString tag = QStringLiteral("Pause");
    w.previewTag = [&] { return tag; };
    w.setPreviewTag = [&](const QString &t) { tag = t; };
    w.picPlayer_MouseDown(1);
    EXPECT_EQ(tag, QStringLiteral("Play"));
    w.picPlayer_MouseDown(1);
    EXPECT_EQ(tag, QStringLiteral("Pause"));
    EXPECT_EQ(w.myStatus, 5);
    EXPECT_EQ(sent(), (QStringList{"pause", "pause"}));
}

} // namespace
