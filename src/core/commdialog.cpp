#include "core/commdialog.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/userprompts.h"

#include <QDir>
#include <QRegularExpression>

namespace {

// A pattern as the dialogs show it; "*.*" stands for every file, also one without an
// extension. The dialogs match the patterns in either letter case (prompts::setUpFileDialog).
QString dialogPattern(const QString &pattern)
{
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*"))
        return QStringLiteral("*");
    return pattern;
}

} // namespace

QStringList CommDialog::toNameFilters(const QString &filterText)
{
    QStringList result;
    const QStringList parts = filterText.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(QLatin1Char(';'))) {
            const QString t = p.trimmed();
            if (!t.isEmpty()) {
                const QString free = dialogPattern(t);
                if (!patterns.contains(free))
                    patterns.append(free);
            }
        }
        if (patterns.isEmpty())
            continue;
        // A description that already lists its patterns ("All Files (*.*)") loses
        // that list: the dialog reads the last bracketed list as the patterns.
        QString desc = parts[i].trimmed();
        static const QRegularExpression listed(QStringLiteral("\\s*\\([^()]*\\)$"));
        desc.remove(listed);
        const QString joined = patterns.join(QLatin1Char(' '));
        result.append(desc.isEmpty() ? joined : desc + QStringLiteral(" (") + joined + QLatin1Char(')'));
    }
    return result;
}

void CommDialog::setFilter(const QString &text)
{
    filter_ = text;
    nameFilters_ = toNameFilters(text);
}

void CommDialog::fillInitDir()
{
    if (InitDir.isEmpty())
        InitDir = mdlMavrell::AddSlash(QDir::currentPath());
}

void CommDialog::clearChoice()
{
    FileName.clear();
    fileTitle_.clear();
    fileExt_.clear();
}

QString CommDialog::showFile(bool save, bool thenNoUseInitDir, bool isMultiSelect)
{
    fillInitDir();
    if (filterIndex_ == 0)
        filterIndex_ = 1;

    prompts::FileRequest request;
    request.kind = save ? prompts::FileRequest::Save : prompts::FileRequest::Open;
    request.title = DialogTitle;
    request.initDir = mdlMavrell::AddSlash(InitDir);
    request.fileName = FileName;
    request.nameFilters = nameFilters_;
    request.filterIndex = filterIndex_ - 1;
    request.multiSelect = !save && isMultiSelect;
    request.overwritePrompt = (FlagsSave & 0x2) != 0;
    if (save)
        request.defaultSuffix = DefaultExt.toLower();
    request.parent = hwndOwner;

    const prompts::FileAnswer answer = prompts::current().file(request);

    QString result;
    if (answer.accepted && !answer.paths.isEmpty()) {
        if (!nameFilters_.isEmpty())
            filterIndex_ = answer.filterIndex + 1;
        if (request.multiSelect) {
            fileArray_ = answer.paths;
            fileTitle_.clear();
            fileExt_.clear();
            result = numbertext::integer(answer.paths.size());
        } else {
            FileName = answer.paths.first();
            FileObject &files = mdlMavrell::fileObject();
            // A name typed without an extension gets the default one (in lower case, as
            // the program names its files).
            QString typed = FileName;
            if (save && !DefaultExt.isEmpty() && files.GetExtensionName(typed).isEmpty())
                FileName += QLatin1Char('.') + DefaultExt.toLower();
            QString path = FileName;
            fileTitle_ = files.GetFileName(path);
            path = FileName;
            fileExt_ = files.GetExtensionName(path).toLower();
            result = FileName;
        }
    } else {
        clearChoice();
    }
    if (thenNoUseInitDir)
        InitDir.clear();
    return result;
}

QString CommDialog::ShowOpen(bool thenNoUseInitDir, bool isMultiSelect)
{
    return showFile(false, thenNoUseInitDir, isMultiSelect);
}

QString CommDialog::ShowSave(bool thenNoUseInitDir)
{
    return showFile(true, thenNoUseInitDir, false);
}

QString CommDialog::ShowDir(bool thenNoUseInitDir)
{
    fillInitDir();
    prompts::FileRequest request;
    request.kind = prompts::FileRequest::Folder;
    request.title = DialogTitle;
    request.initDir = mdlMavrell::AddSlash(InitDir);
    request.parent = hwndOwner;

    const prompts::FileAnswer answer = prompts::current().file(request);
    if (answer.accepted && !answer.paths.isEmpty() && !answer.paths.first().isEmpty())
        DirName = mdlMavrell::AddSlash(answer.paths.first());
    else
        DirName.clear();
    if (thenNoUseInitDir)
        InitDir.clear();
    return DirName;
}

CommDialog &mdlMavrell::commDialog()
{
    static CommDialog *shared = new CommDialog;  // lives until the program ends
    return *shared;
}
