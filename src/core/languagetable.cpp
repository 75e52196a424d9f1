#include "languagetable.h"

#include "numbertext.h"

#include <QFile>
#include <QStringDecoder>
#include <cmath>

namespace mdlMavrell {

namespace {

// The number a key stands for, or false when the key is not a plain decimal number.
// Blanks around it are allowed; "1.6", "-2" and "1e2" are numbers, "1,5", "0x10",
// "inf" and "" are not.
bool keyNumber(const QString &key, double &value)
{
    const QString k = key.trimmed();
    if (k.isEmpty())
        return false;
    for (const QChar c : k) {
        if (!(c.isDigit() && c.unicode() < 128) && c != u'.' && c != u'-' && c != u'+'
            && c != u'e')
            return false;
    }
    bool ok = false;
    value = k.toDouble(&ok);  // QString::toDouble always reads "." as the point
    return ok && std::isfinite(value);
}

} // namespace

QStringList languageCodes()
{
    return {QStringLiteral("tw"), QStringLiteral("gb"), QStringLiteral("en")};
}

QString languageTablePath(const QString &code)
{
    const QString c = code.toLower();
    if (!languageCodes().contains(c))
        return QString();
    return QStringLiteral(":/lang/") + c.toUpper() + QStringLiteral(".txt");
}

int applyLanguageText(const QString &text, TextTable &table)
{
    int written = 0;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        double number = 0;
        if (!keyNumber(line.left(eq).toLower(), number))
            continue;
        const double rounded = numbertext::roundHalfEven(number);
        if (rounded < 0 || rounded > lngSize - 1)
            continue;
        QString value = line.mid(eq + 1);
        value.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
        table[static_cast<int>(rounded)] = value;
        ++written;
    }
    return written;
}

bool loadLanguageTable(const QString &code)
{
    const QString path = languageTablePath(code);
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    if (decode.hasError())
        return false;
    applyLanguageText(text, lng);
    return true;
}

} // namespace mdlMavrell
