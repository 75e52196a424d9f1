// The program's side of bench/bench_job.sh; skipped unless MAVRELL_BENCH_PAIRS is set.
// A whole job through the main window (the encode button's click to its report, the
// result check included) against the same command run bare, in alternating pairs, so
// that a drift in the machine's speed falls on both; prints the medians.
#include "mainwin/conversionwindow.h"

#include "engine/resultcheck.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

using namespace conversiontest;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs the command's tool lines one after the other, output thrown away.
qint64 runBare(const QString &command)
{
    QElapsedTimer t;
    t.start();
    for (const QString &line : encodecommand::stages(command)) {
        QStringList args = QProcess::splitCommand(line);
        const QString program = args.takeFirst();
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(program, args);
        p.waitForFinished(-1);
    }
    return t.elapsed();
}

TEST_F(Conversion, BenchWholeJobAgainstTheBareCommand)
{
    const int pairs = qEnvironmentVariableIntValue("MAVRELL_BENCH_PAIRS");
    if (pairs <= 0)
        GTEST_SKIP() << "run by bench/bench_job.sh";
    struct Job {
        const char *name;
        TargetMenu menu;
        int index;
    } jobs[] = {
        {"encode (20 s at 640x480 to H.264 AVI)", TargetMenu::ToAvi, 3},
        {"stream copy (repair of that AVI)", TargetMenu::ToFix, 2},
    };
    // A clip whose encode takes a few seconds: 20 s at 640x480.
    const QString big = work.filePath(QStringLiteral("big.avi"));
    QProcess make;
    make.start(QStringLiteral("ffmpeg"),
               {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=640x480:rate=25:duration=20", "-f",
                "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=20", "-c:v", "mpeg4", "-g", "25", "-c:a",
                "libmp3lame", "-ac", "2", big});
    ASSERT_TRUE(make.waitForFinished(120000));
    {
        // Opening the source (the menu item to the named target, the probe and the
        // decode check included) against the tool's bare identify run.
        std::vector<double> extra;
        const QString bareIdentify = ToolPath(1) + QStringLiteral(" -identify -ao null -vo null -frames 0 \"") + big + '"';
        for (int i = 0; i < pairs; ++i) {
            QElapsedTimer t;
            t.start();
            pick(jobs[0].menu, jobs[0].index, big);
            const qint64 through = t.elapsed();
            ASSERT_FALSE(w->lblOutput->text().isEmpty()) << s(prompts.lastText());
            extra.push_back(double(through - runBare(bareIdentify)));
        }
        std::printf("opening the source, %d pairs: median extra over a bare identify %.0f ms\n", pairs, median(extra));
        std::fflush(stdout);
    }
    for (const Job &job : jobs) {
        const QString src = work.filePath(QStringLiteral("bench.avi"));
        QFile::remove(src);
        ASSERT_TRUE(QFile::copy(big, src));
        pick(job.menu, job.index, src);
        ASSERT_FALSE(w->lblOutput->text().isEmpty()) << s(prompts.lastText());
        std::vector<double> ratios, extra, check, prober;
        qint64 windowTotal = 0, bareTotal = 0;
        for (int i = 0; i < pairs; ++i) {
            prompts.messages.clear();
            prompts.answers.clear();
            if (QFile::exists(w->lblOutput->text()))
                prompts.answer(Answer::Ok);  // overwrite the last run's target
            prompts.answer(Answer::Ok);      // start confirmation
            prompts.answer(Answer::Cancel);  // do not play the result
            QElapsedTimer t;
            t.start();
            w->cmdEncode_Click(0);
            const qint64 through = t.elapsed();
            ASSERT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded) << s(prompts.lastText());
            const qint64 bare = runBare(w->lastEncode.command);
            QElapsedTimer c;
            c.start();
            resultcheck::checkTarget(w->lastEncode.command.isEmpty() ? QString() : w->lblOutput->text(), QString(),
                                     resultcheck::expectedStreams(jobstate::sourceInfo, jobstate::jobSettings,
                                                                  encodeflow::checkedLength(jobstate::sourceInfo,
                                                                                            jobstate::jobSettings)),
                                     0);
            check.push_back(double(c.elapsed()));
            prober.push_back(double(runBare(resultcheck::probeCommand(resultcheck::proberPath(), w->lblOutput->text()))));
            ratios.push_back(double(through) / double(std::max<qint64>(1, bare)));
            extra.push_back(double(through - bare));
            windowTotal += through;
            bareTotal += bare;
        }
        std::printf("%s, %d pairs: through the window %.0f ms, bare %.0f ms (means); "
                    "median ratio %.3f, median extra %.0f ms (of which the result check alone %.0f ms; its prober run bare %.0f ms)\n",
                    job.name, pairs, double(windowTotal) / pairs, double(bareTotal) / pairs, median(ratios),
                    median(extra), median(check), median(prober));
        std::fflush(stdout);
    }
}

} // namespace
