#include "core/numbertext.h"

#include <charconv>
#include <cmath>
#include <string>

namespace numbertext {

double Val(const QString &text)
{
    // Leading blanks, then the longest prefix that reads as a number.
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::string s;
    int j = i;
    if (j < n && (text[j] == '+' || text[j] == '-'))
        s += char(text[j++].unicode());
    bool digits = false, point = false;
    while (j < n) {
        const QChar c = text[j];
        if (c.isDigit() && c.unicode() < 128) {
            s += char(c.unicode());
            digits = true;
        } else if (c == '.' && !point) {
            s += '.';
            point = true;
        } else {
            break;
        }
        ++j;
    }
    if (!digits)
        return 0;
    // An exponent only when digits follow it.
    if (j + 1 < n && (text[j] == 'e' || text[j] == 'E')) {
        int k = j + 1;
        std::string e = "e";
        if (k < n && (text[k] == '+' || text[k] == '-'))
            e += char(text[k++].unicode());
        bool expDigits = false;
        while (k < n && text[k].isDigit() && text[k].unicode() < 128) {
            e += char(text[k++].unicode());
            expDigits = true;
        }
        if (expDigits)
            s += e;
    }
    double v = 0;
    const char *b = s.data();
    if (*b == '+')
        ++b;
    std::from_chars(b, s.data() + s.size(), v);
    return v;
}

bool readNumber(const QString &text, double &value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);  // QString::toDouble reads the C form, whatever the locale
    if (ok)
        value = v;
    return ok;
}

int toInt(double x)
{
    const double r = roundHalfEven(x);
    if (r > 2147483647.0)
        return 2147483647;
    if (r < -2147483648.0)
        return -2147483647 - 1;
    return int(r);
}

double Int(double x) { return std::floor(x); }

double roundHalfEven(double x) { return std::nearbyint(x); }

QString fixed(double x, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double r = std::nearbyint(x * scale) / scale;
    if (r == 0)
        r = 0;  // no "-0"
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, decimals);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString single(float x)
{
    if (x == 0)
        return QStringLiteral("0");
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString number(double x)
{
    if (x == 0)
        return QStringLiteral("0");
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString integer(long long x) { return QString::number(x); }

} // namespace numbertext
