// The built-in language tables and the loader that fills the text table from them.
//
// A table is UTF-8 text with CR LF line ends: a header "language=<name>", a line
// "lng=<code>", then one line "NNN=text" per entry (001 to 279). A "\n" inside a text
// stands for a line break. Blanks at either end of a text belong to it.
#pragma once

#include "mdlmavrell.h"

#include <QString>
#include <QStringList>
#include <array>

namespace mdlMavrell {

using TextTable = std::array<QString, lngSize>;

// The codes of the built-in tables, in lower case: "tw", "gb", "en".
QStringList languageCodes();

// The resource path of the table named by code (matched without regard to case),
// or "" when there is no such table.
QString languageTablePath(const QString &code);

// Writes the lines of a table's text into table. Lines are split at CR LF only. A line
// counts when it holds "=" after at least one character and the text before the first
// "=" is a number that, rounded half to even, lies in 0..300: that entry becomes the
// text after the first "=", with every "\n" turned into CR LF. Other lines are skipped.
// The table is not cleared: entries no line names keep their text.
// Returns how many lines were written into the table.
int applyLanguageText(const QString &text, TextTable &table);

// Loads the built-in table named by code into lng. When code names no table (an empty
// or unknown code) lng is left as it was and the result is false, so that the caller
// can fall back to the code taken from the system locale.
bool loadLanguageTable(const QString &code);

} // namespace mdlMavrell
