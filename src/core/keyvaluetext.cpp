#include "core/keyvaluetext.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

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

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = f.read(maxFileBytes);
    if (!f.atEnd()) {
        // A line cut at the limit is no line of the file.
        const qsizetype end = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        bytes.truncate(end + 1);
    }
    return QString::fromUtf8(bytes);
}

} // namespace keyvaluetext
