#include "engine/resultcheck.h"

#include "core/cmdoutput.h"
#include "core/mdlmavrell.h"
#include "engine/pictureshape.h"
#include "engine/targetkinds.h"
#include "core/numbertext.h"
#include "core/toolpaths.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace mdlMavrell;

namespace resultcheck {

namespace {

QString secondsText(double s) { return numbertext::fixed(s, 1); }

QString filled(int entry, double a, double b)
{
    QString text = lng[entry];
    text.replace(QStringLiteral("aaa"), secondsText(a));
    text.replace(QStringLiteral("bbb"), secondsText(b));
    return text;
}

// The key=value fields of one compact line ("packet|stream_index=0|pts_time=1.2|...").
QHash<QString, QString> fieldsOf(const QString &line)
{
    QHash<QString, QString> f;
    const QStringList parts = line.split(QLatin1Char('|'));
    for (int i = 1; i < parts.size(); ++i) {
        const int eq = int(parts[i].indexOf(QLatin1Char('=')));
        if (eq > 0)
            f.insert(parts[i].left(eq), parts[i].mid(eq + 1).trimmed());
    }
    return f;
}

bool number(const QString &text, double &out)
{
    bool ok = false;
    out = text.toDouble(&ok);
    return ok && std::isfinite(out);
}

// Packets of one reading in file order. A time more than a second before the piece's
// last one is no reordered frame but a new start of the clock.
void widen(Span &s, double from, double to)
{
    if (!s.present) {
        s.present = true;
        s.start = s.pieceStart = from;
        s.end = s.pieceEnd = to;
        return;
    }
    s.start = std::min(s.start, from);
    s.end = std::max(s.end, to);
    if (from < s.pieceEnd - 1.0) {
        s.held += s.pieceEnd - s.pieceStart;
        s.pieceStart = from;
        s.pieceEnd = to;
        ++s.restarts;
        return;
    }
    s.pieceStart = std::min(s.pieceStart, from);
    s.pieceEnd = std::max(s.pieceEnd, to);
}

// The part of a source's stream that lies within [from, to] (seconds of the source's file).
double within(const Span &s, double from, double to)
{
    if (!s.present)
        return 0;
    return std::max(0.0, std::min(s.end, to) - std::max(s.start, from));
}

// The time of the file's first packet, of whichever stream is present.
double firstPacket(const Spans &spans)
{
    return std::min(spans.video.present ? spans.video.start : spans.audio.start,
                    spans.audio.present ? spans.audio.start : spans.video.start);
}

} // namespace

QString expectedProberPath()
{
    const QString real = QFileInfo(ToolPath(3)).canonicalFilePath();
    if (!real.isEmpty())
        return QFileInfo(real).absolutePath() + QStringLiteral("/ffprobe");
    return QStringLiteral("ffprobe");
}

QString proberPath()
{
    const QFileInfo beside(expectedProberPath());
    if (beside.isAbsolute() && beside.isExecutable())
        return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

QStringList proberPlaces()
{
    QStringList places;
    const QString beside = expectedProberPath();
    if (QFileInfo(beside).isAbsolute())
        places << beside;
    const QStringList folders = QString::fromLocal8Bit(qgetenv("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &folder : folders) {
        const QString place = QDir::cleanPath(folder + QStringLiteral("/ffprobe"));
        if (!places.contains(place))
            places << place;
    }
    return places;
}

QString probeCommand(const QString &prober, const QString &path, double headSeconds, double tailFrom)
{
    QString cmd = prober
                  + QStringLiteral(" -v error -show_entries stream=index,codec_type,codec_name,width,height,sample_aspect_ratio:"
                                   "packet=stream_index,pts_time,dts_time,duration_time,pos:format=format_name -of compact");
    if (headSeconds > 0)
        cmd += QStringLiteral(" -read_intervals %+") + numbertext::fixed(headSeconds, 0);
    else if (tailFrom > 0)
        cmd += QStringLiteral(" -read_intervals ") + numbertext::fixed(std::floor(tailFrom), 0) + QLatin1Char('%');
    return cmd + QLatin1Char(' ') + Quoted(path);
}

Spans readSpans(const QString &output)
{
    Spans r;
    const QStringList lines = output.split(QLatin1Char('\n'));
    // The prober prints the packets before the streams: the stream lines first.
    QHash<QString, Span *> spanOf;  // stream index -> the span it counts for
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("stream|"))) {
            const auto f = fieldsOf(line);
            const QString type = f.value(QStringLiteral("codec_type"));
            const QString codec = f.value(QStringLiteral("codec_name"));
            r.readable = true;
            // A stream of a codec the prober does not know decodes for nobody.
            if (codec.isEmpty() || codec == QLatin1String("unknown"))
                continue;
            // Only the first stream of each kind counts.
            if (type == QLatin1String("video") && r.videoCodec.isEmpty()) {
                r.videoCodec = f.value(QStringLiteral("codec_name"));
                spanOf.insert(f.value(QStringLiteral("index")), &r.video);
            } else if (type == QLatin1String("audio") && r.audioCodec.isEmpty()) {
                r.audioCodec = f.value(QStringLiteral("codec_name"));
                spanOf.insert(f.value(QStringLiteral("index")), &r.audio);
            }
        } else if (line.startsWith(QLatin1String("format|"))) {
            r.format = fieldsOf(line).value(QStringLiteral("format_name"));
            r.readable = true;
        }
    }
    for (const QString &raw : lines) {
        if (!raw.startsWith(QLatin1String("packet|")))
            continue;
        const auto f = fieldsOf(raw.trimmed());
        Span *span = spanOf.value(f.value(QStringLiteral("stream_index")));
        double t = 0, d = 0;
        if (!span || (!number(f.value(QStringLiteral("pts_time")), t) && !number(f.value(QStringLiteral("dts_time")), t)))
            continue;
        if (!number(f.value(QStringLiteral("duration_time")), d) || d < 0)
            d = 0;
        widen(*span, t, t + d);
    }
    r.fileOrderGap = fileOrderDistance(output);
    r.pictureShape = displayShape(output);
    return r;
}

