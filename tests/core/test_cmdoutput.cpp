// The one-shot runner and the process helpers, against the real tools on generated
// clips and against small fake tools for what the real ones cannot show.
#include "core/cmdoutput.h"
#include "core/devconsole.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "core/toolprocesses.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

using namespace cmdoutput;

namespace {

RunLimits quick(int silenceMs = 400)
{
    RunLimits l;
    l.silenceMs = silenceMs;
    return l;
}

bool processGone(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray s = stat.readAll();
    const int close = int(s.lastIndexOf(')'));
    return close > 0 && close + 2 < s.size() && s.at(close + 2) == 'Z';
}

} // namespace

TEST(ToolPaths, ToolNIsPluginsOrvexResN)
{
    testenv::ProgramDir dir;
    dir.activate();
    EXPECT_EQ(mdlMavrell::ToolPath(1), dir.appDir() + "plugins/OrvexRes1");
    EXPECT_EQ(mdlMavrell::ToolPath(3), dir.appDir() + "plugins/OrvexRes3");
    EXPECT_TRUE(mdlMavrell::ToolExists(2));
    QFile::remove(dir.pluginPath(2));
    EXPECT_FALSE(mdlMavrell::ToolExists(2));
    EXPECT_EQ(mdlMavrell::ToolPath(2), dir.appDir() + "plugins/OrvexRes2");  // still named
}

TEST(SplitToolCommand, QuotedFileNamesAndUnquotedToolFolderWithBlanks)
{
    QTemporaryDir tmp(QDir::tempPath() + "/mav rell XXXXXX");
    ASSERT_TRUE(tmp.isValid());
    const QString tool = tmp.path() + "/plugins dir/OrvexRes3";
    QDir().mkpath(tmp.path() + "/plugins dir");
    ASSERT_TRUE(QFile::link("/usr/bin/ffmpeg", tool));
    // A folder named like the first word of the tool's folder is no program.
    const QString nested = tmp.path() + "/tt x/OrvexRes1";
    QDir().mkpath(tmp.path() + "/tt x");
    QDir().mkpath(tmp.path() + "/tt");
    ASSERT_TRUE(QFile::link("/usr/bin/mplayer", nested));

    struct Case {
        QString cmd;
        QStringList want;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"/usr/bin/ffmpeg -i \"/a b/c d.avi\"", {"/usr/bin/ffmpeg", "-i", "/a b/c d.avi"}},
        {"/usr/bin/ffmpeg -i \"vidéo 日本.avi\" -y", {"/usr/bin/ffmpeg", "-i", "vidéo 日本.avi", "-y"}},
        {"/usr/bin/ffmpeg  -ss 1.5   -i \"x\"", {"/usr/bin/ffmpeg", "-ss", "1.5", "-i", "x"}},
        {tool + " -i \"/a b.avi\"", {tool, "-i", "/a b.avi"}},
        {tool, {tool}},
        {nested + " -identify \"a.avi\"", {nested, "-identify", "a.avi"}},
        {"/no/such/tool -i \"x\"", {"/no/such/tool", "-i", "x"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(toolprocesses::splitToolCommand(c.cmd), c.want) << c.cmd.toStdString();
    // And the tool in that folder runs.
    EXPECT_TRUE(GetCmdOutput(tool + " -version").startsWith("ffmpeg version"));
}

TEST(GetCmdOutput, EmptyCommandAndMissingToolStartNothing)
{
    testenv::ProgramDir dir;
    dir.activate();
    QFile::remove(dir.pluginPath(3));
    EXPECT_EQ(GetCmdOutput(""), "");
    const RunResult r = RunTool(mdlMavrell::ToolPath(3) + " -i \"x.avi\"");
    EXPECT_FALSE(r.started);
    EXPECT_EQ(r.output, "");
}

TEST(GetCmdOutput, RealToolOnUtf8NameWithBlanksKeepsTheEndOfItsOutput)
{
    testenv::ProgramDir dir;
    dir.activate();
    const QString clip = testenv::fixture("mpeg4.avi");
    ASSERT_FALSE(clip.isEmpty());
    QTemporaryDir tmp;
    const QString named = tmp.path() + "/vidéo 日本.avi";
    ASSERT_TRUE(QFile::copy(clip, named));

    const RunResult r = RunTool(mdlMavrell::ToolPath(3) + " -i \"" + named + "\"");
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.stalled);
    EXPECT_NE(r.exitCode, killExitCode);
    EXPECT_TRUE(r.output.contains("vidéo 日本.avi")) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains("Duration: 00:00:03.0"));
    // The stream lines and the closing complaint stand at the very end.
    EXPECT_TRUE(r.output.contains("25 tbr"));
    EXPECT_TRUE(r.output.contains("At least one output file must be specified"));

    const QString identify = GetCmdOutput(mdlMavrell::ToolPath(1) + " -identify -frames 0 -vo null -ao null \"" + named + "\"");
    EXPECT_TRUE(identify.contains("ID_VIDEO_WIDTH=320")) << identify.toStdString();
    EXPECT_TRUE(identify.contains("ID_LENGTH="));
}

