#include "engine/sourcecheck.h"

#include "core/mdlmavrell.h"

#include <QRegularExpression>

using namespace mdlMavrell;

namespace sourcecheck {

bool soundPlayed(const QString &output)
{
    static const QRegularExpression status(QStringLiteral("(^|[\\r\\n])A:\\s*\\d+\\.\\d"));
    return status.match(output).hasMatch();
}

bool sourceDecodes(const QString &identifyOutput, bool picturesWritten)
{
    if (srcWidth * srcHeight > 0)
        return picturesWritten;
    return !srcAudioCodec.isEmpty() && soundPlayed(identifyOutput);
}

} // namespace sourcecheck
