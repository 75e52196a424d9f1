// The slave console: a real player session on a generated clip, and small fake tools
// for the rules the real player cannot show (echoed commands, floods, refusals).
#include "core/cmdoutput.h"
#include "core/console.h"
#include "core/devconsole.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "core/toolprocesses.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

struct Owner final : ConsoleOwner {
    int calls = 0;
    void setStopDosIo() override
    {
        ++calls;
        mdlConsole::StopConsole();  // as every owner does
    }
};

// Reads until the output holds want (or ms pass); returns all that was read.
QString readUntil(const QString &want, int ms = 5000, int *lastResult = nullptr)
{
    QString all;
    (void)QTest::qWaitFor([&] {
        QString text;
        const int r = mdlConsole::ReadConsole(text);
        if (lastResult)
            *lastResult = r;
        all += text;
        return all.contains(want);
    }, ms);
    return all;
}

// Reads until ReadConsole reports nothing waiting from an ended child (the owner is
// called then); returns the output read on the way.
QString readToEnd(Owner &owner, int ms = 5000)
{
    QString all;
    (void)QTest::qWaitFor([&] {
        QString text;
        mdlConsole::ReadConsole(text);
        all += text;
        return owner.calls > 0;
    }, ms);
    return all;
}

// A fake player that idles until it is told "quit".
const QByteArray idleUntilQuit = "while read line; do [ \"$line\" = quit ] && exit 0; done\n";

bool gone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray s = stat.readAll();
    const int close = int(s.lastIndexOf(')'));
    return close > 0 && close + 2 < s.size() && s.at(close + 2) == 'Z';
}

// The pipes a process holds on its descriptors above 2.
QSet<QString> pipesAbove2(const QString &fdDir)
{
    QSet<QString> pipes;
    const QStringList fds = QDir(fdDir).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString &fd : fds) {
        if (fd.toInt() <= 2)
            continue;
        const QString target = QFile::symLinkTarget(fdDir + '/' + fd);
        if (target.contains(QLatin1String("pipe:")))
            pipes.insert(QFileInfo(target).fileName());
    }
    return pipes;
}

class Console : public ::testing::Test {
protected:
    void SetUp() override { dir.activate(); }
    void TearDown() override { mdlConsole::StopConsole(); }
    int start(const QString &args, ConsoleOwner *owner)
    {
        bool show = false;
        return mdlConsole::StartConsole(mdlMavrell::ToolPath(1) + args, owner, show);
    }
    testenv::ProgramDir dir;
};

} // namespace

TEST_F(Console, WithoutOwnerReadLeavesTextAloneAndSendWritesNothing)
{
    QString text = "kept";
    EXPECT_EQ(mdlConsole::ReadConsole(text), mdlConsole::readOk);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(mdlConsole::SendSlave("pause"), mdlConsole::sendFailed);
    EXPECT_FALSE(mdlConsole::IsRunning());
    EXPECT_EQ(mdlConsole::StopConsole(), 0);
}

