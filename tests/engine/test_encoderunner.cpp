// The encoder runner against fake tools: what real tools cannot be made to do on cue
// (stall, crash, flood, be stopped at a known moment).
#include "core/cmdoutput.h"
#include "core/devconsole.h"
#include "engine/encodejob.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <signal.h>

using namespace mdlMavrell;
using encoderunner::EncodeRunLimits;
using encoderunner::runEncodeWithProgress;

namespace {

class EncodeRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        encodetest::clearJob();
        lng[txt::WasInterrupted] = QStringLiteral(" was interrupted");
        lng[txt::ProcessStuck] = QStringLiteral("The tool is stuck.");
        lng[txt::CpuLoad] = QStringLiteral("CPU: ");
        programDir.activate();
    }
    // The pid the fake tool wrote, for checking that it is gone.
    qint64 toolPid() const
    {
        QFile f(tmp.path() + "/pid");
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLongLong() : 0;
    }
    QByteArray pidLine() const { return "echo $$ > '" + QFile::encodeName(tmp.path()) + "/pid'\n"; }
    static bool alive(qint64 pid) { return pid > 0 && ::kill(pid_t(pid), 0) == 0; }

    // The limits of a job whose action word is "Converting".
    static EncodeRunLimits jobLimits()
    {
        EncodeRunLimits limits;
        limits.actionWord = QStringLiteral("Converting");
        return limits;
    }

    testenv::ProgramDir programDir;
    QTemporaryDir tmp;
    encodetest::RecordingWindow window;
    ScriptedPrompts prompts;
};

TEST_F(EncodeRunner, ProgressToACleanEnd)
{
    programDir.fakeTool(2, "printf 'MEncoder banner with s here\\n'\n"
                           "for p in 1.0 2.0 3.0 4.0; do printf 'Pos:   %ss   25f (10%%)\\r' $p; sleep 0.05; done\n"
                           "exit 0\n");
    const auto r = runEncodeWithProgress(ToolPath(2) + " \"in.avi\" -o \"out.avi\"", 10, false, &window, jobLimits());
    EXPECT_TRUE(r.completed());
    EXPECT_EQ(r.percent, 40);  // a clean end is no proof of a whole result: the tool last said 40 %
    EXPECT_EQ(window.progress, (QList<float>{10, 20, 30, 40}));
    EXPECT_EQ(window.started, 1);
    EXPECT_EQ(window.ended, 1);
    EXPECT_EQ(window.encodeShown, 0);  // buttons are the caller's after a normal end
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_FALSE(cmdoutput::stopEncodeFlag);
}

TEST_F(EncodeRunner, ConverterProgressAgainstTheJobsLength)
{
    programDir.fakeTool(3, "printf 'size= 1kB time=00:00:01.00 bitrate= 1kbits/s\\r'\nsleep 0.1\n"
                           "printf 'size= 2kB time=00:00:03.00 bitrate= 1kbits/s\\r'\nexit 1\n");
    const auto r = runEncodeWithProgress(ToolPath(3) + " -y -i \"a.wav\" \"b.mp3\"", 4, false, &window, jobLimits());
    EXPECT_FALSE(r.completed());
    EXPECT_TRUE(r.endedByItself);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.percent, 75);
    EXPECT_EQ(window.progress, (QList<float>{25, 75}));
}

TEST_F(EncodeRunner, SilentToolIsStalledAndEnded)
{
    programDir.fakeTool(2, pidLine() + "printf 'Pos:   1.0s   25f\\r'\nexec sleep 30\n");
    EncodeRunLimits limits = jobLimits();
    limits.silenceMs = 800;
    const auto r = runEncodeWithProgress(ToolPath(2) + " -o x", 10, false, &window, limits);
    EXPECT_TRUE(r.stalled);
    EXPECT_FALSE(r.completed());
    EXPECT_EQ(r.exitCode, cmdoutput::killExitCode);
    EXPECT_TRUE(cmdoutput::stopEncodeFlag);  // so that nothing is reported or retried
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, "The tool is stuck.\r\n\r\nConverting was interrupted");
    EXPECT_EQ(window.encodeShown, 1);
    EXPECT_FALSE(alive(toolPid()));
}

TEST_F(EncodeRunner, StopEndsTheTool)
{
    programDir.fakeTool(2, pidLine() + "while true; do printf 'Pos:   1.0s   25f\\r'; sleep 0.1; done\n");
    // Stop is a click handled while the runner lets the window's events run.
    QTimer::singleShot(400, [] { cmdoutput::stopEncodeFlag = true; });
    const auto r = runEncodeWithProgress(ToolPath(2) + " -o x", 10, false, &window, jobLimits());
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.stalled);
    EXPECT_FALSE(r.completed());
    EXPECT_EQ(r.exitCode, cmdoutput::killExitCode);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, "Converting was interrupted");
    EXPECT_FALSE(alive(toolPid()));
}