double displayShape(const QString &output)
{
    for (const QString &raw : output.split(QLatin1Char('\n'))) {
        if (!raw.startsWith(QLatin1String("stream|")))
            continue;
        const auto f = fieldsOf(raw.trimmed());
        const QString codec = f.value(QStringLiteral("codec_name"));
        if (f.value(QStringLiteral("codec_type")) != QLatin1String("video") || codec.isEmpty()
            || codec == QLatin1String("unknown"))
            continue;
        double w = 0, h = 0, num = 0, den = 0;
        if (!number(f.value(QStringLiteral("width")), w) || !number(f.value(QStringLiteral("height")), h) || w <= 0
            || h <= 0)
            return 0;
        const QStringList sar = f.value(QStringLiteral("sample_aspect_ratio")).split(QLatin1Char(':'));
        double pixel = 1;
        if (sar.size() == 2 && number(sar[0], num) && number(sar[1], den) && num > 0 && den > 0)
            pixel = num / den;
        return w * pixel / h;
    }
    return 0;
}

double fileOrderDistance(const QString &output)
{
    const QStringList lines = output.split(QLatin1Char('\n'));
    // The first video and the first audio stream of a known codec, as the spans count them.
    QString videoIndex, audioIndex;
    for (const QString &raw : lines) {
        if (!raw.startsWith(QLatin1String("stream|")))
            continue;
        const auto f = fieldsOf(raw.trimmed());
        const QString codec = f.value(QStringLiteral("codec_name"));
        if (codec.isEmpty() || codec == QLatin1String("unknown"))
            continue;
        const QString type = f.value(QStringLiteral("codec_type"));
        if (type == QLatin1String("video") && videoIndex.isEmpty())
            videoIndex = f.value(QStringLiteral("index"));
        else if (type == QLatin1String("audio") && audioIndex.isEmpty())
            audioIndex = f.value(QStringLiteral("index"));
    }
    if (videoIndex.isEmpty() || audioIndex.isEmpty())
        return 0;

    struct Packet {
        double pos, time;
        bool video;
    };
    QList<Packet> packets;
    for (const QString &raw : lines) {
        if (!raw.startsWith(QLatin1String("packet|")))
            continue;
        const auto f = fieldsOf(raw.trimmed());
        const QString index = f.value(QStringLiteral("stream_index"));
        double pos = 0, t = 0;
        if ((index != videoIndex && index != audioIndex) || !number(f.value(QStringLiteral("pos")), pos) || pos < 0
            || (!number(f.value(QStringLiteral("pts_time")), t) && !number(f.value(QStringLiteral("dts_time")), t)))
            continue;
        packets.append({pos, t, index == videoIndex});
    }
    std::stable_sort(packets.begin(), packets.end(), [](const Packet &a, const Packet &b) { return a.pos < b.pos; });

    // The latest moment each stream has reached so far in the file. A packet is late by
    // what the other stream reached before it; a stream that ended earlier, or the
    // times of an earlier window, reach less and count for nothing.
    struct Reached {
        bool seen = false;
        double time = 0;
    } picture, sound;
    double worst = 0;
    for (const Packet &p : packets) {
        Reached &own = p.video ? picture : sound;
        const Reached &other = p.video ? sound : picture;
        if (own.seen && p.time < own.time - 1.0)
            picture = sound = Reached();  // a new start of the clock
        if (other.seen)
            worst = std::max(worst, other.time - p.time);
        own.time = own.seen ? std::max(own.time, p.time) : p.time;
        own.seen = true;
    }
    return worst;
}