TEST(GetCmdOutput, FloodIsReturnedWholeAndInOrder)
{
    testenv::ProgramDir dir;
    dir.fakeTool(1, "seq 1 160000\n");
    dir.activate();
    QProcess ref;
    ref.start("seq", {"1", "160000"});
    ASSERT_TRUE(ref.waitForFinished(10000));
    const QString want = QString::fromUtf8(ref.readAll());
    ASSERT_GT(want.size(), 1000000);

    const RunResult r = RunTool(mdlMavrell::ToolPath(1), quick());
    EXPECT_FALSE(r.stalled);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.output == want) << "got " << r.output.size() << " characters of " << want.size();
}

TEST(GetCmdOutput, StallIsEndedAfterSilenceAndKeepsWhatCameBefore)
{
    testenv::ProgramDir dir;
    dir.fakeTool(1, "echo \"first line\"\nexec sleep 30\n");
    dir.activate();
    const RunResult r = RunTool(mdlMavrell::ToolPath(1), quick());
    EXPECT_TRUE(r.stalled);
    EXPECT_EQ(r.exitCode, killExitCode);
    EXPECT_EQ(r.output, "first line\n");
    EXPECT_TRUE(toolprocesses::processesStartedFrom(mdlMavrell::ToolPrefix()).isEmpty());
}

TEST(GetCmdOutput, TalkingToolIsNotStalledWhileItTalks)
{
    // Silence is measured from the last output, not from the start.
    testenv::ProgramDir dir;
    dir.fakeTool(1, "for i in 1 2 3 4 5 6; do echo $i; sleep 0.3; done\n");
    dir.activate();
    const RunResult r = RunTool(mdlMavrell::ToolPath(1), quick(1200));
    EXPECT_FALSE(r.stalled);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "1\n2\n3\n4\n5\n6\n");
}

TEST(GetCmdOutput, CrashKeepsOutputAndIsNotAKill)
{
    testenv::ProgramDir dir;
    dir.fakeTool(3, "echo before the crash\nkill -SEGV $$\n");
    dir.activate();
    const RunResult r = RunTool(mdlMavrell::ToolPath(3), quick());
    EXPECT_TRUE(r.crashed);
    EXPECT_FALSE(r.stalled);
    EXPECT_NE(r.exitCode, killExitCode);
    EXPECT_EQ(r.output, "before the crash\n");
}

TEST(GetCmdOutput, CharacterSplitAcrossReadsSurvivesAndCrLfIsKept)
{
    testenv::ProgramDir dir;
    dir.fakeTool(1, "printf 'a\\346\\227'\nsleep 0.3\nprintf '\\245b\\r\\n'\n");
    dir.activate();
    EXPECT_EQ(GetCmdOutput(mdlMavrell::ToolPath(1)), QString::fromUtf8("a日b\r\n"));
}

TEST(GetCmdOutput, WindowEventsRunWhileTheToolRuns)
{
    testenv::ProgramDir dir;
    dir.fakeTool(1, "sleep 0.4\necho done\n");
    dir.activate();
    bool fired = false;
    QTimer::singleShot(50, [&] { fired = true; });
    EXPECT_EQ(GetCmdOutput(mdlMavrell::ToolPath(1)), "done\n");
    EXPECT_TRUE(fired);
}

