#include "engine/jobplan.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/systeminfo.h"
#include "core/timetext.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"
#include "engine/targetkinds.h"

#include <QDir>
#include <QFileInfo>

namespace engine {

using namespace mdlMavrell;

QString sourceOpenFilter(const QString &ext, const QString &format)
{
    const TargetKind *kind = findTargetKind(format);
    if (!kind || !kind->copyJob)
        return openFileFilter;
    if (ext == QLatin1String("mpg|dat|vob"))
        return QStringLiteral("MPEG Files (*.mpg;*.mpeg;*.dat;*.vob)|*.mpg;*.mpeg;*.dat;*.vob|All Files (*.*)|*.*");
    return ext.toUpper() + QStringLiteral(" Files (*.") + ext + QStringLiteral(")|*.") + ext
           + QStringLiteral("|All Files (*.*)|*.*");
}

QStringList nameFiltersOf(const QString &filterText)
{
    QStringList result;
    const QStringList parts = filterText.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const int paren = int(name.lastIndexOf(QLatin1Char('(')));
        if (paren > 0 && name.endsWith(QLatin1Char(')')))
            name = name.left(paren).trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        result << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

QString chooseSource(const TargetChoice &choice, QWidget *parent)
{
    prompts::FileRequest r;
    r.kind = prompts::FileRequest::Open;
    r.nameFilters = nameFiltersOf(sourceOpenFilter(choice.ext, choice.format));
    r.filterIndex = 0;
    r.parent = parent;
    const prompts::FileAnswer a = prompts::current().file(r);
    if (!a.accepted || a.paths.isEmpty())
        return {};
    return a.paths.first();
}

QString targetExtFor(const QString &ext, const QString &sourcePath)
{
    if (!ext.contains(QLatin1Char('|')))
        return ext;
    QString path = sourcePath;
    QString own = fileObject().GetExtensionName(path).toLower();
    if (own == QLatin1String("mpeg"))
        own = QStringLiteral("mpg");
    // Whole items only: "pg" or "" is no container of the list.
    const QStringList items = ext.split(QLatin1Char('|'));
    if (!own.isEmpty() && items.contains(own))
        return own;
    return items.first();
}

QString targetSuffix(const QString &format)
{
    const TargetKind *kind = findTargetKind(format);
    return kind ? kind->nameSuffix : QStringLiteral(".");
}

QString targetFolder(const QString &sourcePath, bool besideSource, const QString &fixedFolder)
{
    QString folder;
    if (besideSource) {
        QString path = sourcePath;
        folder = fileObject().GetParentFolderName(path);
    } else {
        folder = AddSlash(fixedFolder);
    }
    QString probe = folder;
    if (folder.isEmpty() || !Quotable(folder) || !fileObject().FolderExists(probe) || !IsLocalDrive(folder))
        folder = AddSlash(QDir::homePath());
    return folder;
}

QString targetPathFor(const QString &sourcePath, const QString &folder, const QString &format,
                      const QString &targetExt)
{
    QString path = sourcePath;
    const QString base = fileObject().GetBaseName(path);
    QString target = folder + base + targetSuffix(format) + targetExt;
    // Also the same file when the folder reaches the source's folder another way
    // (a link): the encoder must never write over its own source.
    if (sourcePath.toLower() == target.toLower() || SameFile(sourcePath, target)) {
        path = sourcePath;
        target = folder + base + QLatin1Char('_') + fileObject().GetExtensionName(path).toLower()
                 + QStringLiteral("2.") + targetExt;
    }
    return target;
}

QString subtitleFor(const QString &folder, const QString &sourcePath)
{
    QString path = sourcePath;
    QString srt = folder + fileObject().GetBaseName(path) + QStringLiteral(".srt");
    const QString wanted = srt;
    return fileObject().FileExists(srt) ? wanted : QString();
}

int subtitleCodePageIndex(const QString &language)
{
    if (language == QLatin1String("tw"))
        return 1;
    if (language == QLatin1String("gb"))
        return 2;
    return 0;
}

void fitSizeTo1280(int w, int h, int &outW, int &outH)
{
    outW = w;
    outH = h;
    if (w == 0 || h == 0)
        return;
    if (w <= 1280 && h <= 1280)
        return;
    auto scaled = [](double v) {
        int r = int(numbertext::roundHalfEven(v));
        if (r % 2 != 0)
            ++r;
        return r < 2 ? 2 : r;
    };
    if (w >= h) {
        outW = 1280;
        outH = scaled(double(h) * 1280.0 / double(w));
    } else {
        outH = 1280;
        outW = scaled(double(w) * 1280.0 / double(h));
    }
}

int pathLabelTop(int buttonTop, int buttonHeight, int labelHeight, bool targetLabel)
{
    const int top = buttonTop + (buttonHeight - labelHeight) / 2 + 2;
    return targetLabel ? top - 1 : top;
}

NeutralOptions neutralOptions(const jobrecords::SourceInfo &source, const QString &folder, const QString &sourcePath, const QString &language)
{
    NeutralOptions n;
    n.scopeEnd = FormatTime(source.srcLength, 3, 1);
    if (source.srcLength > 0 && source.hasPicture()) {
        n.subtitleFile = subtitleFor(folder, sourcePath);
        n.useSubtitle = !n.subtitleFile.isEmpty();
        n.subtitleChoice = true;
    }
    n.subtitleCodePage = subtitleCodePageIndex(language);
    return n;
}

JobPlan planJob(const TargetChoice &choice, const QString &sourcePath, const PlanSettings &settings,
                jobrecords::SourceInfo &source, jobrecords::JobSettings &job, jobrecords::PreviewState &preview)
{
    const auto resetRecords = [&] { jobrecords::resetForNewSource(source, job, preview); };
    JobPlan plan;
    if (const int problem = sourceFileProblem(sourcePath)) {
        prompts::FileMsgBox(lng[problem], sourcePath);
        return plan;
    }
    // Without the player tool nothing can be probed: the tool is named, and the file
    // chosen is refused rather than given a target.
    if (!ToolExists(1) || !QFileInfo(ToolPath(1)).isExecutable()) {
        prompts::FileMsgBox(lng[ToolExists(1) ? txt::ToolNotExecutable : txt::ToolFilesMissing], ToolPath(1));
        resetRecords();
        plan.refused = true;
        return plan;
    }
    plan.started = true;
    plan.source = sourcePath;
    SetCurrentDir(sourcePath, QString());

    resetRecords();
    job.targetExt = targetExtFor(choice.ext, sourcePath);
    job.targetFormat = choice.format;
    job.targetIsAudio = choice.audioTarget;

    bool decodes = false;
    plan.gifResult = analyseSource(sourcePath, source, settings.analyse, &decodes);
    // A file the tools only seem to know (no stream, or nothing decodes from its start)
    // would convert to an empty result: it is refused here, and nothing of it is kept.
    if (!decodes) {
        prompts::FileMsgBox(lng[txt::SourceNotDecodable], sourcePath);
        resetRecords();
        plan.started = false;
        plan.refused = true;
        return plan;
    }
    if (plan.gifResult == QLatin1String("Static Gif"))
        prompts::FileMsgBox(lng[txt::StillGifNotAnimated], sourcePath);

    plan.folder = targetFolder(sourcePath, settings.targetBesideSource, settings.fixedFolder);
    plan.target = targetPathFor(sourcePath, plan.folder, job.targetFormat, job.targetExt);
    plan.neutral = neutralOptions(source, plan.folder, sourcePath, settings.language);
    fitSizeTo1280(source.srcWidth, source.srcHeight, job.outWidth, job.outHeight);
    return plan;
}

JobPlan openSourceForTarget(const TargetChoice &choice, const PlanSettings &settings, jobrecords::SourceInfo &source,
                            jobrecords::JobSettings &job, jobrecords::PreviewState &preview, QWidget *parent)
{
    const QString path = chooseSource(choice, parent);
    if (path.isEmpty())
        return {};
    return planJob(choice, path, settings, source, job, preview);
}

} // namespace engine