Spans joinReadings(const Spans &head, const Spans &tail)
{
    if (!head.readable)
        return tail;
    Spans r = head;
    if (r.videoCodec.isEmpty())
        r.videoCodec = tail.videoCodec;
    if (r.audioCodec.isEmpty())
        r.audioCodec = tail.audioCodec;
    if (r.format.isEmpty())
        r.format = tail.format;
    auto join = [](Span &s, const Span &t) {
        if (!t.present)
            return;
        if (!s.present) {
            s = t;
            return;
        }
        // One stream seen in two readings: from its first moment to its last, one piece
        // (readings whose clock started again are not joined: the file is read whole).
        s.start = std::min(s.start, t.start);
        s.end = std::max(s.end, t.end);
        s.held = 0;
        s.pieceStart = s.start;
        s.pieceEnd = s.end;
        s.restarts = s.restarts + t.restarts;
    };
    join(r.video, tail.video);
    join(r.audio, tail.audio);
    // Each reading measures the file order within itself; what lies between them is not read.
    r.fileOrderGap = std::max(head.fileOrderGap, tail.fileOrderGap);
    if (r.pictureShape <= 0)
        r.pictureShape = tail.pictureShape;
    return r;
}

bool restarted(const Spans &spans) { return spans.video.restarts > 0 || spans.audio.restarts > 0; }

bool windowsHoldEveryStream(const Spans &spans, double headSeconds, double tailFrom)
{
    // A stream the file lists but whose packets the windows missed.
    if (spans.video.present == spans.videoCodec.isEmpty() || spans.audio.present == spans.audioCodec.isEmpty())
        return false;
    if (!spans.video.present && !spans.audio.present)
        return true;
    // The first window runs from the file's first packet.
    const double origin = firstPacket(spans);
    for (const Span *s : {&spans.video, &spans.audio}) {
        // A stream that shows up in one window only has its first or last moment in the
        // part that was not read.
        if (s->present && (s->start - origin > headSeconds || s->end < tailFrom))
            return false;
    }
    return true;
}

