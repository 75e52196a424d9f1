// The encode button's decisions: the checks and texts before the run, and the run
// stage's retry, verdict and report (fake encoders that write what a test needs).
#include "core/cmdoutput.h"
#include "engine/encodejob.h"
#include "engine/targetkinds.h"
#include "engine/testjob.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace mdlMavrell;
using encodeflow::Outcome;

namespace {

class EncodeFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        src = tmp.path() + "/in.avi";
        dst = tmp.path() + "/out.avi";
        ASSERT_TRUE(encodetest::standInJob(programDir, src));
    }
    // A fake encoder that writes `bytes` bytes to the file after "-o", prints `pos`
    // seconds of progress and ends with `status`; the command it got goes to a log.
    void fakeEncoder(int bytes, const char *pos, int status)
    {
        programDir.fakeTool(2, "out=''; prev=''; for a; do [ \"$prev\" = -o ] && out=$a; prev=$a; done\n"
                               "echo \"$*\" >> '" + QFile::encodeName(tmp.path()) + "/log'\n"
                               "head -c " + QByteArray::number(bytes) + " /dev/zero > \"$out\"\n"
                               "printf 'Pos: " + QByteArray(pos) + "s  1f\\r'\nexit " + QByteArray::number(status) + "\n");
    }
    QStringList runs() const
    {
        QFile f(tmp.path() + "/log");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                                           : QStringList();
    }
    encodeflow::StageResult convert() { return encodetest::convert(src, dst, window); }
    // What lies in the folder beside the source and the log.
    QStringList written() const
    {
        QStringList names = QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll("in.avi");
        names.removeAll("log");
        return names;
    }

    testenv::ProgramDir programDir;
    QTemporaryDir tmp;
    QString src, dst;
    encodetest::RecordingWindow window;
    ScriptedPrompts prompts;
};

TEST_F(EncodeFlow, JobAgainstSource)
{
    struct Case {
        QString format;
        bool audioTarget;
        QString demuxer, codec;
        int entry;
    } cases[] = {
        {"DivX", false, "audio", "mp3", 247}, {"Sound MP3", true, "audio", "mp3", 0},
        {"Sound MP3", true, "avi", "", 252},  {"AudIsMp3", false, "avi", "", 258},
        {"onlyTransVol", false, "avi", "", 260}, {"onlyCut", false, "avi", "", 0},
        {"DivX", false, "avi", "", 0},
    };
    for (const Case &c : cases) {
        encodetest::setTarget(c.format, "avi", c.audioTarget);
        testjob::source.srcDemuxer = c.demuxer;
        testjob::source.srcAudioCodec = c.codec;
        EXPECT_EQ(engine::jobMismatchEntry(testjob::source, testjob::job), c.entry) << c.format.toStdString();
    }
}

TEST_F(EncodeFlow, SameFileByWhatItIsNotHowItIsWritten)
{
    EXPECT_TRUE(encodeflow::isSameFile(src, tmp.path() + "/./in.avi"));
    EXPECT_TRUE(encodeflow::isSameFile(src, tmp.path() + "/../" + QFileInfo(tmp.path()).fileName() + "/in.avi"));
    ASSERT_TRUE(QFile::link(src, tmp.path() + "/link.avi"));
    EXPECT_TRUE(encodeflow::isSameFile(src, tmp.path() + "/link.avi"));
    EXPECT_FALSE(encodeflow::isSameFile(src, tmp.path() + "/IN.avi"));  // another name on this system
    EXPECT_FALSE(encodeflow::isSameFile(src, dst));
}

