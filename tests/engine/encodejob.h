// Shared set-up of the encode tests: a clean job record, a job prepared from a real
// source, a window stand-in that records what the run stage shows, and ffprobe.
#pragma once

#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "core/toolpaths.h"
#include "engine/encodeflow.h"
#include "engine/identifyprobe.h"
#include "engine/testjob.h"
#include "support/mediaprobe.h"
#include "support/testenv.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStringList>

namespace encodetest {

inline void clearJob()
{
    using namespace mdlMavrell;
    testjob::job = {};
    testjob::source = {};
    testjob::job.actionWord = QStringLiteral("Convert");
    showDosOutput = false;
    cmdoutput::stopEncodeFlag = false;
}

// The job for format/ext with the options a target's preset would give it.
inline void setTarget(const QString &format, const QString &ext, bool audio = false)
{
    testjob::job.targetFormat = format;
    testjob::job.targetExt = ext;
    testjob::job.targetIsAudio = audio;
}

// A stand-in source for the tests that run fake tools: a small file at src, and
// SourceInfo as a probe of a 3 s 320x240 AVI with MP3 sound would leave it, for the
// DivX target. False when the file cannot be written.
inline bool writeStandInSource(const QString &src)
{
    using namespace mdlMavrell;
    QFile f(src);
    if (!f.open(QIODevice::WriteOnly) || f.write("not really a video") < 0)
        return false;
    testjob::source = testenv::sampleSource(320, 240, 3, "avi", "mp3");
    setTarget(QStringLiteral("DivX"), QStringLiteral("avi"));
    return true;
}

// The set-up of the tests that run fake tools on the stand-in: a clean job, the English
// texts, programDir in use and the stand-in source at src. False when it cannot be written.
inline bool standInJob(testenv::ProgramDir &programDir, const QString &src)
{
    clearJob();
    mdlMavrell::loadLanguageTable(QStringLiteral("en"));
    programDir.activate();
    return writeStandInSource(src);
}

// Probes src with the real tools into SourceInfo.
inline void probeSource(const QString &src)
{
    testjob::source = {};
    engine::analyseSource(src, testjob::source);
}

// The set-up of the tests that run the real tools: a clean job, the English texts,
// programDir in use, src probed into SourceInfo and the job for format/ext.
inline void realJob(testenv::ProgramDir &programDir, const QString &src, const QString &format, const QString &ext,
                    bool audio = false)
{
    clearJob();
    mdlMavrell::loadLanguageTable(QStringLiteral("en"));
    programDir.activate();
    probeSource(src);
    setTarget(format, ext, audio);
}

// The window as the run stage sees it; records progress and what it was asked to do.
class RecordingWindow : public encodeflow::EncodeWindow {
public:
    QList<float> progress;         // running percentages drawn
    QStringList notes;
    int started = 0, ended = 0, stopShown = 0, encodeShown = 0, rested = 0;
    QString played;
    std::function<void(float)> onProgress;  // e.g. press Stop at some point

    void setProgressNote(float pg, const QString &caption, bool isPreview) override
    {
        if (isPreview)
            return;
        progress << pg;
        notes << caption;
        if (onProgress)
            onProgress(pg);
    }
    void encodeStarted(qint64, const QString &) override { ++started; }
    void encodeEnded() override { ++ended; }
    void showEncodeButton() override { ++encodeShown; }
    void showStopButton() override { ++stopShown; }
    void restProgressFrame() override { ++rested; }
    void playResult(const QString &target) override { played = target; }
};

// One job through the run stage with the given time range and length (a cut after the
// key-frame alignment): the command built from the job record, the real tools.
inline encodeflow::StageResult convertRange(const QString &src, const QString &dst, RecordingWindow &window,
                                            const QString &range, float seconds)
{
    using namespace mdlMavrell;
    testjob::job.encodeSeconds = seconds;
    encodeflow::EncodeJob job;
    job.source = testjob::source;
    job.settings = testjob::job;
    job.prep = encodecommand::prepare(testjob::source, testjob::job);
    job.range = range;
    job.inputs.tool2 = ToolPath(2);
    job.inputs.tool3 = ToolPath(3);
    job.inputs.src = src;
    job.inputs.dst = dst;
    job.inputs.aviSoundNote = encodeflow::aviSoundNote(testjob::source, testjob::job);
    return encodeflow::runEncodeStage(job, window);
}

// The same with the range the marks give before any alignment.
inline encodeflow::StageResult convert(const QString &src, const QString &dst, RecordingWindow &window)
{
    const encodeflow::StartRange r = encodeflow::initialRange(testjob::source, testjob::job);
    return convertRange(src, dst, window, r.range, r.encodeSeconds);
}

using testenv::Probed;
using testenv::ffprobe;

// The mean volume in dB that ffmpeg's volumedetect measures.
// How many different pictures the file's video stream holds (the generated clips
// change with every frame, so a good conversion keeps nearly all of them apart).
inline int distinctFrames(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-i", path, "-map", "0:v:0", "-f", "framemd5", "-"});
    p.waitForFinished(60000);
    QSet<QString> hashes;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (!line.startsWith('#') && line.contains(','))
            hashes.insert(line.section(',', -1).trimmed());
    return int(hashes.size());
}

inline double meanVolume(const QString &path)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("ffmpeg"), {"-nostdin", "-i", path, "-vn", "-af", "volumedetect", "-f", "null", "-"});
    p.waitForFinished(30000);
    const QString out = QString::fromUtf8(p.readAll());
    const int at = out.lastIndexOf(QLatin1String("mean_volume:"));
    return at < 0 ? 1000 : numbertext::Val(out.mid(at + 12));
}

} // namespace encodetest