Spans probeSpans(const QString &prober, const QString &path, double expectedLength)
{
    cmdoutput::RunLimits limits;
    limits.mirror = false;
    auto read = [&](double head, double tailFrom) {
        return readSpans(cmdoutput::RunTool(probeCommand(prober, path, head, tailFrom), limits).output);
    };
    // The end window grows until every stream shows up in both windows. In an MPEG program
    // stream a stream's last packets can lie far before the other's in the file, so a
    // seek near the end finds none of them; only then is more of the file read.
    // Each window is a reading of its own: after a seek the prober may hand on packets of
    // the first window again (the seek lands on a key frame far before the seek time), and
    // the first window reads on to the end when the packets carry no pts.
    double head = 5, tail = 10;
    while (expectedLength > head + tail + 5) {
        const double tailFrom = expectedLength - tail;
        const Spans first = read(head, 0);
        if (!first.readable)
            return first;
        // After a seek the prober guesses the times of packets without a pts of their own,
        // and a program stream's sound may lie far from its picture in the file: times
        // that start again in a window tell nothing of what lies between the windows.
        if (restarted(first))
            break;
        if (windowsHoldEveryStream(first, head, tailFrom))
            return first;  // the first window read on to the file's end
        const Spans last = read(0, tailFrom);
        if (restarted(last))
            break;
        const Spans both = joinReadings(first, last);
        if (windowsHoldEveryStream(both, head, tailFrom))
            return both;
        head *= 4;
        tail *= 4;
    }
    return read(0, 0);
}

double clockShortfall(const QString &command, int sourceRate)
{
    // The encoder's run: the first line of the command.
    const QStringList words = command.section(QLatin1Char('\n'), 0, 0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!words.contains(QLatin1String("format=asf")))
        return 0;
    int version = 0;
    double bits = 0;
    int samples = sourceRate;
    for (int i = 0; i < words.size(); ++i) {
        if (words[i] == QLatin1String("-srate") && i + 1 < words.size())
            samples = words[i + 1].toInt();
        if (!words[i].contains(QLatin1String("acodec=wmav")))
            continue;
        for (const QString &option : words[i].split(QLatin1Char(':'))) {
            if (option == QLatin1String("acodec=wmav1") || option == QLatin1String("acodec=wmav2"))
                version = option.right(1).toInt();
            else if (option.startsWith(QLatin1String("abitrate=")))
                bits = option.mid(9).toDouble() * 1000;
        }
    }
    if (!version || bits <= 0 || samples <= 0)
        return 0;
    // The samples of one WMA frame by its sample rate (and the codec's version), as the codec has it.
    const int frame = samples <= 16000 ? 512 : samples <= 22050 || (samples <= 32000 && version == 1) ? 1024 : 2048;
    const double exact = bits * frame / (8.0 * samples);
    return exact <= 1 ? 0 : 1 - std::floor(exact) / exact;
}

Verdict judge(const Spans &result, const Expectation &e)
{
    Verdict v;
    const bool picture = result.video.present;
    const bool sound = result.audio.present;
    if (!result.readable || (!picture && !sound)) {
        v.message = lng[txt::ResultUnreadable];
        return v;
    }
    if (e.picture && !picture) {
        v.message = lng[txt::ResultHasNoPicture];
        return v;
    }
    if (e.sound && !sound) {
        v.message = lng[txt::ResultHasNoSound];
        return v;
    }
    v.percent = 100;
    // Each stream against what the source holds of it over the job's stretch, when that
    // is known (a source whose sound outlasts its picture, or whose length header is
    // short), else against the job's length.
    // A stream that starts later than the other in the source may start with it in the
    // result, its first picture (or silence) filling the gap: it is that much longer.
    const double gap = e.picture && e.sound ? e.sourceStartGap : 0;
    auto judgeLength = [&](const Span &s, double sourceLength, double filling, int entry) {
        const double want = sourceLength >= 0 ? sourceLength : e.length;
        if (want > 0)
            v.percent = std::min(v.percent, float(std::clamp(s.length() * 100.0 / want, 0.0, 100.0)));
        const double shortBy = lengthTolerance + e.clockShare * want;
        if (want > 0 && (s.length() < want - shortBy || s.length() > want + filling + lengthTolerance)
            && v.message.isEmpty())
            v.message = filled(entry, s.length(), want);
    };
    if (e.picture)
        judgeLength(result.video, e.sourcePictureLength, std::max(0.0, gap), txt::ResultPictureShort);
    if (e.sound)
        judgeLength(result.audio, e.sourceSoundLength, std::max(0.0, -gap), txt::ResultSoundShort);
    if (v.message.isEmpty() && e.picture && e.sound) {
        // Picture and sound start as far apart as in the source, or closer where the later
        // one was filled, and end as far apart as there (together when the source is unknown).
        const double startGap = result.video.start - result.audio.start;
        if (startGap < std::min(0.0, gap) - stepTolerance || startGap > std::max(0.0, gap) + stepTolerance)
            v.message = filled(txt::ResultStartsApart, result.video.start, result.audio.start);
        else if (std::fabs(result.video.end - result.audio.end - e.sourceEndGap) > stepTolerance + e.clockShare * e.length)
            v.message = filled(txt::ResultEndsApart, result.video.end, result.audio.end);
        else if (e.inFileOrder && result.fileOrderGap > fileOrderTolerance)
            v.message = filled(txt::ResultBadlyInterleaved, result.fileOrderGap, 0);
    }
    if (v.message.isEmpty() && e.picture && e.pictureShape > 0 && result.pictureShape > 0
        && std::fabs(result.pictureShape / e.pictureShape - 1) > shapeTolerance) {
        v.message = lng[txt::ResultShapeChanged];
        v.message.replace(QStringLiteral("aaa"), numbertext::fixed(result.pictureShape, 2));
        v.message.replace(QStringLiteral("bbb"), numbertext::fixed(e.pictureShape, 2));
    }
    v.ok = v.message.isEmpty();
    if (v.ok)
        v.percent = 100;
    return v;
}

