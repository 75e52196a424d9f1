#include "core/toolpaths.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"

namespace mdlMavrell {

QString Quoted(const QString &path) { return QLatin1Char('"') + path + QLatin1Char('"'); }

bool Quotable(const QString &path)
{
    return !path.contains(QLatin1Char('"')) && !path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r'));
}

QString UnquotablePath(const QStringList &paths)
{
    for (const QString &path : paths)
        if (!Quotable(path))
            return path;
    return {};
}

QString ToolPrefix() { return appDir + QStringLiteral("plugins/OrvexRes"); }

QStringList ToolCandidates(int n)
{
    // One name per tool: executables carry no extension here.
    return {ToolPrefix() + QString::number(n)};
}

QString ToolPath(int n)
{
    const QStringList names = ToolCandidates(n);
    for (const QString &name : names) {
        QString p = name;
        if (fileObject().FileExists(p))
            return name;
    }
    return names.last();
}

bool ToolExists(int n)
{
    QString p = ToolPath(n);
    return fileObject().FileExists(p);
}

} // namespace mdlMavrell