TEST_F(EncodeFlow, RangeNotesAndQuestions)
{
    testjob::job.markIn = 10;
    testjob::job.markOut = 25;
    auto r = encodeflow::initialRange(testjob::source, testjob::job);
    EXPECT_EQ(r.encodeSeconds, 15);
    EXPECT_EQ(r.range, " -ss 00:00:10.0 -endpos 00:00:15.0");
    testjob::job.markOut = 0;
    testjob::source.srcLength = 42.5f;
    r = encodeflow::initialRange(testjob::source, testjob::job);
    EXPECT_EQ(r.encodeSeconds, 42.5f);
    EXPECT_EQ(r.range, "");

    testjob::job.actionWord = QStringLiteral(" Cut ");
    EXPECT_EQ(encodeflow::overwriteQuestion(testjob::job, "/v/a.avi"),
              "/v/a.avi\r\n\r\nThe target file already exists. Press OK to overwrite it and start \"Cut\".");

    encodetest::setTarget("onlyCut", "avi");
    testjob::source.srcAudioCodec = QStringLiteral("pcm");
    const QString note = encodeflow::aviSoundNote(testjob::source, testjob::job);
    EXPECT_EQ(note, "\r\n" + QString(48, '-') + "\r\n" + lng[txt::AviAudioBecomesMp3] + "PCM");
    testjob::source.srcAudioCodec = QStringLiteral("mp3");
    EXPECT_EQ(encodeflow::aviSoundNote(testjob::source, testjob::job), "");
    testjob::source.srcAudioCodec.clear();
    EXPECT_FALSE(encodeflow::aviSoundNote(testjob::source, testjob::job).isEmpty());
    encodetest::setTarget("DivX", "avi");
    EXPECT_EQ(encodeflow::aviSoundNote(testjob::source, testjob::job), "");

    testjob::job.actionWord = QStringLiteral("Cut");
    EXPECT_EQ(encodeflow::startConfirmation(testjob::job, 0, "SUMMARY", "NOTE"), lng[txt::AboutToStart] + "Cut .....\r\n\r\nSUMMARYNOTE");
    QString sparse = lng[txt::KeyFramesFarApart];
    sparse.replace("aaa", "Cut");
    EXPECT_EQ(encodeflow::startConfirmation(testjob::job, -1, "S", ""), sparse + "\r\n\r\n" + lng[txt::AboutToStart] + "Cut .....\r\n\r\nS");

    EXPECT_EQ(encodeflow::firstProgressNote(testjob::job), "Progress 0 % -->  " + lng[txt::Initialising]);
    encodetest::setTarget("onlyFix", "avi");
    EXPECT_EQ(encodeflow::firstProgressNote(testjob::job), "Progress 0 % -->  " + lng[txt::AnalysingTimeLine]);
}

TEST_F(EncodeFlow, RetryTest)
{
    struct Case {
        float percent;
        bool retried, stop;
        QString mc;
        qint64 size;
        bool offer;
    } cases[] = {
        {0, false, false, " -mc 1", 50000, true},   {1, false, false, " -mc 1", 102399, true},
        {0, true, false, " -mc 1", 50000, false},   {0, false, true, " -mc 1", 50000, false},
        {0, false, false, " -mc 0", 50000, false},  {0, false, false, " -mc 1", 0, false},
        {0, false, false, " -mc 1", -1, false},     {0, false, false, " -mc 1", 200000, false},
        {1.5f, false, false, " -mc 1", 50000, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(encodeflow::offerRetry(c.percent, c.retried, c.stop, c.mc, c.size), c.offer)
            << c.percent << " " << c.size;
}

TEST_F(EncodeFlow, SuccessIsReportedAndPlayed)
{
    // The stand-in hands over a whole 3 s clip, as the result check wants it.
    const QString clip = testenv::fixture("mpeg4.avi");
    programDir.fakeTool(2, "for last in \"$@\"; do :; done\ncp '" + QFile::encodeName(clip) + "' \"$last\"\n"
                           "printf 'Pos: 3.0s  1f\\r'\n");
    const auto r = convert();
    EXPECT_EQ(r.outcome, Outcome::Succeeded);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(dst + "\r\n\r\nConvert succeeded, time taken "));
    EXPECT_TRUE(prompts.messages[0].text.endsWith(" seconds\r\n\r\n" + lng[txt::OpenAndPlayQuestion]));
    EXPECT_EQ(window.played, dst);
    EXPECT_EQ(window.stopShown, 1);
    EXPECT_EQ(window.encodeShown, 1);
    EXPECT_EQ(window.progress.last(), 100);
    // The tool wrote the part; the checked result lies under the target's name alone.
    EXPECT_TRUE(r.command.endsWith(" \"" + encodeflow::partPath(dst) + "\"")) << r.command.toStdString();
    EXPECT_EQ(written(), QStringList{"out.avi"});
}

// The tool gave up at once with a short target: one retry without the sync
// correction; its failure again is a failure, however large the target.
TEST_F(EncodeFlow, OneRetryWithoutSyncCorrection)
{
    fakeEncoder(50000, "0.0", 1);
    prompts.answer(prompts::Answer::Ok);  // the retry
    const auto r = convert();
    EXPECT_TRUE(r.retried);
    const QStringList log = runs();
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].contains("-mc 1"));
    EXPECT_TRUE(log[1].contains("-mc 0"));
    EXPECT_EQ(r.outcome, Outcome::Failed);
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(prompts.messages[0].text, lng[txt::SyncNotPossibleRetry]);
    QString status = lng[txt::ToolErrorStatus];
    status.replace("aaa", ToolPath(2)).replace("bbb", "1");
    EXPECT_TRUE(prompts.messages[1].text.startsWith(dst + "\r\n\r\n" + status + "\r\n\r\nConvert failed, time taken "))
        << prompts.messages[1].text.toStdString();
}