Expectation sourceExpectation(Expectation e, const Spans &src, double from, double to)
{
    if (!src.readable || (!src.video.present && !src.audio.present))
        return e;
    const double origin = firstPacket(src);
    from += origin;
    to = to < 0 ? std::numeric_limits<double>::infinity() : to + origin;
    // All of a stream when the job takes all of it (its pieces summed), else what lies in the range.
    auto held = [&](const Span &s) { return from <= origin && std::isinf(to) ? s.length() : within(s, from, to); };
    if (e.picture && src.video.present)
        e.sourcePictureLength = held(src.video);
    if (e.sound && src.audio.present)
        e.sourceSoundLength = held(src.audio);
    if (e.picture && e.sound && src.video.present && src.audio.present) {
        e.sourceStartGap = std::max(src.video.start, from) - std::max(src.audio.start, from);
        e.sourceEndGap = std::min(src.video.end, to) - std::min(src.audio.end, to);
    }
    return e;
}

Expectation expectedStreams(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job, double length)
{
    Expectation e;
    e.length = length;
    const engine::TargetKind *kind = engine::targetKindOf(job);
    e.picture = (!kind || kind->resultPicture) && source.hasPicture();
    // The options may leave the sound out ("No audio output").
    e.sound = source.hasSound() && !job.audioOpts.contains(QLatin1String("-nosound"));
    e.inFileOrder = kind && !kind->soundTarget && engine::copyContainer(job.targetExt) == QLatin1String("mpegps");
    if (e.picture)
        e.pictureShape = pictureshape::shapeFor(source, job).aspect;
    return e;
}

Verdict checkTarget(const QString &target, const QString &source, const Expectation &e, double sourceFrom,
                    bool wholeSource)
{
    const double length = e.length;
    const QString prober = proberPath();
    if (prober.isEmpty()) {
        // Unchecked is not a success: the prober is named like a missing tool.
        Verdict v;
        v.message = lng[txt::ProberMissing] + QStringLiteral("\r\n\r\n") + proberPlaces().join(QStringLiteral("\r\n"));
        return v;
    }
    const Spans result = probeSpans(prober, target, length);
    Verdict v = judge(result, e);
    if (v.ok || !result.readable || source.isEmpty())
        return v;
    // Measure the source over the job's stretch: what it holds itself (streams that do
    // not line up, more than its header says) is what the job is to give.
    // The whole source is read: its times may start again (files joined end to end), and
    // the windows of a long file would miss that.
    const Spans src = probeSpans(prober, source, 0);
    return judge(result, sourceExpectation(e, src, wholeSource ? 0 : sourceFrom, wholeSource ? -1 : sourceFrom + length));
}

} // namespace resultcheck
