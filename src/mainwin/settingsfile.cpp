#include "mainwin/settingsfile.h"

#include "core/fileobject.h"
#include "core/keyvaluetext.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"

#include <QStringList>
#include <cmath>

namespace settingsfile {

QList<Entry> parse(const QString &text)
{
    static const struct { const char *name; Entry::Key key; } keys[] = {
        {"mainleft", Entry::MainLeft},
        {"maintop", Entry::MainTop},
        {"language", Entry::Language},
        {"targetdefdirmode", Entry::TargetDefDirMode},
        {"targetdefdir", Entry::TargetDefDir},
    };
    QList<Entry> out;
    for (const keyvaluetext::Line &line : keyvaluetext::lines(text)) {
        for (const auto &k : keys) {
            if (line.key == QLatin1String(k.name)) {
                out.append({k.key, line.value});
                break;
            }
        }
    }
    return out;
}

QString readText(const QString &path) { return keyvaluetext::readFile(path); }

int placeEdge(const QString &value, int windowSize, int screenSize)
{
    long long v = std::llround(numbertext::roundHalfEven(numbertext::Val(value)));
    if (windowSize + v > screenSize)
        v = screenSize - windowSize;
    if (v < 0)
        v = 0;
    return int(v);
}

QString acceptedLanguage(const QString &value)
{
    // The tables are found by their code in any letter case ("TW" is "tw").
    const QString code = value.toLower();
    if (code == QLatin1String("tw") || code == QLatin1String("gb") || code == QLatin1String("en"))
        return code;
    return {};
}

QString format(const Values &v)
{
    QString s;
    s += QStringLiteral("MainLeft=") + numbertext::single(v.left) + QStringLiteral("\r\n");
    s += QStringLiteral("MainTop=") + numbertext::single(v.top) + QStringLiteral("\r\n");
    s += QStringLiteral("Language=") + v.language + QStringLiteral("\r\n");
    s += QStringLiteral("TargetDefDirMode=") + QString::number(v.targetDirMode) + QStringLiteral("\r\n");
    s += QStringLiteral("TargetDefDir=") + v.targetDir + QStringLiteral("\r\n");
    return s;
}

QString settingsFolder() { return mdlMavrell::SettingsFolder(); }

bool writeWhole(const QString &path, const QString &text) { return mdlMavrell::WriteWholeFile(path, text); }

} // namespace settingsfile
