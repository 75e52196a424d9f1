#include "core/mdlmavrell.h"

#include "core/fileobject.h"

#include <cmath>

namespace mdlMavrell {

QString Joined(const QString &a, const QString &b)
{
    if (!a.endsWith(QLatin1Char(' ')))
        return a + b;
    qsizetype from = 0;
    while (from < b.size() && b.at(from) == QLatin1Char(' '))
        ++from;
    return a + b.mid(from);
}

int RoundUp(float x)
{
    return static_cast<int>(std::ceil(x));
}

int Clamp(int v, int lo, int hi)
{
    if (v > hi)
        return hi;
    if (v < lo)
        return lo;
    return v;
}

bool iconFileExists()
{
    QString path = appDir + QStringLiteral("Quennet.ico");
    return fileObject().FileExists(path);
}

} // namespace mdlMavrell