// An encoder that writes a real but short result and ends with status 0 (the real one,
// stopped after 0.1 s of the 20 s source): not a success. The run counts by what the
// result holds, 0.5 %, so the retry is offered; its short result again is reported as a
// failure that says what the result holds.
TEST_F(EncodeFlow, ShortResultOfACleanExitIsAFailureWithTheRetry)
{
    const QString clip = testenv::fixture("long.avi");
    encodetest::probeSource(clip);
    ASSERT_NEAR(testjob::source.srcLength, 20, 0.2);
    encodetest::setTarget("DivX", "avi");
    src = clip;
    programDir.fakeTool(2, "echo \"$*\" >> '" + QFile::encodeName(tmp.path()) + "/log'\n"
                           "exec /usr/bin/mencoder \"$@\" -endpos 0.1\n");
    prompts.answer(prompts::Answer::Ok);  // the retry
    const auto r = convert();
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_TRUE(r.retried);
    EXPECT_EQ(runs().size(), 2);
    EXPECT_LE(r.run.percent, 1);
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(prompts.messages[0].text, lng[txt::SyncNotPossibleRetry]);
    const QString report = prompts.messages[1].text;
    EXPECT_TRUE(report.startsWith(dst + "\r\n\r\nThe result holds 0.")) << report.toStdString();
    // Against the source's own 20 s of picture.
    EXPECT_TRUE(report.contains(QRegularExpression("s of picture, but 20\\.[01] s were to be converted\\.\r\n\r\nConvert failed")))
        << report.toStdString();
    EXPECT_FALSE(window.progress.contains(100));
    EXPECT_TRUE(window.played.isEmpty());
    // Nothing that looks like a result stays, and the report says so.
    EXPECT_TRUE(written().isEmpty()) << written().join(' ').toStdString();
    EXPECT_TRUE(report.endsWith("\r\n\r\n" + lng[txt::NothingKept])) << report.toStdString();
}

TEST_F(EncodeFlow, DeclinedRetryIsAFailure)
{
    fakeEncoder(50000, "0.0", 1);
    prompts.answer(prompts::Answer::Cancel);
    const auto r = convert();
    EXPECT_EQ(r.outcome, Outcome::Failed);
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[1].text.contains("Convert failed"));
    EXPECT_TRUE(prompts.messages[1].text.endsWith(lng[txt::NothingKept]));
    EXPECT_TRUE(written().isEmpty()) << written().join(' ').toStdString();  // the short target is no result
}

// Whatever the tool left under the target's name is removed and the report says so;
// it names what the tool said of its end: its error status or the signal it died of,
// with its last message.
TEST_F(EncodeFlow, FailuresAreNeverSuccesses)
{
    const auto told = [](int entry, const QString &number, const QString &message) {
        QString t = lng[entry];
        t.replace("aaa", ToolPath(2)).replace("bbb", number);
        if (!message.isEmpty())
            t += "\r\n" + lng[txt::ToolLastMessage] + "\r\n" + message;
        return t + "\r\n\r\n";
    };
    struct Case {
        QByteArray script;
        QString why;  // what the report says of the tool before the action word
    } cases[] = {
        // Ends with an error after writing much: no retry (large target), a failure.
        {"head -c 200000 /dev/zero > \"$out\"; printf 'Pos:   1.0s  25f\\r'; echo \"Cannot open output file '$out'.\"\n"
         "echo; echo 'Exiting...'; exit 1",
         told(txt::ToolErrorStatus, "1", "Cannot open output file '" + encodeflow::partPath(dst) + "'.")},
        // Crashes after writing: a failure, not a success by the target's size.
        {"head -c 200000 /dev/zero > \"$out\"; echo 'Error while encoding frame 3'; kill -SEGV $$",
         told(txt::ToolEndedBySignal, "11 (SIGSEGV)", "Error while encoding frame 3")},
        // An error status with nothing printed.
        {"exit 3", told(txt::ToolErrorStatus, "3", "")},
        // An empty target is a failure; the tool said nothing of one.
        {": > \"$out\"; exit 0", ""},
        // Nothing written at all.
        {"exit 0", ""},
    };
    // A whole clip left under the part's name by an earlier run is no result of this one.
    const QString leftover = testenv::fixture("mpeg4.avi");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script.constData());
        QFile::remove(dst);
        ASSERT_TRUE(QFile::copy(leftover, encodeflow::partPath(dst)));
        prompts.messages.clear();
        programDir.fakeTool(2, "out=''; prev=''; for a; do [ \"$prev\" = -o ] && out=$a; prev=$a; done\n" + c.script + "\n");
        const auto r = convert();
        EXPECT_EQ(r.outcome, Outcome::Failed);
        ASSERT_EQ(prompts.messages.size(), 1);
        const QString &text = prompts.messages[0].text;
        EXPECT_TRUE(text.startsWith(dst + "\r\n\r\n" + c.why + "Convert failed")) << text.toStdString();
        EXPECT_TRUE(text.endsWith(lng[txt::NothingKept]));
        EXPECT_TRUE(written().isEmpty()) << written().join(' ').toStdString();
        EXPECT_TRUE(window.played.isEmpty());
    }
}

