// Stop during a real run, and file names with blanks and non-Latin letters.
#include "core/cmdoutput.h"
#include "core/toolprocesses.h"
#include "engine/encodetargets.h"
#include "engine/testjob.h"

#include <QFile>

using namespace mdlMavrell;

namespace {

using Operations = encodetest::OperationTest;

TEST_F(Operations, StopEndsTheRealEncoder)
{
    const QString src = source("long.avi", "XviD", "avi");
    testjob::job.scaleFilter = QStringLiteral(" -vf-add scale=320:240");
    const QString dst = out.path() + "/stopped.avi";
    window.onProgress = [](float pg) {
        if (pg >= 1)
            cmdoutput::stopEncodeFlag = true;  // as the Stop button does
    };
    const auto r = run(src, dst);
    EXPECT_EQ(r.outcome, encodeflow::Outcome::Stopped);
    EXPECT_TRUE(r.run.stopped);
    EXPECT_LT(r.run.percent, 100);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, "Work" + lng[txt::WasInterrupted] + "\r\n\r\n" + lng[txt::PartialKept] + "\r\n" + dst);
    EXPECT_GT(QFileInfo(dst).size(), 0);
    EXPECT_TRUE(toolprocesses::processesStartedFrom(ToolPrefix()).isEmpty());
    EXPECT_TRUE(window.played.isEmpty());
}

TEST_F(Operations, NamesWithBlanksAndNonLatinLetters)
{
    ASSERT_TRUE(QDir(out.path()).mkpath("my clips/新しい"));
    const QString dir = out.path() + "/my clips/新しい";
    const QString src = dir + "/影片 ü é's.avi";
    ASSERT_TRUE(QFile::copy(testenv::fixture("mpeg4.avi"), src));
    for (const char *target : {"MPEG1", "Sound MP3"}) {
        const bool audio = QByteArray(target).startsWith("Sound");
        source(src, target, audio ? "mp3" : "mpg");
        testjob::job.targetIsAudio = audio;
        if (audio)
            testjob::job.audioOpts = QStringLiteral(" -ac 2 -ar 44100");
        testjob::job.scaleFilter = QStringLiteral(" -vf-add scale=176:144");
        const QString dst = dir + "/結果 ü." + (audio ? "mp3" : "mpg");
        ASSERT_GT(testjob::source.srcLength, 2.5f);
        const auto r = run(src, dst);
        ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
        EXPECT_NEAR(encodetest::ffprobe(dst).duration, 3.0, 0.35);
    }
}

} // namespace
