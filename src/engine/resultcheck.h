// The check of a finished conversion before it is reported as a success: the target
// is read with ffprobe, packet by packet, and must hold the streams the job promises,
// each covering the job's length, picture and sound in step. A clean exit of the
// encoder proves nothing by itself: encoders end with status 0 after writing a
// fraction of the job, or write a picture stretched to several times its length.
// The readers and the verdict are pure; probeSpans runs the prober.
#pragma once

#include <QString>

namespace resultcheck {

// First and last moment of one stream: the earliest packet time and the latest
// packet time plus its duration, in the file's own seconds.
struct Span {
    bool present = false;
    double start = 0;
    double end = 0;
    double length() const { return present ? end - start : 0; }
};

struct Spans {
    bool readable = false;  // the prober could open the file
    QString format;         // the container, as the prober names it
    QString videoCodec, audioCodec;
    Span video, audio;
};

// The prober: ffprobe beside tool 3 (the folder of the file tool 3 leads to), else on
// the search path; "" when there is none.
QString proberPath();
// The prober's command for path. windowSeconds > 0 reads only the packets of the first
// and the last windowSeconds of a file of about `length` seconds (a long result).
QString probeCommand(const QString &prober, const QString &path, double length = 0, double windowSeconds = 0);
// Reads the prober's compact output (stream and packet lines).
Spans readSpans(const QString &output);
// Probes path with the prober (proberPath()); a file of more than 15 s is read only in its first 5 s and its last 10 s
// (a stretched or cut-short file too: a seek past the end lands on its last packets).
Spans probeSpans(const QString &prober, const QString &path, double expectedLength = 0);

// What the job promises.
struct Expectation {
    double length = 0;  // seconds of media the job is to produce
    bool picture = false;
    bool sound = false;
    // The source's own spans over the job's stretch, when known: a source whose sound
    // is shorter than its picture gives a result like it, and that is no fault.
    double sourcePictureLength = -1, sourceSoundLength = -1;
    double sourceEndGap = -1;  // |picture end - sound end| of the source
};

// How far a stream may fall short of (or run past) the job's length.
double lengthTolerance(double length);
constexpr double stepTolerance = 0.3;

struct Verdict {
    bool ok = false;
    float percent = 0;  // how much of the job's length the shortest promised stream holds
    QString message;    // "" when ok: what is wrong, in the user's language
};
Verdict judge(const Spans &result, const Expectation &expected);

// The check of a finished job's target: its streams from SourceInfo and the job
// (targetFormat, srcAudioCodec, picture size, a "-nosound" option), its length `length`. When the verdict
// is a failure the source is probed too, over its stretch [sourceFrom, sourceFrom +
// length], so that a fault the source itself has is not taken for the encoder's.
// ok with percent 100 when there is no prober.
Verdict checkTarget(const QString &target, const QString &source, double length, double sourceFrom);

} // namespace resultcheck
