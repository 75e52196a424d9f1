// The program's side of bench/bench_encode.sh; skipped unless MAVRELL_BENCH_RUNS is set.
#include "engine/encodetargets.h"
#include "engine/testjob.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>

using namespace mdlMavrell;

namespace {

struct BenchTarget {
    const char *name, *format, *ext;
    bool audio;
};
const BenchTarget benchTargets[] = {
    {"MPEG1", "MPEG1", "mpg", false},
    {"XviD", "XviD", "avi", false},
    {"MP3", "Sound MP3", "mp3", true},
};

void setJob(const BenchTarget &t, const QString &src)
{
    encodetest::clearJob();
    loadLanguageTable(QStringLiteral("en"));
    encodetest::probeSource(src);
    encodetest::setTarget(t.format, t.ext, t.audio);
    testjob::job.actionWord = QStringLiteral("Convert");
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::job.videoBitrateText = QStringLiteral("800");
    testjob::job.scaleFilter = QStringLiteral(" -vf-add scale=320:240");
    testjob::job.audioOpts = t.audio ? QStringLiteral(" -ac 2 -ar 44100") : QStringLiteral(" -channels 2 -srate 44100 -af-add channels=2");
    testjob::job.encodeSeconds = testjob::source.srcLength;
}

QString commandFor(const QString &src, const QString &dst)
{
    auto prep = encodecommand::prepare(testjob::source, testjob::job);
    QString range;
    encodecommand::Inputs in;
    in.tool2 = ToolPath(2);
    in.tool3 = ToolPath(3);
    in.src = src;
    in.dst = dst;
    return encodecommand::build(testjob::source, testjob::job, prep, range, in).command;
}

// For each target named in MAVRELL_BENCH_TARGET: the time of MAVRELL_BENCH_RUNS runs
// through the encoder runner, and the command's arguments (NUL-separated) in
// MAVRELL_BENCH_ARGS, for the script to run bare (the target goes to MAVRELL_BENCH_OUT).
TEST(Bench, EncodeThroughRunner)
{
    const int runs = qEnvironmentVariableIntValue("MAVRELL_BENCH_RUNS");
    if (runs <= 0)
        GTEST_SKIP() << "run by bench/bench_encode.sh";
    const QString wanted = qEnvironmentVariable("MAVRELL_BENCH_TARGET");
    const QString clip = testenv::fixture("long.avi");
    ASSERT_FALSE(clip.isEmpty());
    // The build's own program folder: the tool paths must outlive this program.
    appDir = testenv::buildAppDir();
    QTemporaryDir out;
    for (const BenchTarget &t : benchTargets) {
        if (wanted != QLatin1String(t.name))
            continue;
        setJob(t, clip);
        // The script's folder, so that its bare runs write where these did.
        const QString dst = qEnvironmentVariable("MAVRELL_BENCH_OUT", out.path()) + "/bench." + t.ext;
        const QString cmd = commandFor(clip, dst);
        QFile args(qEnvironmentVariable("MAVRELL_BENCH_ARGS"));
        ASSERT_TRUE(args.open(QIODevice::WriteOnly));
        for (const QString &a : QProcess::splitCommand(cmd))
            args.write(a.toUtf8() + '\0');
        args.close();
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < runs; ++i)
            EXPECT_TRUE(encoderunner::runEncodeWithProgress(cmd, 0, false).completed());
        std::printf("RUNNER_MS=%lld\nDST=%s\n", timer.elapsed(), dst.toUtf8().constData());
    }
}

// From the moment the encoder ends to the moment the report is asked: a wrapper
// around the real encoder notes its own end.
TEST(Bench, ExitToReport)
{
    const int runs = qEnvironmentVariableIntValue("MAVRELL_BENCH_RUNS");
    if (runs <= 0)
        GTEST_SKIP() << "run by bench/bench_encode.sh";
    const QString clip = testenv::fixture("mpeg4.avi");
    testenv::ProgramDir dir;
    dir.activate();
    QTemporaryDir out;
    const QString stamp = out.path() + "/ended";
    dir.fakeTool(2, "/usr/bin/mencoder \"$@\"\nrc=$?\ndate +%s%N > '" + QFile::encodeName(stamp) + "'\nexit $rc\n");

    struct Clock final : prompts::UserPrompts {
        Clock() { prompts::install(this); }
        ~Clock() override { prompts::install(nullptr); }
        qint64 askedNs = 0;
        prompts::Answer message(const prompts::MessageRequest &) override
        {
            askedNs = QDateTime::currentMSecsSinceEpoch() * 1000000;
            return prompts::Answer::Cancel;  // the success box: do not play
        }
        prompts::FileAnswer file(const prompts::FileRequest &) override { return {}; }
    } clock;
    double total = 0;
    for (int i = 0; i < runs; ++i) {
        setJob(benchTargets[0], clip);
        encodetest::RecordingWindow window;
        const auto r = encodetest::convert(clip, out.path() + "/r.mpg", window);
        ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded);
        QFile f(stamp);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        total += double(clock.askedNs - f.readAll().trimmed().toLongLong()) / 1e6;
    }
    std::printf("EXIT_TO_REPORT_MS=%.1f\n", total / runs);
}

} // namespace
