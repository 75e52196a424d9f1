#include "engine/encodeprogress.h"

#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"

#include <QRegularExpression>
#include <algorithm>

using namespace mdlMavrell;

namespace encodeprogress {

namespace {

// A status line longer than this without its end marker is not a status line.
constexpr int maxPendingLine = 512;

bool readValue(const QString &valueText, bool tool3, float &seconds)
{
    if (tool3) {
        static const QRegularExpression clock(QStringLiteral("^-?(\\d+:)?(\\d+:)?\\d+(\\.\\d+)?$"));
        if (!clock.match(valueText).hasMatch())
            return false;  // "N/A" and the like
        seconds = valueText.startsWith(QLatin1Char('-')) ? 0.0f : ParseTime(valueText);
        return true;
    }
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(valueText).hasMatch())
        return false;
    seconds = static_cast<float>(numbertext::Val(valueText));
    return true;
}

float threshold(bool tool3) { return tool3 ? 3600.0f : 1800.0f; }

} // namespace

Reading readPosition(const QString &text, bool tool3)
{
    const QString start = tool3 ? QStringLiteral("time=") : QStringLiteral("Pos:");
    const QString end = tool3 ? QStringLiteral("bitrate") : QStringLiteral("s ");
    Reading r;
    // Past the last status line only a start marker cut in two at the end may matter.
    int keep = start.size() - 1;
    while (keep > 0 && !text.endsWith(QStringView(start).left(keep)))
        --keep;
    r.consumed = text.size() - keep;
    bool pendingKept = false;
    int from = text.size();
    while (from > 0) {
        const int pos = text.lastIndexOf(start, from - 1);
        if (pos < 0)
            break;
        from = pos;
        const int valueAt = pos + start.size();
        const int endAt = text.indexOf(end, valueAt + 1);
        if (endAt < 0) {
            // An unfinished status line at the end: keep it for the next read.
            if (!pendingKept) {
                pendingKept = true;
                r.consumed = text.size() - pos > maxPendingLine ? text.size() : pos;
            }
            continue;
        }
        float seconds = 0;
        if (readValue(text.mid(valueAt, endAt - valueAt).trimmed(), tool3, seconds)) {
            r.found = true;
            r.seconds = seconds;
            break;
        }
    }
    return r;
}

float percentOf(float seconds, float total, bool tool3)
{
    float pct;
    if (total == 0) {
        pct = 99.9f;
    } else {
        pct = seconds * 100.0f / total;
        if (total <= threshold(tool3))
            pct = static_cast<float>(numbertext::Int(pct));
        else
            pct = static_cast<float>(numbertext::roundHalfEven(pct * 10.0) / 10.0);
    }
    return std::clamp(pct, 0.0f, 99.9f);
}

QString percentText(float percent, float total, bool tool3)
{
    if (total > threshold(tool3))
        return numbertext::fixed(percent, 1);
    return numbertext::single(percent);
}

QString runningNote(float percent, float seconds, float total, bool tool3)
{
    QString note = lng[txt::ProgressPercent];
    note.replace(QStringLiteral("aaa"), percentText(percent, total, tool3));
    return note + QStringLiteral(" -->  ") + lng[txt::ReachedWord] + QStringLiteral(" ") + FormatTime(seconds, 1, 1) + lng[txt::Seconds];
}

float finalPercent(float current, bool endedByItself, int exitCode)
{
    Q_UNUSED(exitCode);
    if (endedByItself && current >= 99)
        return 100;
    return current;
}

QString lastMessageLine(const QString &output)
{
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    const QStringList lines = output.split(lineEnd);
    QString closing;
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QString line = it->trimmed();
        if (line.isEmpty() || line.contains(QLatin1String("Pos:")) || line.startsWith(QLatin1String("frame="))
            || line.startsWith(QLatin1String("size="))
            || (line.contains(QLatin1String("time=")) && line.contains(QLatin1String("bitrate="))))
            continue;
        if (line.startsWith(QLatin1String("Exiting...")) || line == QLatin1String("Conversion failed!")) {
            if (closing.isEmpty())
                closing = line;
            continue;
        }
        return line.left(300);
    }
    return closing.left(300);
}

QString startEstimateText()
{
    QString capt = lng[txt::ElapsedAndLeft];
    capt.replace(QStringLiteral("aaa"), QStringLiteral("00:00:00"));
    capt.replace(QStringLiteral("bbb"), QStringLiteral("?"));
    return capt;
}

} // namespace encodeprogress
