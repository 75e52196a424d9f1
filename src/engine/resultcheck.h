// The check of a finished conversion before it is reported as a success: the target
// is read with ffprobe, packet by packet, and must hold the streams the job promises,
// each covering the job's length, picture and sound in step. A clean exit of the
// encoder proves nothing by itself: encoders end with status 0 after writing a
// fraction of the job, or write a picture stretched to several times its length.
// The readers and the verdict are pure; probeSpans runs the prober.
#pragma once

#include "core/jobrecords.h"

#include <QString>
#include <QStringList>

namespace resultcheck {

// First and last moment of one stream: the earliest packet time and the latest
// packet time plus its duration, in the file's own seconds.
// A stream whose times start again within one reading in file order (two files joined
// end to end) holds the sum of its pieces: `held` counts the pieces before the last
// one, which runs from pieceStart to pieceEnd, and `restarts` how often the clock
// started again.
struct Span {
    bool present = false;
    double start = 0;
    double end = 0;
    double held = 0;
    double pieceStart = -1, pieceEnd = -1;
    int restarts = 0;
    double length() const
    {
        if (!present)
            return 0;
        return pieceStart < 0 ? end - start : held + pieceEnd - pieceStart;
    }
};

struct Spans {
    bool readable = false;  // the prober could open the file
    QString format;         // the container, as the prober names it
    QString videoCodec, audioCodec;
    Span video, audio;
    double fileOrderGap = 0;  // see fileOrderDistance
    double pictureShape = 0;  // see displayShape
};

// Where the prober should be: ffprobe beside the file tool 3 leads to ("ffprobe" when
// tool 3 leads nowhere).
QString expectedProberPath();
// The prober: that file, else ffprobe on the search path; "" when there is none.
QString proberPath();
// Every place proberPath looks, in its order (the file beside tool 3's, then ffprobe in
// each folder of the search path): what a missing prober's message names.
QStringList proberPlaces();
// The prober's command for path: every packet; with headSeconds > 0 only those of the
// file's first headSeconds; with tailFrom > 0 only those from tailFrom (seconds of the
// file) to its end.
QString probeCommand(const QString &prober, const QString &path, double headSeconds = 0, double tailFrom = 0);
// Reads the prober's compact output (stream and packet lines) of one reading in file order.
Spans readSpans(const QString &output);
// How far picture and sound lie apart in the file: the most seconds by which the packets
// of one stream that come before a packet of the other in the file run ahead of it (the
// picture of 20 s before the sound of 0.5 s: 19.5). Players read a file in order; sound
// that lies far behind its picture comes too late for them. Packets are taken in the
// order of their byte positions (packets without one are left out); a clock that starts
// again (two files joined end to end) starts the measure again, and the stretch between
// two windows of a long file counts for nothing. 0 when the file holds one stream only.
double fileOrderDistance(const QString &output);

// The shape the first picture stream of the prober's output shows: its width times its
// pixels' shape (sample_aspect_ratio; none said means square) over its height. 0 when the
// output names no picture size.
double displayShape(const QString &output);

// The spans of a file read in two readings, its first seconds and its last. The same
// packets may lie in both (a seek lands on the key frame at 0, a first window whose
// packets carry no pts never ends): each stream runs from its earlier start to its later
// end, and nothing is added up.
Spans joinReadings(const Spans &head, const Spans &tail);
// A stream of the reading whose clock started again.
bool restarted(const Spans &spans);
// Both windows hold packets of every stream the file lists: its first and last moments
// were seen.
bool windowsHoldEveryStream(const Spans &spans, double headSeconds, double tailFrom);
// Probes path with the prober. A file of more than 20 s (expectedLength) is read in its
// first 5 s and, in a reading of its own, its last 10 s; both windows grow fourfold until
// each shows every stream, up to the whole file. A file longer than expected is read to
// its end; one shorter than expected shows its last packets before the end window and is
// read further. A window whose clock starts again is no measure of what lies between
// the windows: the file is then read whole, where pieces of a joined file add up.
Spans probeSpans(const QString &prober, const QString &path, double expectedLength = 0);

// What the job promises.
struct Expectation {
    double length = 0;  // seconds of media the job is to produce
    bool picture = false;
    bool sound = false;
    // What the source holds over the job's stretch, when known: each stream is to last as
    // long as the source's own (sound that outlasts the picture, a header that claims too
    // little), and picture and sound to start and end as far apart as there.
    double sourcePictureLength = -1, sourceSoundLength = -1;
    double sourceStartGap = 0, sourceEndGap = 0;  // picture less sound
    // Picture and sound are to lie within fileOrderTolerance of each other in the file:
    // an MPEG program stream, which players (hardware players above all) read in order.
    bool inFileOrder = false;
    // The shape (width / height) the picture is to show (engine/pictureshape.h); 0: not held.
    double pictureShape = 0;
    // The share of its length by which the result's clock may run short of its sound, and
    // the picture kept in step with that clock (see clockShortfall).
    double clockShare = 0;
};

// How far a stream may fall short of (or run past) what it is to hold, whatever its
// length: a frame of a changed frame rate, sound frames padded at the end, the length
// rounded to a tenth. It does not grow with the length: measured on every target kind
// from AVI, MP4, WMV, MPEG-2 and FLV sources over 30 s and 600 s, and at 5 fps, 11025 Hz
// and 32 kbit/s, no result's stream ran more than 0.17 s from the source's, but for the
// clock of the encoder's WMA sound (clockShortfall).
constexpr double lengthTolerance = 0.3;
constexpr double stepTolerance = 0.3;
// In the MPEG program streams tool 3 writes picture and sound lie up to 0.8 s apart.
constexpr double fileOrderTolerance = 1.0;
// The shape a picture shows may differ by what its format can say (an MPEG-1 pixel shape
// rounded to the nearest of its list) and by the sizes made even.
constexpr double shapeTolerance = 0.02;

// The share by which the clock of the result of command (the tool command as built) runs
// short of its sound: 0 but where the encoder (tool 2) writes WMA sound into an ASF file.
// It counts the sound's times from the nominal bit rate, while the WMA encoder puts a whole
// number of bytes, rounded down, into each packet of a frame's samples: at 64 kbit/s and
// 44100 Hz 371 bytes stand for 46.44 ms, and the file says 46.375 ms (0.14 %; 0.41 % at
// 32 kbit/s). The sound itself is whole; re-encoding the picture, the encoder keeps it in
// step with that clock by dropping a frame now and then. sourceRate: the sample rate when
// the command gives none.
double clockShortfall(const QString &command, int sourceRate);

struct Verdict {
    bool ok = false;
    float percent = 0;  // how much of its length the shortest promised stream holds
    QString message;    // "" when ok: what is wrong, in the user's language
};
Verdict judge(const Spans &result, const Expectation &expected);

// The expectation with what the source's spans hold over [from, to] seconds from the
// source's first packet (to < 0: to its end).
Expectation sourceExpectation(Expectation e, const Spans &source, double from, double to);

// What a finished job's target must hold: a picture when its kind's result holds one
// and the source has one, a sound when the source has one and the options keep it ("-nosound"
// leaves it out), `length` seconds long; an MPEG program stream in file order; the
// picture of the shape the job gives it.
Expectation expectedStreams(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job, double length);

// The check of a finished job's target against what it must hold. When the verdict is a failure the source is probed too, wholly (wholeSource) or over
// [sourceFrom, sourceFrom + expected.length], so that what the source holds itself is not taken
// for the encoder's fault. Without a prober it fails, naming the prober's path.
Verdict checkTarget(const QString &target, const QString &source, const Expectation &expected, double sourceFrom,
                    bool wholeSource = false);

} // namespace resultcheck