TEST_F(Console, SendSlavePrefixesPausingAndRefusesLineBreaks)
{
    dir.fakeTool(1, "while read line; do echo \"$line\"; [ \"$line\" = quit ] && exit 0; done\n");
    Owner owner;
    ASSERT_EQ(start("", &owner), mdlConsole::startOk);
    struct Case {
        QString command;
        bool keepPaused;
        int result;
        QString echoed;
    } cases[] = {
        {"seek 10 0", true, 0, "pausing seek 10 0\n"},
        {"seek 10 0", false, 0, "seek 10 0\n"},
        {"pause", true, 0, "pause\n"},
        {"frame_step", true, 0, "frame_step\n"},
        {"Pause", true, 0, "pausing Pause\n"},  // exact case only
        {"loadfile \"vidéo 日本.avi\"", false, 0, "loadfile \"vidéo 日本.avi\"\n"},
        {"seek 1 0\nquit", false, mdlConsole::sendFailed, ""},
        {"seek 1 0\rquit", true, mdlConsole::sendFailed, ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(mdlConsole::SendSlave(c.command, c.keepPaused), c.result) << c.command.toStdString();
        // A marker line closes each case, so a refused command shows as nothing before it.
        mdlConsole::SendSlave("--");
        EXPECT_EQ(readUntil("--\n"), c.echoed + "--\n") << c.command.toStdString();
    }
    EXPECT_EQ(owner.calls, 0);
}

TEST_F(Console, EndedChildIsReportedOnceItsOutputIsRead)
{
    dir.fakeTool(1, "echo last words\n");
    Owner owner;
    ASSERT_EQ(start("", &owner), mdlConsole::startOk);
    EXPECT_EQ(readToEnd(owner), "last words\n");
    EXPECT_EQ(owner.calls, 1);
    EXPECT_FALSE(mdlConsole::IsRunning());
    QString text = "x";
    mdlConsole::ReadConsole(text);  // the owner stays remembered until the next start
    EXPECT_EQ(text, "");
}

TEST_F(Console, OverflowCallsOwnerBackWithEmptyText)
{
    dir.fakeTool(1, "head -c 40000 /dev/zero | tr '\\0' 'x'\n" + idleUntilQuit);
    Owner owner;
    ASSERT_EQ(start("", &owner), mdlConsole::startOk);
    ASSERT_TRUE(QTest::qWaitFor([] { return mdlConsole::PendingBytes() >= 40000; }, 5000));
    QString text = "stale";
    EXPECT_EQ(mdlConsole::ReadConsole(text), mdlConsole::readOk);
    EXPECT_EQ(text, "");
    EXPECT_EQ(owner.calls, 1);
    EXPECT_FALSE(mdlConsole::IsRunning());  // the owner stopped it
}

TEST_F(Console, StopEndsAStubbornChildAndIsHarmlessTwice)
{
    // Deaf to "quit" and immune to SIGTERM: only SIGKILL ends it.
    dir.fakeTool(1, "trap '' TERM\nexec sleep 30\n");
    Owner owner;
    ASSERT_EQ(start("", &owner), mdlConsole::startOk);
    const qint64 pid = mdlConsole::ChildPid();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(mdlConsole::StopConsole(), 0);
    EXPECT_TRUE(gone(pid));
    EXPECT_FALSE(mdlConsole::IsRunning());
    EXPECT_EQ(mdlConsole::StopConsole(), 0);
    EXPECT_EQ(mdlConsole::SendSlave("quit"), mdlConsole::sendFailed);
    EXPECT_EQ(owner.calls, 0);  // stopping is not a breakdown
}

TEST_F(Console, MissingToolStartsNothing)
{
    QFile::remove(dir.pluginPath(1));
    Owner owner;
    EXPECT_EQ(start(" -slave", &owner), mdlConsole::startProcessFailed);
    EXPECT_FALSE(mdlConsole::IsRunning());
}

TEST_F(Console, DestroyedOwnerIsNeverCalled)
{
    dir.fakeTool(1, "sleep 0.2\necho bye\n");
    auto owner = std::make_unique<Owner>();
    ASSERT_EQ(start("", owner.get()), mdlConsole::startOk);
    owner.reset();
    ASSERT_TRUE(QTest::qWaitFor([] { return !mdlConsole::IsRunning(); }, 5000));
    QString text = "kept";
    EXPECT_EQ(mdlConsole::ReadConsole(text), mdlConsole::readOk);
    EXPECT_EQ(text, "kept");
}

TEST_F(Console, NewStartEndsThePreviousChild)
{
    dir.fakeTool(1, idleUntilQuit);
    Owner first, second;
    ASSERT_EQ(start("", &first), mdlConsole::startOk);
    const qint64 before = mdlConsole::ChildPid();
    ASSERT_EQ(start("", &second), mdlConsole::startOk);
    EXPECT_TRUE(gone(before));
    EXPECT_NE(mdlConsole::ChildPid(), before);
    EXPECT_EQ(first.calls, 0);
}

TEST_F(Console, LaterChildrenInheritNoneOfItsPipes)
{
    const QSet<QString> ownAtStart = pipesAbove2("/proc/self/fd");  // from whoever started us
    dir.fakeTool(1, idleUntilQuit);
    Owner owner;
    ASSERT_EQ(start("", &owner), mdlConsole::startOk);
    testenv::ProgramDir other;
    other.fakeTool(3, "for fd in /proc/$$/fd/*; do n=${fd##*/}; [ $n -gt 2 ] && readlink $fd; done; true\n");
    const QString listed = cmdoutput::GetCmdOutput(other.pluginPath(3));
    for (const QString &line : listed.split('\n', Qt::SkipEmptyParts))
        if (line.startsWith("pipe:")) {
            EXPECT_TRUE(ownAtStart.contains(line)) << "inherited " << line.toStdString();
        }
}

TEST_F(Console, DeveloperModeShowsAndMirrors)
{
    dir.fakeTool(1, "echo from the player\n" + idleUntilQuit);
    Owner owner;
    mdlMavrell::showDosOutput = true;
    bool show = false;
    const QString cmd = mdlMavrell::ToolPath(1) + " -slave";
    ASSERT_EQ(mdlConsole::StartConsole(cmd, &owner, show), mdlConsole::startOk);
    mdlMavrell::showDosOutput = false;
    EXPECT_TRUE(show);
    EXPECT_TRUE(devconsole::commandText().endsWith("\r\n" + cmd));
    readUntil("from the player");
    EXPECT_EQ(devconsole::outputText(), "from the player\n");
}

// A leftover is a tool from our folder that no living copy of the program owns: one
// started by hand, one whose copy died (handed to init or a subreaper). Our own tools,
// another copy's, and the user's own player run on.
TEST(KillPlayersIn, EndsLeftoversOnlyNeverALivingCopysToolsNorTheUsersOwnPlayer)
{
    testenv::ProgramDir dir;
    dir.activate();
    const QStringList idle = {"-idle", "-slave", "-quiet", "-nolirc", "-noconfig", "all", "-vo", "null", "-ao", "null"};
    const QString idleLine = dir.pluginPath(1) + ' ' + idle.join(' ');
    QProcess users, byHand;
    users.start("/usr/bin/mplayer", idle);
    byHand.start(dir.pluginPath(1), idle);  // no owner named: as from a shell
    toolprocesses::ToolProcess ours;        // as every tool the program starts
    ASSERT_TRUE(ours.start(idleLine, true));
    // A copy that started a tool and died: the tool names it and lives on without it.
    QProcess copy;
    copy.start("/bin/sh", QStringList{"-c", "MAVRELL_TOOL_OWNER=$$ \"$0\" \"$@\" </dev/null >/dev/null 2>&1 & echo $!",
                                      dir.pluginPath(1)}
                              + idle);
    ASSERT_TRUE(copy.waitForFinished(5000));
    const qint64 orphan = copy.readAllStandardOutput().trimmed().toLongLong();
    ASSERT_GT(orphan, 0);
    ASSERT_TRUE(users.waitForStarted(5000));
    ASSERT_TRUE(byHand.waitForStarted(5000));
    // The kernel fills in the arguments a moment after the start is reported.
    for (qint64 pid : {byHand.processId(), ours.pid(), orphan})
        EXPECT_TRUE(QTest::qWaitFor([&] { return toolprocesses::processArgv0(pid) == dir.pluginPath(1); }, 3000));
    EXPECT_TRUE(toolprocesses::ownedByLivingCopy(ours.pid()));
    EXPECT_FALSE(toolprocesses::ownedByLivingCopy(orphan));
    EXPECT_FALSE(toolprocesses::ownedByLivingCopy(byHand.processId()));

    mdlConsole::KillPlayersIn(mdlMavrell::ToolPrefix());
    EXPECT_TRUE(byHand.waitForFinished(3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return gone(orphan); }, 3000)) << "a dead copy's tool runs on";
    EXPECT_TRUE(ours.isRunning()) << "our own tool was ended";
    EXPECT_EQ(users.state(), QProcess::Running);

    mdlConsole::KillPlayersIn("");  // no folder matches nothing, not everything
    EXPECT_EQ(users.state(), QProcess::Running);
    EXPECT_TRUE(ours.isRunning());
    ours.stop();
    users.kill();
    users.waitForFinished(3000);
    if (!gone(orphan))
        ::kill(pid_t(orphan), SIGKILL);
}