TEST(GetCmdOutput, ToolReadsNoInput)
{
    // Standard input is the null device: a tool that asks a question reads the end of
    // the input at once instead of waiting for an answer nobody gives.
    testenv::ProgramDir dir;
    dir.fakeTool(1, "read answer; echo \"answer=[$answer] $?\"\n");
    dir.activate();
    const RunResult r = RunTool(mdlMavrell::ToolPath(1), quick(2000));
    EXPECT_FALSE(r.stalled);
    EXPECT_EQ(r.output, "answer=[] 1\n");
}

TEST(GetCmdOutput, DeveloperModeMirrorsCommandAndOutput)
{
    testenv::ProgramDir dir;
    dir.fakeTool(1, "echo mirrored\n");
    dir.activate();
    const int shown = devconsole::showCount();
    mdlMavrell::showDosOutput = true;
    const QString cmd = mdlMavrell::ToolPath(1) + " -x \"a b\"";
    GetCmdOutput(cmd);
    mdlMavrell::showDosOutput = false;
    EXPECT_EQ(devconsole::commandText(), QString("目前的路徑 = ") + QDir::currentPath() + "\r\n" + cmd);
    EXPECT_EQ(devconsole::outputText(), "mirrored\n");
    EXPECT_EQ(devconsole::showCount(), shown + 1);

    GetCmdOutput(cmd);  // developer mode off: nothing more is mirrored
    EXPECT_EQ(devconsole::showCount(), shown + 1);
}

// Run in a child copy of this test program: starts a tool, prints its pid and dies
// at once, without any clean-up.
TEST(DeathSignal, HelperStartsToolAndDies)
{
    const QByteArray dir = qgetenv("MAVRELL_PDEATH_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "only run as the helper of ChildDiesWithTheProgram";
    mdlMavrell::appDir = QString::fromLocal8Bit(dir);
    auto *tool = new toolprocesses::ToolProcess;  // never deleted: the program just dies
    if (!tool->start(mdlMavrell::ToolPath(1)))
        _exit(2);
    printf("PID=%lld\n", tool->pid());
    fflush(stdout);
    _exit(0);
}

TEST(DeathSignal, ChildDiesWithTheProgram)
{
    testenv::ProgramDir dir;
    dir.fakeTool(1, "exec sleep 30\n");
    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MAVRELL_PDEATH_DIR", dir.appDir());
    helper.setProcessEnvironment(env);
    helper.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=DeathSignal.HelperStartsToolAndDies"});
    ASSERT_TRUE(helper.waitForFinished(20000));
    const QString out = QString::fromLocal8Bit(helper.readAll());
    const int at = int(out.indexOf("PID="));
    ASSERT_GE(at, 0) << out.toStdString();
    const qint64 pid = out.mid(at + 4).section('\n', 0, 0).toLongLong();
    ASSERT_GT(pid, 0);
    bool gone = false;
    for (int i = 0; i < 200 && !gone; ++i) {
        gone = processGone(pid);
        if (!gone)
            usleep(10000);
    }
    EXPECT_TRUE(gone) << "tool " << pid << " outlived the program";
    if (!gone)
        ::kill(pid_t(pid), SIGKILL);
}

// The runner's side of bench/bench_cmdoutput.sh: with MAVRELL_BENCH_RUNS set, runs the
// player's identify probe that many times through GetCmdOutput and prints the total.
TEST(Bench, IdentifyThroughRunner)
{
    const int runs = qEnvironmentVariableIntValue("MAVRELL_BENCH_RUNS");
    if (runs <= 0)
        GTEST_SKIP() << "run by bench/bench_cmdoutput.sh";
    testenv::ProgramDir dir;
    dir.activate();
    const QString clip = testenv::fixture("mpeg4.avi");
    ASSERT_FALSE(clip.isEmpty());
    const QString cmd = mdlMavrell::ToolPath(1) + " -identify -ao null -vo null -frames 0 \"" + clip + "\"";
    GetCmdOutput(cmd);  // warm the caches, as the direct runs will find them
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < runs; ++i)
        EXPECT_TRUE(GetCmdOutput(cmd).contains("ID_LENGTH="));
    printf("CLIP=%s\nRUNNER_MS=%lld\n", clip.toUtf8().constData(), t.elapsed());
}
