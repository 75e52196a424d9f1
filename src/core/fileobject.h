// The file-system helper. Failures are swallowed: False or an empty result. Names are
// literal: "*" and "?" are ordinary characters, never patterns, and blanks at a name's
// ends belong to it (the path is never trimmed). The methods take the path by reference
// as callers have always passed it, and leave it as it was.
#pragma once

#include <QByteArray>
#include <QString>

class FileObject {
public:
    bool FileExists(QString &path) const;     // a file (not a folder) exists
    bool FolderExists(QString &path) const;
    // Path parts, split at "/" only: for "/video/clip.old.avi" base "clip.old",
    // extension "avi", file name "clip.old.avi", parent "/video/", drive "/".
    QString GetBaseName(QString &path) const;
    QString GetExtensionName(QString &path) const;
    QString GetFileName(QString &path) const;
    QString GetParentFolderName(QString &path) const;
    QString GetDriveName(QString &path) const;
    // 2 the temporary folder (ending in "/"); 0 and 1 have no meaning here and give "".
    QString GetSpecialFolder(int which) const;
    QString ShortPath(QString &path) const;   // the path itself when it exists, else ""
    QString GetFileText(QString &path) const; // the whole file as UTF-8 text
    QByteArray GetFileBytes(QString &path) const;
    void DeleteFile(QString &path, bool force = false) const;
    void CreateTextFile(QString &path, bool overwrite, const QString &text) const; // text + CR LF

    // The one path splitter the part methods share: 0 base, 1 extension, 2 file name,
    // 3 parent folder, 4 drive.
    static QString SplitPath(QString &path, int part);
};

namespace mdlMavrell {
// Adds "/" unless the path already ends in one; "" stays "".
QString AddSlash(const QString &path);
// Makes a folder (or a file's folder) current; a non-local folder gives way to fallback.
void SetCurrentDir(const QString &path, const QString &fallback = QString());
// A path typed, pasted or dropped as text: the text as it stands when a file or folder
// has that very name (blanks at a name's ends belong to it), else the text without the
// line breaks around it when that names one, else the text without any blanks around it.
QString PathAsTyped(const QString &text);
// Two paths name the same file (canonical paths or device and inode match).
bool SameFile(const QString &a, const QString &b);
// Where the settings files live: the program folder when it can be written, else the
// user's configuration folder (made when missing). Ends in "/".
QString SettingsFolder();
// Writes text (UTF-8) to path through a temporary file, so a failed write keeps the old file.
bool WriteWholeFile(const QString &path, const QString &text);
} // namespace mdlMavrell
