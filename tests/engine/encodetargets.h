// One conversion of a generated clip to a target through the run stage with the real
// tools, and the result's check with ffprobe.
#pragma once

#include "engine/encodejob.h"
#include "engine/testjob.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <ostream>

namespace encodetest {

struct TargetCase {
    const char *name;
    const char *format;  // the job's targetFormat
    const char *ext;
    bool audio;
    const char *fixture;
    const char *scale;      // the job's scaleFilter
    const char *audioOpts;
    // What ffprobe must find.
    const char *container;
    const char *video;      // "" = no video stream
    const char *sound;
    int width, height;
    int sampleRate;         // 0 = not checked
};

inline std::ostream &operator<<(std::ostream &os, const TargetCase &c) { return os << c.name; }

// Converts c.fixture to the target and checks the result. The job record is set as
// a source set-up and the options' defaults leave it.
inline void convertAndCheck(const TargetCase &c)
{
    using namespace mdlMavrell;
    clearJob();
    loadLanguageTable(QStringLiteral("en"));
    const QString src = testenv::fixture(QString::fromLatin1(c.fixture));
    ASSERT_FALSE(src.isEmpty());
    testenv::ProgramDir programDir;
    programDir.activate();
    probeSource(src);
    ASSERT_GT(testjob::source.srcLength, 2.5f) << "the probe did not read " << c.fixture;
    setTarget(QString::fromLatin1(c.format), QString::fromLatin1(c.ext), c.audio);
    testjob::job.actionWord = QStringLiteral("Convert");
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::job.videoBitrateText = QStringLiteral("600");
    testjob::job.scaleFilter = QString::fromLatin1(c.scale);
    testjob::job.audioOpts = QString::fromLatin1(c.audioOpts);

    QTemporaryDir out;
    const QString dst = out.path() + QStringLiteral("/result.") + QString::fromLatin1(c.ext);
    RecordingWindow window;
    ScriptedPrompts prompts;
    prompts.answer(prompts::Answer::Cancel);  // the success box: do not play
    const encodeflow::StageResult r = convert(src, dst, window);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString();
    EXPECT_FALSE(window.progress.isEmpty()) << "no progress read from " << r.command.toStdString();
    EXPECT_EQ(window.progress.last(), 100);

    const Probed p = ffprobe(dst);
    EXPECT_TRUE(p.format.split(',').contains(QString::fromLatin1(c.container))) << p.format.toStdString();
    EXPECT_EQ(p.video, QString::fromLatin1(c.video));
    EXPECT_EQ(p.audio, QString::fromLatin1(c.sound));
    EXPECT_NEAR(p.duration, 3.0, 0.35);
    // The picture moves: every frame of the clip is its own picture.
    if (*c.video) {
        EXPECT_GT(distinctFrames(dst), 60) << r.command.toStdString();
    }
    if (c.width) {
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
    }
    if (c.sampleRate) {
        EXPECT_EQ(p.sampleRate, c.sampleRate);
    }
    // Nothing of the run is left beside the target.
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A job that keeps the picture, on a probed source, in a temporary folder.
class OperationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearJob();
        mdlMavrell::loadLanguageTable(QStringLiteral("en"));
        programDir.activate();
    }
    // Probes the fixture (or a file) and sets the job; returns the source path.
    QString source(const QString &fixtureOrPath, const QString &format, const QString &ext)
    {
        const QString src = fixtureOrPath.startsWith('/') ? fixtureOrPath : testenv::fixture(fixtureOrPath);
        probeSource(src);
        setTarget(format, ext);
        testjob::job.actionWord = QStringLiteral("Work");
        testjob::job.audioBitrateText = QStringLiteral("128");
        testjob::job.audioOpts = QStringLiteral(" -channels 2 -srate ") + numbertext::integer(testjob::source.srcAudioRate)
                    + QStringLiteral(" -af-add channels=2");
        return src;
    }
    encodeflow::StageResult run(const QString &src, const QString &dst)
    {
        return convert(src, dst, window);
    }

    testenv::ProgramDir programDir;
    QTemporaryDir out;
    RecordingWindow window;
    ScriptedPrompts prompts;
};

} // namespace encodetest
