#include "engine/sourcecheck.h"

#include "core/cmdoutput.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace mdlMavrell;

namespace sourcecheck {

QString decodeCommand(const QString &tool1, const QString &file, const QString &md5File)
{
    return tool1 + QStringLiteral(" -ao null -vo md5sum:outfile=%") + QString::number(md5File.toUtf8().size())
           + QLatin1Char('%') + md5File + QStringLiteral(" -frames 5 -endpos 3 ") + Quoted(file);
}

QString soundCommand(const QString &tool1, const QString &file)
{
    return tool1 + QStringLiteral(" -ao null -vo null -endpos 1 ") + Quoted(file);
}

bool soundPlayed(const QString &output)
{
    static const QRegularExpression status(QStringLiteral("(^|[\\r\\n])A:\\s*\\d+\\.\\d"));
    return status.match(output).hasMatch();
}

bool sourceDecodes(const QString &file)
{
    const bool picture = srcWidth * srcHeight > 0;
    if (!picture && srcAudioCodec.isEmpty())
        return false;
    // A source only the general reader reads whole is decoded through it.
    const QString tool1 = ToolPath(1) + (srcDemuxer == QLatin1String("lavf") ? QStringLiteral(" -demuxer lavf") : QString());
    mdlGetCmdOutput::RunLimits limits;
    limits.mirror = false;
    if (!picture)
        return soundPlayed(mdlGetCmdOutput::RunTool(soundCommand(tool1, file), limits).output);
    QTemporaryDir dir;
    if (!dir.isValid())
        return true;  // nothing to measure with: leave the decision to the result check
    const QString md5 = dir.filePath(QStringLiteral("frames.md5"));
    mdlGetCmdOutput::RunTool(decodeCommand(tool1, file, md5), limits);
    QFile f(md5);
    return f.open(QIODevice::ReadOnly) && f.size() > 0;
}

} // namespace sourcecheck
