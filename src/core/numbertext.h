// Number reading and writing with the rules the tools and files need: "." is always
// the decimal point, whatever the locale; single-precision values are written in their
// shortest form ("29.97", never "29.969999").
#pragma once

#include <QString>

namespace numbertext {

// The number at the start of text (blanks skipped, sign, digits, one point, exponent);
// 0 when there is none. "12abc" gives 12, "abc" gives 0, " -3.5x" gives -3.5.
double Val(const QString &text);
// A whole text that reads as a number ("." as the point, blanks around it allowed):
// true and value set for " 3.5 " or "-1e3"; false, value untouched, for "" or "12a".
bool readNumber(const QString &text, double &value);
// x rounded half to even to an int, held to the int range.
int toInt(double x);
// The largest whole number not above x (Int(-1.5) = -2).
double Int(double x);
// Rounds halves to even (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double x);
// x rounded to `decimals` places, halves to even, then written with exactly that many decimals.
QString fixed(double x, int decimals);
// Shortest text that reads back as the same float ("29.97", "25", "0.1").
QString single(float x);
// Shortest text that reads back as the same double.
QString number(double x);
// Whole numbers as text.
QString integer(long long x);

} // namespace numbertext
