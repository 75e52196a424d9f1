// Time display and the reading of values out of the tools' console output.
#pragma once

#include <QString>

namespace mdlMavrell {

// Seconds as text. style 0 plain seconds, 1 minutes and hours only when needed,
// 2 always minutes, 3 always hours and minutes, 4 total minutes and seconds.
// decimals: digits after the point. *parts (if given) receives 1, 2 or 3, the fields shown.
QString FormatTime(float seconds, int style, int decimals, int *parts = nullptr);

// "hh:mm:ss.s", "mm:ss" or plain seconds back to seconds (never negative).
float ParseTime(const QString &text, float offset = 0);

// The text between startTag and endTag, trimmed of blanks; "" when either is missing.
// pos is a 0-based index to search from and is moved just behind endTag on success.
// An empty endTag means the end of the line (CR or LF, whichever comes first).
// With keepTags the tags are kept around the value (an empty endTag as the one found).
QString GetBetween(const QString &text, const QString &startTag, const QString &endTag,
                   bool matchCase, int &pos, bool keepTags = false);
QString GetBetween(const QString &text, const QString &startTag, const QString &endTag,
                   bool matchCase = false);

// The text between the last sep in front of mark and mark (blanks kept); "" when
// mark or a sep before it is missing.
QString GetBeforeMark(const QString &text, const QString &sep, const QString &mark);

} // namespace mdlMavrell
