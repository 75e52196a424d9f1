#include "core/timetext.h"

#include "core/numbertext.h"

#include <QStringList>
#include <cmath>

namespace mdlMavrell {

namespace {

// Hundredths of a second as "s.ss" with the given decimals (at most two carry
// digits, more are zeros); with twoDigits the whole seconds have at least two digits.
QString secondsText(long long hundredths, int decimals, bool twoDigits)
{
    QString s = QString::number(hundredths / 100);
    if (twoDigits && s.size() < 2)
        s.prepend(QLatin1Char('0'));
    if (decimals >= 1) {
        const QString frac = QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
        s += QLatin1Char('.') + frac.left(decimals) + QString(qMax(0, decimals - 2), QLatin1Char('0'));
    }
    return s;
}

// Hundredths rounded to the given decimals, halves away from zero (1.25 -> 1.3).
long long roundedHundredths(long long hundredths, int decimals)
{
    if (decimals >= 2)
        return hundredths;
    const long long step = decimals == 1 ? 10 : 100;
    return (hundredths + step / 2) / step * step;
}

} // namespace

QString FormatTime(float seconds, int style, int decimals, int *parts)
{
    // Cut to hundredths first, as the display always has; from here on the time is a
    // whole number of hundredths, so no rounding depends on binary fractions.
    const double t = seconds < 0 ? 0.0 : double(seconds);
    const long long cut = (long long)numbertext::Int((t + 0.004) * 100.0);
    if (decimals < 0)
        decimals = 0;
    // Seconds pattern: "0" below ten seconds in the short styles, else "00".
    const bool twoDigitSecs = !(cut < 1000 && style < 2);
    // The pattern rounds to its decimals, halves away from zero; only the whole-second
    // "00" pattern of a field cuts, so a field never rounds up to the next second.
    // Rounding comes before the split, so 119.96 shown with one decimal is 02:00.0 and
    // never 01:60.0.
    const long long rounded = roundedHundredths(cut, decimals);
    const long long split = (decimals == 0 && twoDigitSecs) ? cut / 100 * 100 : rounded;

    long long hours, minutes;
    if (style == 4) {
        hours = 0;
        minutes = split / 6000;
    } else {
        hours = split / 360000;
        minutes = (split - hours * 360000) / 6000;
    }
    const long long secs = split - hours * 360000 - minutes * 6000;
    QString text = secondsText(secs, decimals, twoDigitSecs);
    int p = 1;
    auto two = [](long long v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    // With hours shown the minutes are shown too: 3605 s is 01:00:05, not 01:05.
    if (style >= 2 || minutes >= 1 || hours >= 1) {
        text = two(minutes) + ':' + text;
        p = 2;
    }
    if (style == 3 || hours >= 1) {
        text = two(hours) + ':' + text;
        p = 3;
    }
    if (style == 0) {
        // Plain seconds: the whole time through the pattern, which rounds.
        text = secondsText(rounded, decimals, twoDigitSecs);
        p = 1;
    }
    if (parts)
        *parts = p;
    return text;
}

float ParseTime(const QString &text, float offset)
{
    double sum = 0;
    if (!text.contains(':')) {
        sum = numbertext::Val(text);
    } else {
        const QStringList fields = text.split(':');
        double factor = 1;
        for (int i = int(fields.size()) - 1; i >= 0; --i) {
            sum += numbertext::Val(fields[i]) * factor;
            factor *= 60;
        }
    }
    sum += offset;
    return sum < 0 ? 0.0f : float(sum);
}

QString GetBetween(const QString &text, const QString &startTag, const QString &endTag, bool matchCase, int &pos,
                   bool keepTags)
{
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int from = pos < 0 ? 0 : pos;
    const int s = int(text.indexOf(startTag, from, cs));
    if (s < 0 || startTag.isEmpty())
        return {};
    const int valueStart = s + int(startTag.size());
    int e;
    int endLen;
    if (endTag.isEmpty()) {
        // End of the line: CR or LF, whichever comes first.
        const int cr = int(text.indexOf('\r', valueStart));
        const int lf = int(text.indexOf('\n', valueStart));
        e = (cr < 0) ? lf : (lf < 0 ? cr : qMin(cr, lf));
        endLen = 1;
    } else {
        e = int(text.indexOf(endTag, valueStart, cs));
        endLen = int(endTag.size());
    }
    if (e < 0)
        return {};
    QString value = text.mid(valueStart, e - valueStart);
    // Blanks only, as the tools pad their values with spaces.
    while (value.startsWith(' '))
        value.remove(0, 1);
    while (value.endsWith(' '))
        value.chop(1);
    pos = e + endLen;
    if (keepTags)
        return startTag + value + (endTag.isEmpty() ? QString(text[e]) : endTag);
    return value;
}

QString GetBetween(const QString &text, const QString &startTag, const QString &endTag, bool matchCase)
{
    int pos = 0;
    return GetBetween(text, startTag, endTag, matchCase, pos, false);
}

QString GetBeforeMark(const QString &text, const QString &sep, const QString &mark)
{
    const int m = int(text.indexOf(mark));
    if (m < 0 || sep.isEmpty())
        return {};
    const int i = int(text.lastIndexOf(sep, m - int(sep.size())));
    if (i < 0 || m - int(sep.size()) < 0)
        return {};
    return text.mid(i + sep.size(), m - i - int(sep.size()));
}

} // namespace mdlMavrell