TEST_F(Console, StartingAPlayerLeavesOurRunningEncoderAlone)
{
    // Tool 3 is the real converter here (a fake script's argument 0 is its shell).
    dir.fakeTool(1, idleUntilQuit);
    toolprocesses::ToolProcess encoder;
    ASSERT_TRUE(encoder.start(mdlMavrell::ToolPath(3) + " -nostdin -re -f lavfi -i testsrc=rate=1 -f null -"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return toolprocesses::processArgv0(encoder.pid()) == mdlMavrell::ToolPath(3); }, 3000));
    Owner owner;
    ASSERT_EQ(start("", &owner), mdlConsole::startOk);
    EXPECT_TRUE(encoder.isRunning());
    encoder.stop();
}

TEST_F(Console, RealPlayerPausesSeeksTakesScreenshotAndQuits)
{
    const QString clip = testenv::fixture("mpeg4.avi");
    ASSERT_FALSE(clip.isEmpty());
    QTemporaryDir shots;
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(shots.path());  // the player writes screenshots into its current folder
    Owner owner;
    const int started = start(" -slave -quiet -nolirc -noconfig all -vo null -ao null -vf screenshot \"" + clip + "\"", &owner);
    QDir::setCurrent(oldDir);
    ASSERT_EQ(started, mdlConsole::startOk);
    EXPECT_TRUE(mdlConsole::IsRunning());

    EXPECT_EQ(mdlConsole::SendSlave("pause", true), 0);
    EXPECT_EQ(mdlConsole::SendSlave("seek 2 2", true), 0);
    EXPECT_EQ(mdlConsole::SendSlave("get_time_pos", true), 0);
    QString pos;
    (void)QTest::qWaitFor([&] {
        pos += readUntil("\n", 100);
        return pos.contains(QRegularExpression("ANS_TIME_POSITION=.*\n"));
    }, 5000);
    const QString value = pos.mid(pos.indexOf("ANS_TIME_POSITION=") + 18).section('\n', 0, 0);
    EXPECT_GE(value.toDouble(), 1.5) << pos.toStdString();

    EXPECT_EQ(mdlConsole::SendSlave("screenshot 0", true), 0);
    EXPECT_EQ(mdlConsole::SendSlave("frame_step", true), 0);
    const QString shot = readUntil("shot0001.png'");
    EXPECT_TRUE(shot.contains("*** screenshot 'shot0001.png'")) << shot.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(shots.path() + "/shot0001.png").size() > 0; }, 3000));

    EXPECT_EQ(mdlConsole::SendSlave("quit"), 0);
    const QString rest = readToEnd(owner);
    EXPECT_EQ(owner.calls, 1);
    EXPECT_FALSE(mdlConsole::IsRunning());
}

TEST_F(Console, RealPlayerReachesEndOfFile)
{
    const QString clip = testenv::fixture("mpeg4.avi");
    ASSERT_FALSE(clip.isEmpty());
    Owner owner;
    ASSERT_EQ(start(" -slave -nolirc -noconfig all -vo null -ao null -ss 2.5 \"" + clip + "\"", &owner), mdlConsole::startOk);
    const QString out = readToEnd(owner, 10000);
    EXPECT_EQ(owner.calls, 1);
    EXPECT_TRUE(out.contains("Exiting... (End of file)")) << out.right(300).toStdString();
    EXPECT_TRUE(out.contains("A:")) << "status lines are read too";
}
