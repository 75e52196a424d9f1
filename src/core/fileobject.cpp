#include "core/fileobject.h"

#include "core/mdlmavrell.h"
#include "core/systeminfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <sys/stat.h>

QString FileObject::SplitPath(QString &path, int part)
{
    if (path.isEmpty())
        return {};
    const int len = int(path.size());
    // 1-based positions, as the splitter has always counted.
    int dot = len + 1;
    for (int i = len; i >= 1; --i) {
        const QChar c = path[i - 1];
        if (c == '.') {
            dot = i;
            break;
        }
        if (c == '/')
            break;
    }
    int sep = 0;
    for (int i = len; i >= 1; --i)
        if (path[i - 1] == '/') {
            sep = i;
            break;
        }
    // A name that is only an extension has no parts. A file directly under "/"
    // keeps "/" as its folder.
    if (dot == 1)
        return {};
    switch (part) {
    case 0: return path.mid(sep, dot - sep - 1);
    case 1: return (dot > len) ? QString() : path.mid(dot);
    case 2: return path.mid(sep);
    case 3: return path.left(sep);
    case 4: return path.left(1);
    default: return {};
    }
}

bool FileObject::FileExists(QString &path) const
{
    if (path.isEmpty())
        return false;
    const QFileInfo fi(path);
    return fi.exists() && !fi.isDir();
}

bool FileObject::FolderExists(QString &path) const
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QString FileObject::GetBaseName(QString &path) const { return SplitPath(path, 0); }
QString FileObject::GetExtensionName(QString &path) const { return SplitPath(path, 1); }
QString FileObject::GetFileName(QString &path) const { return SplitPath(path, 2); }
QString FileObject::GetParentFolderName(QString &path) const { return SplitPath(path, 3); }
QString FileObject::GetDriveName(QString &path) const { return SplitPath(path, 4); }

QString FileObject::GetSpecialFolder(int which) const
{
    if (which == 2)
        return QDir::tempPath() + '/';
    return {};
}

QString FileObject::ShortPath(QString &path) const
{
    // Paths have no short form here; the path stands for itself when it exists.
    return QFileInfo::exists(path) ? path : QString();
}

QByteArray FileObject::GetFileBytes(QString &path) const
{
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString FileObject::GetFileText(QString &path) const { return QString::fromUtf8(GetFileBytes(path)); }

void FileObject::DeleteFile(QString &path, bool) const
{
    if (!path.isEmpty() && !QFileInfo(path).isDir())
        QFile::remove(path);
}

void FileObject::CreateTextFile(QString &path, bool, const QString &text) const
{
    if (path.isEmpty())
        return;
    // A failed write leaves the old file as it was.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(text.toUtf8());
    f.write("\r\n");
    f.commit();
}

namespace mdlMavrell {

FileObject &fileObject()
{
    static FileObject instance;
    return instance;
}

QString AddSlash(const QString &path)
{
    if (path.isEmpty())
        return {};
    return path.endsWith('/') ? path : path + '/';
}

void SetCurrentDir(const QString &pathIn, const QString &fallback)
{
    if (pathIn.isEmpty())
        return;
    QString path = pathIn;
    if (!path.endsWith('/'))
        path = AddSlash(fileObject().GetParentFolderName(path));
    if (!fallback.isEmpty() && !IsLocalDrive(path))
        path = fallback;
    if (!path.isEmpty())
        QDir::setCurrent(path);
    QCoreApplication::processEvents();
}

QString PathAsTyped(const QString &text)
{
    if (!text.isEmpty() && QFileInfo::exists(text))
        return text;
    // Text selected with its line's end, or pasted so.
    qsizetype from = 0, to = text.size();
    while (from < to && (text[from] == QLatin1Char('\n') || text[from] == QLatin1Char('\r')))
        ++from;
    while (to > from && (text[to - 1] == QLatin1Char('\n') || text[to - 1] == QLatin1Char('\r')))
        --to;
    const QString line = text.mid(from, to - from);
    if (!line.isEmpty() && QFileInfo::exists(line))
        return line;
    return text.trimmed();
}

bool SameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    struct stat sa{}, sb{};
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    // Neither exists yet: compare the absolute, cleaned paths.
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

QString SettingsFolder()
{
    if (!appDir.isEmpty()) {
        const QFileInfo fi(appDir);
        if (fi.isDir() && fi.isWritable())
            return AddSlash(appDir);
    }
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.config/Mavrell");
    QDir().mkpath(dir);
    return AddSlash(dir);
}

bool WriteWholeFile(const QString &path, const QString &text)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(text.toUtf8()) < 0) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace mdlMavrell
