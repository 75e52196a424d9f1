#include "core/keyvaluetext.h"

#include <QRegularExpression>

namespace keyvaluetext {

QList<Line> lines(const QString &text)
{
    static const QRegularExpression ends(QStringLiteral("\r\n|\r|\n"));
    QList<Line> out;
    for (const QString &raw : text.split(ends)) {
        const QString line = raw.trimmed();
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        out.append({line.left(eq).toLower(), line.mid(eq + 1).trimmed()});
    }
    return out;
}

} // namespace keyvaluetext
