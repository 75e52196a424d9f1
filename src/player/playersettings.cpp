#include "player/playersettings.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace playersettings {

std::optional<bool> parseBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double n = t.toDouble(&ok);
    if (ok)
        return n != 0;
    return std::nullopt;
}

Values parse(const QString &text)
{
    Values v;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq + 1).toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("mainrect=")) {
            v.rectFound = true;
            const QStringList parts = value.split(QLatin1Char(','));
            bool okL = false, okT = false;
            double l = 0, t = 0;
            if (parts.size() >= 2) {
                l = parts[0].trimmed().toDouble(&okL);
                t = parts[1].trimmed().toDouble(&okT);
            }
            // A number too big for a position is no position (the window then still
            // has to land on a screen, which the window sees to).
            if (okL && okT && std::isfinite(l) && std::isfinite(t)) {
                v.left = int(numtext::roundHalfEven(std::clamp(l, -double(maxTwips), double(maxTwips))));
                v.top = int(numtext::roundHalfEven(std::clamp(t, -double(maxTwips), double(maxTwips))));
            }
        } else if (key == QLatin1String("keepwh=")) {
            if (auto b = parseBool(value))
                v.keepWH = b;
        } else if (key == QLatin1String("topmost=")) {
            if (auto b = parseBool(value))
                v.topMost = b;
        } else if (key == QLatin1String("mcivol=")) {
            const double n = numtext::Val(value);
            v.volume = std::isfinite(n) ? int(std::clamp(numtext::Int(n), 0.0, double(maxVolume))) : 0;
        }
    }
    return v;
}

QString compose(int leftTwips, int topTwips, bool keepWH, bool topMost, int volume)
{
    auto b = [](bool x) { return x ? QStringLiteral("True") : QStringLiteral("False"); };
    return QStringLiteral("MainRect=") + QString::number(leftTwips) + QLatin1Char(',') + QString::number(topTwips)
        + QStringLiteral("\r\nKeepWH=") + b(keepWH) + QStringLiteral("\r\nTopMost=") + b(topMost)
        + QStringLiteral("\r\nMciVol=") + QString::number(volume) + QStringLiteral("\r\n");
}

QString settingsFolder() { return mdlMavrell::SettingsFolder(); }

QString settingsPath()
{
    return settingsFolder() + QStringLiteral("Tessaly.ini");
}

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

bool writeFile(const QString &path, const QString &text) { return mdlMavrell::WriteWholeFile(path, text); }

} // namespace playersettings
