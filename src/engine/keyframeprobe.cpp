#include "engine/keyframeprobe.h"

#include "core/cmdoutput.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "core/toolpaths.h"
#include "engine/identifyprobe.h"

#include <QRegularExpression>
#include <cmath>

using namespace mdlMavrell;
using namespace jobrecords;

namespace keyframeprobe {

namespace {

QString FT(float x) { return FormatTime(x, 3, 1); }

bool isNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    return number.match(text).hasMatch();
}

} // namespace

QString seekText(float seconds)
{
    // Seven significant digits, as a single-precision value is written.
    QString text = QString::number(double(seconds), 'g', 7);
    if (text.contains(QLatin1Char('e')))
        text = numbertext::single(seconds);
    return text;
}

QString probeCommand(const QString &tool1, const QString &src, float seekSeconds)
{
    return tool1 + QStringLiteral(" -ao null -vo null -noframedrop -frames 1 ") + Quoted(src) + QStringLiteral(" -ss ")
           + seekText(seekSeconds) + QStringLiteral(" -endpos 0");
}

float parseReply(const QString &reply)
{
    int v;
    const int a = reply.lastIndexOf(QLatin1String("A:"));
    if (a >= 0)
        v = reply.indexOf(QLatin1String("V:"), a);
    else
        v = reply.lastIndexOf(QLatin1String("V:"));
    if (v < 0)
        return -1;
    const int p = v + 2;
    const int dot = reply.indexOf(QLatin1Char('.'), p);
    const int slash = reply.indexOf(QLatin1Char('/'), p);
    if (dot < 0)
        return -1;
    const QString value = reply.mid(p, dot + 2 - p).trimmed();
    if (!isNumber(value) || slash <= dot)
        return -1;
    return static_cast<float>(numbertext::Val(value));
}

float getKeyFrameTime(const QString &src, float seekSeconds)
{
    const QString tool1 = ToolPath(1);
    if (!engine::checkPluginFile(tool1))
        return 0;
    if (!Quotable(src))
        return -1;
    return parseReply(cmdoutput::GetCmdOutput(probeCommand(tool1, src, seekSeconds), false));
}

QString oneDecimal(float x)
{
    const double hundredths = numbertext::roundHalfEven(double(x) * 100.0) / 100.0;
    return numbertext::fixed(hundredths, 1);
}

float seekScale(const jobrecords::SourceInfo &s, float near, const std::function<float(float)> &toolProbe)
{
    if (s.srcStartTime == 0)
        return 1;
    auto probe = [&](float t) { return toolProbe(t) - s.srcStartTime; };
    // A series of five probes going back two seconds at a time from t, whose reported
    // times over their seek times give the tool's time scale.
    auto series = [&](float t, float k) {
        float K[5], T[5];
        K[0] = k;
        T[0] = t;
        for (int i = 1; i <= 4; ++i) {
            const float ti = T[0] - 2.0f * i;
            const float ki = probe(ti);
            if (ki > 0 && ti > 0) {
                K[i] = ki;
                T[i] = ti;
            } else {
                K[i] = K[0];
                T[i] = T[0];
            }
        }
        return (K[0] + K[1] + K[2] + K[3] + K[4]) / (T[0] + T[1] + T[2] + T[3] + T[4]);
    };

    // First over the whole file, from near its end; then near the time itself.
    float scale = 1;
    const float L = s.srcLength;
    if (L > 0) {
        const float step = L / 10.0f;
        for (int i = 0; i < 9; ++i) {
            const float t = L - 1.0f - i * step;
            if (t < step)
                break;
            const float k = probe(t);
            if (k > 0 && t > 0) {
                scale = series(t, k);
                break;
            }
        }
    }
    const float t = near / scale;
    const float k = probe(t);
    if (k > 0 && t > 0)
        scale = series(t, k);
    return scale;
}

