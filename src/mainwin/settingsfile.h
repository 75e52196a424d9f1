// "Mavrell.ini": the main window's five settings (position in twips, language, target
// folder mode and folder), as key=value lines with CR LF. Reading and writing are
// plain functions; the main window applies what they give.
#pragma once

#include <QList>
#include <QString>

namespace settingsfile {

// One recognised line, in file order; a key that occurs twice comes twice.
struct Entry {
    enum Key { MainLeft, MainTop, Language, TargetDefDirMode, TargetDefDir };
    Key key;
    QString value;  // trimmed, letter case kept
};

// Recognised lines of the file's text. Keys match in any letter case, only when the
// name is exactly one of the five with no blank before "="; other lines are ignored.
QList<Entry> parse(const QString &text);
// The file's text, of a file grown far beyond its five lines only the first lines
// (core/keyvaluetext.h); "" when it cannot be read.
QString readText(const QString &path);

// A stored edge (twips) placed on the screen: the window's far edge no further than
// the screen's, never below 0.
int placeEdge(const QString &value, int windowSize, int screenSize);

// A stored language code, when it is one of ours ("tw", "gb", "en" in any letter case):
// the code in lower case; otherwise "" (the caller then takes the locale's code).
QString acceptedLanguage(const QString &value);

// The five lines as written.
struct Values {
    float left = 0, top = 0;  // twips
    QString language;
    int targetDirMode = 0;    // 0 beside the source, 1 the fixed folder
    QString targetDir;        // ends in "/"
};
QString format(const Values &v);

// Where the settings files live: the program folder when it can be written,
// else the user's configuration folder. Ends in "/".
QString settingsFolder();
// Writes text to path through a temporary file, so a failed write keeps the old file.
bool writeWhole(const QString &path, const QString &text);

} // namespace settingsfile
