#include "core/timetext.h"

#include "core/numbertext.h"

#include <QStringList>
#include <cmath>

namespace mdlMavrell {

QString FormatTime(float seconds, int style, int decimals, int *parts)
{
    // Cut to hundredths first, as the display always has.
    double t = seconds < 0 ? 0.0 : double(seconds);
    t = numtext::Int((t + 0.004) * 100.0) / 100.0;
    if (decimals < 0)
        decimals = 0;
    // Round to the shown decimals before splitting into fields, so that 119.96 shown
    // with one decimal is 02:00.0 and never 01:60.0. Whole seconds are cut, not rounded.
    const double scale = std::pow(10.0, decimals);
    if (decimals >= 1)
        t = numtext::roundHalfEven(t * scale) / scale;
    else
        t = numtext::Int(t + 1e-9);

    const bool twoDigitSecs = !(t < 10 && style < 2);
    auto secsText = [&](double v) {
        QString s = numtext::fixed(v, decimals);
        if (twoDigitSecs) {
            const int intDigits = decimals >= 1 ? int(s.indexOf('.')) : int(s.size());
            if (intDigits < 2)
                s.prepend(QString(2 - intDigits, '0'));
        }
        return s;
    };

    int hours, minutes;
    if (style == 4) {
        hours = 0;
        minutes = int(numtext::Int(t / 60));
    } else {
        hours = int(numtext::Int(t / 3600));
        minutes = int(numtext::Int((t - hours * 3600.0) / 60));
    }
    double secs = t - hours * 3600.0 - minutes * 60.0;
    if (secs < 0)
        secs = 0;
    QString text = secsText(decimals >= 1 ? secs : numtext::Int(secs + 1e-9));
    int p = 1;
    auto two = [](int v) { return v < 10 ? QStringLiteral("0") + QString::number(v) : QString::number(v); };
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
        text = secsText(t);
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
        sum = numtext::Val(text);
    } else {
        const QStringList fields = text.split(':');
        double factor = 1;
        for (int i = int(fields.size()) - 1; i >= 0; --i) {
            sum += numtext::Val(fields[i]) * factor;
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