Alignment alignCutStart(const jobrecords::SourceInfo &s, const jobrecords::JobSettings &j, const QString &range,
                         float encodeSecs, const AlignmentHooks &hooks)
{
    Alignment out{range, encodeSecs};
    out.start = j.markOut > 0 ? j.markIn : 0;
    if (!(j.markIn > 0) || isAudioTarget(j))
        return out;
    out.ran = true;

    auto probe = [&](float t) { return hooks.probe(t) - s.srcStartTime; };
    // The range the encoder is given: the seek, then the length written from there.
    auto rangeAt = [&](float seek) {
        return QStringLiteral(" -ss ") + FT(seek) + QStringLiteral(" -endpos ") + FT(out.encodeSeconds);
    };
    auto note = [&](bool show) {
        if (hooks.showNote)
            hooks.showNote(show);
    };
    note(true);
    float scale = seekScale(s, j.markIn, hooks.probe);

    const float first0 = probe(j.markIn / scale);
    if (first0 != -1) {
        const float first = first0 < 0 ? 0 : first0;
        const QString delayText = oneDecimal(first - j.markIn);
        const float delay = static_cast<float>(numbertext::Val(delayText));
        if (delay <= 0.25f) {
            if (std::fabs(delay) > 7) {
                out.previousKeyFrame = -1;
            } else if (delay < 0 && first0 >= 0 && !out.range.isEmpty()) {
                // The seek at the mark lands on the key frame before it, and the encoder's
                // length counts from there: the length runs on to the marked end.
                out.encodeSeconds -= delay;
                out.start = first;
                out.range = rangeAt(j.markIn / scale);
            }
        } else {
            float prev = -1;
            float prevSeek = 0;  // the seek time that lands on prev (0: the source's start)
            if (delay <= 16) {
                for (int d = -1; d >= -15; --d) {
                    const float seek = j.markIn / scale + d;
                    const float k = probe(seek);
                    if (k <= 0) {
                        prev = 0;
                        prevSeek = 0;
                    } else if (k != first && k < j.markIn) {
                        prev = k;
                        prevSeek = seek;
                        break;
                    }
                }
            }
            out.previousKeyFrame = prev;
            if (prev != -1) {
                const QString advanceText = oneDecimal(j.markIn - prev);
                const float advance = static_cast<float>(numbertext::Val(advanceText));
                const bool withEnd = first < j.markOut;
                QString text = lng[withEnd ? txt::KeyFrameLaterStartAndEnd : txt::KeyFrameLaterStart];
                text.replace(QStringLiteral("aaa"), FT(j.markIn));
                text.replace(QStringLiteral("ccc"), delayText);
                text.replace(QStringLiteral("ddd"), FT(j.markIn));
                text.replace(QStringLiteral("eee"), FT(j.markIn + delay));
                text.replace(QStringLiteral("fff"), FT(j.markIn - advance));
                text.replace(QStringLiteral("ggg"), advanceText);
                if (withEnd) {
                    text.replace(QStringLiteral("hhh"), FT(j.markIn));
                    text.replace(QStringLiteral("iii"), delayText);
                }
                text.replace(QStringLiteral("bbb"), j.actionWord.trimmed());
                const prompts::Buttons buttons = withEnd ? prompts::Buttons::YesNoCancel : prompts::Buttons::OkCancel;
                const prompts::Answer answer =
                    hooks.ask ? hooks.ask(text, buttons) : prompts::MsgBox(text, buttons);
                // The encoder's seek lands where the player's probe landed for the same
                // seek time: on a key frame near it, at or after the time for AVI files,
                // up to about half a second before it for MPEG programs and ASF files.
                // A seek to a key frame's own time less a margin may therefore land on
                // the key frame before it, so each range seeks with the time whose probe
                // found its key frame. The encoder's -endpos is the length written from
                // where the output really starts, the key frame, so the length runs from
                // that key frame to the marked end.
                if (answer == prompts::Answer::Yes || answer == prompts::Answer::Ok) {
                    out.encodeSeconds = out.encodeSeconds + (j.markIn - prev);
                    out.start = prev;
                    out.range = rangeAt(prevSeek);
                } else if (answer == prompts::Answer::No) {
                    out.encodeSeconds = out.encodeSeconds - (first - j.markIn);
                    out.start = first;
                    out.range = rangeAt(j.markIn / scale);
                } else {
                    note(false);
                    out.cancelled = true;
                    return out;
                }
                scale = 1;
            }
        }
    }

    if (scale != 1)
        out.range = rangeAt(j.markIn / scale);
    note(false);
    return out;
}

} // namespace keyframeprobe