// Why an old target could not be removed, by what the system said.
TEST_F(EncodeFlow, WhyAnOldTargetStays)
{
    EXPECT_EQ(encodeflow::targetNotReplacedText(0), "");
    EXPECT_EQ(encodeflow::targetNotReplacedText(EBUSY), lng[txt::TargetInUse] + "\r\n\r\n");
    EXPECT_EQ(encodeflow::targetNotReplacedText(EPERM), lng[txt::TargetProtected] + "\r\n\r\n");
    EXPECT_EQ(encodeflow::targetNotReplacedText(EACCES), lng[txt::TargetProtected] + "\r\n\r\n");
    QString io = lng[txt::TargetNotReplaceable];
    io.replace("aaa", QString::fromLocal8Bit(strerror(EIO)));
    EXPECT_EQ(encodeflow::targetNotReplacedText(EIO), io + "\r\n\r\n");
    // Nothing to remove is no problem; an old file goes.
    EXPECT_EQ(encodeflow::removeOldTarget(dst), "");
    QFile old(dst);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    EXPECT_EQ(encodeflow::removeOldTarget(dst), "");
    EXPECT_FALSE(QFile::exists(dst));
}

TEST_F(EncodeFlow, StoppedRunIsNotReported)
{
    // The old target goes before the run.
    QFile old(dst);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    programDir.fakeTool(2, "out=''; prev=''; for a; do [ \"$prev\" = -o ] && out=$a; prev=$a; done\n"
                           "head -c 1000 /dev/zero > \"$out\"\n"
                           "while true; do printf 'Pos:   1.0s   25f\\r'; sleep 0.1; done\n");
    QTimer::singleShot(300, [] { cmdoutput::stopEncodeFlag = true; });
    const auto r = convert();
    EXPECT_EQ(r.outcome, Outcome::Stopped);
    EXPECT_TRUE(r.run.stopped);
    ASSERT_EQ(prompts.messages.size(), 1);  // the runner's own note, no report, no retry
    // The partial target gets the target's name as it was written, and the note says it
    // is partial.
    EXPECT_EQ(prompts.messages[0].text,
              "Convert" + lng[txt::WasInterrupted] + "\r\n\r\n" + lng[txt::PartialKept] + "\r\n" + dst);
    EXPECT_EQ(QFileInfo(dst).size(), 1000);
    EXPECT_EQ(written(), QStringList{"out.avi"});
    EXPECT_GE(window.encodeShown, 1);
    EXPECT_GE(window.rested, 1);
}

TEST_F(EncodeFlow, DeclinedContainerCheckRunsNothing)
{
    encodetest::setTarget("onlyCut", "avi");
    testjob::source.srcDemuxer = QStringLiteral("lavfpref");
    testjob::source.srcVideoFormat = QStringLiteral("mp4v");
    fakeEncoder(200000, "3.0", 0);
    prompts.answer(prompts::Answer::Cancel);
    const auto r = convert();
    EXPECT_EQ(r.outcome, Outcome::NotRun);
    EXPECT_TRUE(runs().isEmpty());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].text.contains("MP4"));
    EXPECT_EQ(window.rested, 1);
}

} // namespace
