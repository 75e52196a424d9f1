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

} // namespace keyvaluetext
