#include "engine/resultcheck.h"

#include "core/cmdoutput.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/toolpaths.h"

#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

using namespace mdlMavrell;

namespace resultcheck {

namespace {

QString secondsText(double s) { return numtext::fixed(s, 1); }

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

void widen(Span &s, double from, double to)
{
    if (!s.present) {
        s.present = true;
        s.start = from;
        s.end = to;
        return;
    }
    s.start = std::min(s.start, from);
    s.end = std::max(s.end, to);
}

// The part of a source's stream that lies within [from, to] (seconds of the source's file).
double within(const Span &s, double from, double to)
{
    if (!s.present)
        return 0;
    return std::max(0.0, std::min(s.end, to) - std::max(s.start, from));
}

} // namespace

QString proberPath()
{
    const QFileInfo tool3(ToolPath(3));
    const QString real = tool3.canonicalFilePath();
    if (!real.isEmpty()) {
        const QFileInfo beside(QFileInfo(real).absolutePath() + QStringLiteral("/ffprobe"));
        if (beside.isExecutable())
            return beside.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

QString probeCommand(const QString &prober, const QString &path, double length, double windowSeconds)
{
    QString cmd = prober
                  + QStringLiteral(" -v error -show_entries stream=index,codec_type,codec_name:"
                                   "packet=stream_index,pts_time,dts_time,duration_time:format=format_name -of compact");
    if (windowSeconds > 0 && length > 3 * windowSeconds)
        cmd += QStringLiteral(" -read_intervals %+") + numtext::fixed(windowSeconds, 0) + QLatin1Char(',')
               + numtext::fixed(length - 2 * windowSeconds, 0) + QLatin1Char('%');
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
    return r;
}

Spans probeSpans(const QString &prober, const QString &path, double expectedLength)
{
    mdlGetCmdOutput::RunLimits limits;
    limits.mirror = false;
    const mdlGetCmdOutput::RunResult run =
        mdlGetCmdOutput::RunTool(probeCommand(prober, path, expectedLength, 5), limits);
    return readSpans(run.output);
}

double lengthTolerance(double length) { return 0.5 + 0.03 * length; }

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
    const double tol = lengthTolerance(e.length);
    v.percent = 100;
    auto share = [&](double have) {
        return e.length > 0 ? float(std::clamp(have * 100.0 / e.length, 0.0, 100.0)) : 100.0f;
    };
    auto judgeLength = [&](const Span &s, double sourceLength, int entry) {
        const double want = sourceLength >= 0 ? std::min(e.length, sourceLength) : e.length;
        v.percent = std::min(v.percent, share(s.length() + (e.length - want)));
        if (e.length > 0 && std::fabs(s.length() - want) > tol && v.message.isEmpty())
            v.message = filled(entry, s.length(), e.length);
    };
    if (e.picture)
        judgeLength(result.video, e.sourcePictureLength, txt::ResultPictureShort);
    if (e.sound)
        judgeLength(result.audio, e.sourceSoundLength, txt::ResultSoundShort);
    if (v.message.isEmpty() && e.picture && e.sound) {
        if (std::fabs(result.video.start - result.audio.start) > stepTolerance)
            v.message = filled(txt::ResultStartsApart, result.video.start, result.audio.start);
        else if (std::fabs(result.video.end - result.audio.end) > stepTolerance + std::max(0.0, e.sourceEndGap))
            v.message = filled(txt::ResultEndsApart, result.video.end, result.audio.end);
    }
    v.ok = v.message.isEmpty();
    if (v.ok)
        v.percent = 100;
    return v;
}

Verdict checkTarget(const QString &target, const QString &source, double length, double sourceFrom)
{
    const QString prober = proberPath();
    if (prober.isEmpty()) {
        Verdict v;
        v.ok = true;
        v.percent = 100;
        return v;
    }
    Expectation e;
    e.length = length;
    e.picture = !isAudioTarget() && srcWidth * srcHeight > 0;
    // The options may leave the sound out ("No audio output").
    e.sound = !srcAudioCodec.isEmpty() && !audioOpts.contains(QLatin1String("-nosound"));
    const Spans result = probeSpans(prober, target, length);
    Verdict v = judge(result, e);
    if (v.ok || !result.readable || source.isEmpty())
        return v;
    // Measure the source over the job's stretch: what it lacks itself is no fault of the job.
    const Spans src = probeSpans(prober, source, sourceFrom + length);
    if (!src.readable || (!src.video.present && !src.audio.present))
        return v;
    const double origin = std::min(src.video.present ? src.video.start : src.audio.start,
                                   src.audio.present ? src.audio.start : src.video.start);
    const double from = origin + sourceFrom, to = from + length;
    if (e.picture && src.video.present)
        e.sourcePictureLength = within(src.video, from, to);
    if (e.sound && src.audio.present)
        e.sourceSoundLength = within(src.audio, from, to);
    if (src.video.present && src.audio.present)
        e.sourceEndGap = std::fabs(std::min(src.video.end, to) - std::min(src.audio.end, to));
    return judge(result, e);
}

} // namespace resultcheck
