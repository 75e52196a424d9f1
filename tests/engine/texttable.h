// Fills the text table with markers ("{148}") so that a test sees which entry a text
// was made of. Braces, not brackets: the target captions are cut at "[" and "]".
#pragma once

#include "core/mdlmavrell.h"

inline void fillMarkerTable()
{
    for (int i = 0; i < mdlMavrell::lngSize; ++i)
        mdlMavrell::lng[i] = QStringLiteral("{") + QString::number(i) + QStringLiteral("}");
}
