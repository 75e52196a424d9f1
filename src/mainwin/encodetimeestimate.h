// The time line of a running conversion: time used so far and minutes left,
// estimated from the progress percentage once a second.
#pragma once

#include <QString>

class EncodeTimeEstimate {
public:
    // Text of txt::ElapsedAndLeft with "aaa" = time used (hh:mm:ss) and "bbb" = minutes left
    // ("?" below 0.5 %). While the percentage stands still the last estimate is kept.
    QString update(float elapsedSeconds, float percent, const QString &entry278);

private:
    float lastPercent_ = 0;
    QString lastRemain_;
};