TEST_F(EncodeRunner, CrashIsNotAnEnd)
{
    programDir.fakeTool(2, "printf 'Pos:   9.5s   25f\\r'\nkill -SEGV $$\n");
    const auto r = runEncodeWithProgress(ToolPath(2) + " -o x", 10, false, &window, jobLimits());
    EXPECT_TRUE(r.crashed);
    EXPECT_EQ(r.signal, SIGSEGV);
    EXPECT_EQ(r.tool, ToolPath(2));
    EXPECT_FALSE(r.completed());
    EXPECT_EQ(r.percent, 95);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// A tool that prints a lot and ends at once: nothing it printed is lost, the last
// status line counts.
TEST_F(EncodeRunner, FloodIsReadToTheEnd)
{
    programDir.fakeTool(2, "i=0; while [ $i -lt 20000 ]; do printf 'Pos:   1.0s   25f (1%%) 0.00fps Trem: 0min\\r'; "
                           "i=$((i+1)); done\nprintf 'Pos:   8.0s  200f\\r'\nexit 0\n");
    const auto r = runEncodeWithProgress(ToolPath(2) + " -o x", 10, false, &window, jobLimits());
    EXPECT_TRUE(r.completed());
    ASSERT_FALSE(window.progress.isEmpty());
    EXPECT_EQ(window.progress.last(), 80);
}

TEST_F(EncodeRunner, TwoRunsShareOneBarAndTheSecondNeedsTheFirst)
{
    const QByteArray mark = "touch '" + QFile::encodeName(tmp.path()) + "/second'\n";
    programDir.fakeTool(2, "printf 'Pos:   5.0s   25f\\r'\nexit 0\n");
    programDir.fakeTool(3, mark + "printf 'time=00:00:10.00 bitrate=1\\r'\nexit 0\n");
    const QString both = ToolPath(2) + " -o \"a\"\n" + ToolPath(3) + " -i \"a\" \"b\"";
    auto r = runEncodeWithProgress(both, 10, false, &window, jobLimits());
    EXPECT_TRUE(r.completed());
    EXPECT_EQ(window.progress, (QList<float>{45, 99}));
    EXPECT_TRUE(QFile::exists(tmp.path() + "/second"));

    QFile::remove(tmp.path() + "/second");
    programDir.fakeTool(2, "exit 2\n");
    r = runEncodeWithProgress(both, 10, false, &window, jobLimits());
    EXPECT_FALSE(r.completed());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(QFile::exists(tmp.path() + "/second"));
}

// In developer mode the command and everything the tool printed reach the developer
// window, which is brought up when the run is over.
TEST_F(EncodeRunner, DeveloperConsoleGetsCommandAndOutput)
{
    showDosOutput = true;
    programDir.fakeTool(2, "printf 'first line\\n'\nprintf 'Pos:   1.0s   25f\\r'\nexit 0\n");
    const int shows = devconsole::showCount();
    const QString cmd = ToolPath(2) + " \"in.avi\" -o \"out.avi\"";
    runEncodeWithProgress(cmd, 10, false, &window, jobLimits());
    EXPECT_EQ(devconsole::commandText(), devconsole::commandHeader(cmd));
    EXPECT_EQ(devconsole::outputText(), "first line\nPos:   1.0s   25f\r");
    EXPECT_EQ(devconsole::showCount(), shows + 1);
}

// The real tools giving up: their error status and their last own words are kept for
// the report.
TEST_F(EncodeRunner, TheToolsLastMessageIsKept)
{
    const QString src = testenv::fixture("mpeg4.avi");
    struct Case {
        QString command, message;
    } cases[] = {
        {ToolPath(2) + " \"" + src + "\" -ovc copy -oac copy -o \"" + tmp.path() + "/gone/out.avi\"",
         "Cannot open output file '" + tmp.path() + "/gone/out.avi'."},
        {ToolPath(3) + " -y -i \"" + src + "\" -vn -acodec libmp3lame \"" + tmp.path() + "/gone/out.mp3\"",
         tmp.path() + "/gone/out.mp3: No such file or directory"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command.toStdString());
        const auto r = runEncodeWithProgress(c.command, 3, false, &window, jobLimits());
        EXPECT_TRUE(r.endedByItself);
        EXPECT_FALSE(r.crashed);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.lastMessage.endsWith(c.message)) << r.lastMessage.toStdString();
    }
}

TEST_F(EncodeRunner, NothingToRun)
{
    EXPECT_FALSE(runEncodeWithProgress(QString(), 10, false, &window).started);
    EXPECT_EQ(window.started, 0);
    const auto r = runEncodeWithProgress(programDir.appDir() + "plugins/NoSuchTool -o x", 10, false, &window, jobLimits());
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.completed());
    EXPECT_EQ(r.percent, 0);
    EXPECT_EQ(r.tool, programDir.appDir() + "plugins/NoSuchTool");
}

} // namespace
