#include "engine/sourcecheck.h"

#include <QRegularExpression>

namespace sourcecheck {

bool soundPlayed(const QString &output)
{
    static const QRegularExpression status(QStringLiteral("(^|[\\r\\n])A:\\s*\\d+\\.\\d"));
    return status.match(output).hasMatch();
}

bool sourceDecodes(const jobrecords::SourceInfo &source, const QString &identifyOutput, bool picturesWritten)
{
    if (source.hasPicture())
        return picturesWritten;
    return source.hasSound() && soundPlayed(identifyOutput);
}

} // namespace sourcecheck
