// The settings files' text: key=value lines, no sections, keys matched without
// regard to case.
#pragma once

#include <QList>
#include <QString>

namespace keyvaluetext {

struct Line {
    QString key;    // the text before the first "=", lower case (a blank before "=" stays)
    QString value;  // the text after it, trimmed
};

// The lines of text (CR LF, LF or CR ends) that hold "=", in file order; blanks at
// the ends of a line do not count. Other lines are left out.
QList<Line> lines(const QString &text);

// A settings file holds a few short lines; one grown far beyond that is read only in
// its first maxFileBytes.
inline constexpr qint64 maxFileBytes = 1 << 20;
// The text of a settings file (UTF-8), "" when it is missing or unreadable. Of a file
// longer than maxFileBytes, the lines that end within them.
QString readFile(const QString &path);

} // namespace keyvaluetext
