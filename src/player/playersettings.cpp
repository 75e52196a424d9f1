#include "player/playersettings.h"

#include "core/fileobject.h"
#include "core/keyvaluetext.h"
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
    double n = 0;
    if (numbertext::readNumber(t, n))
        return n != 0;
    return std::nullopt;
}

Values parse(const QString &text)
{
    Values v;
    for (const keyvaluetext::Line &line : keyvaluetext::lines(text)) {
        const QString &key = line.key;
        const QString &value = line.value;
        if (key == QLatin1String("mainrect")) {
            v.rectFound = true;
            const QStringList parts = value.split(QLatin1Char(','));
            double l = 0, t = 0;
            if (parts.size() >= 2 && numbertext::readNumber(parts[0], l) && numbertext::readNumber(parts[1], t)
                && std::isfinite(l) && std::isfinite(t)) {
                // A number too big for a position is no position (the window then still
                // has to land on a screen, which the window sees to).
                v.left = int(numbertext::roundHalfEven(std::clamp(l, -double(maxTwips), double(maxTwips))));
                v.top = int(numbertext::roundHalfEven(std::clamp(t, -double(maxTwips), double(maxTwips))));
            }
        } else if (key == QLatin1String("keepwh")) {
            if (auto b = parseBool(value))
                v.keepWH = b;
        } else if (key == QLatin1String("topmost")) {
            if (auto b = parseBool(value))
                v.topMost = b;
        } else if (key == QLatin1String("mcivol")) {
            // A volume below 0 is none: the window's default (full volume) takes its place.
            const double n = numbertext::Val(value);
            v.volume = !std::isfinite(n) ? 0 : n < 0 ? maxVolume : int(std::min(numbertext::Int(n), double(maxVolume)));
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

QString readFile(const QString &path) { return keyvaluetext::readFile(path); }

bool writeFile(const QString &path, const QString &text) { return mdlMavrell::WriteWholeFile(path, text); }

} // namespace playersettings
