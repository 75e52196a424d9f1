#include "core/mdlmavrell.h"

#include "core/fileobject.h"

#include <cmath>

namespace mdlMavrell {

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
