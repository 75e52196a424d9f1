#include "mainwin/encodetimeestimate.h"

#include "core/mdlmavrell.h"
#include "core/timetext.h"

QString EncodeTimeEstimate::update(float elapsedSeconds, float percent, const QString &entry278)
{
    const QString used = mdlMavrell::FormatTime(elapsedSeconds, 3, 0);
    QString remaining;
    if (percent < 0.5f) {
        remaining = QStringLiteral("?");
        lastRemain_ = remaining;
    } else if (percent == lastPercent_) {
        remaining = lastRemain_;
    } else {
        remaining = QString::number(mdlMavrell::RoundUp((100.0f - percent) * elapsedSeconds / percent / 60.0f));
    }
    lastPercent_ = percent;
    lastRemain_ = remaining;
    QString text = entry278;
    text.replace(QStringLiteral("aaa"), used);
    text.replace(QStringLiteral("bbb"), remaining);
    return text;
}
