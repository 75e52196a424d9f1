// SIGTERM while a conversion runs (a shutdown, a logout): the tool is ended, the
// unfinished target removed, nothing is shown, and the program's loop is told to end.
// A program of its own: the signal's mark stays for the rest of the process.
#include "core/quitsignals.h"
#include "core/toolpaths.h"
#include "core/toolprocesses.h"
#include "engine/encodejob.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace mdlMavrell;

namespace {

TEST(QuitSignal, TermDuringARunLeavesNoResultAndNoTool)
{
    testenv::ProgramDir programDir;
    QTemporaryDir tmp;
    const QString src = tmp.path() + "/in.avi", dst = tmp.path() + "/out.avi", pidFile = tmp.path() + "/pid";
    ASSERT_TRUE(encodetest::standInJob(programDir, src));
    programDir.fakeTool(2, "out=''; prev=''; for a; do [ \"$prev\" = -o ] && out=$a; prev=$a; done\n"
                           "echo $$ > '" + QFile::encodeName(pidFile) + "'\n"
                           "head -c 100000 /dev/zero > \"$out\"\n"
                           "i=0; while true; do i=$((i+1)); printf 'Pos: %d.0s  25f\\r' $((i % 3)); sleep 0.1; done\n");

    quitsignals::install();
    encodetest::RecordingWindow window;
    bool sent = false;
    window.onProgress = [&](float) {
        if (!sent && QFile::exists(encodeflow::partPath(dst))) {
            sent = true;
            ::kill(::getpid(), SIGTERM);
        }
    };
    ScriptedPrompts prompts;
    const auto r = encodetest::convert(src, dst, window);

    ASSERT_TRUE(sent);
    EXPECT_TRUE(quitsignals::requested());
    EXPECT_EQ(quitsignals::signalNumber(), SIGTERM);
    EXPECT_EQ(r.outcome, encodeflow::Outcome::Stopped);
    EXPECT_TRUE(prompts.messages.isEmpty()) << "nobody is there to be told";
    EXPECT_FALSE(QFile::exists(dst));
    EXPECT_FALSE(QFile::exists(encodeflow::partPath(dst)));
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    EXPECT_NE(::kill(QString::fromLatin1(pid.readAll()).trimmed().toInt(), 0), 0) << "the encoder still runs";
    EXPECT_TRUE(toolprocesses::processesStartedFrom(ToolPrefix()).isEmpty());
}

} // namespace
