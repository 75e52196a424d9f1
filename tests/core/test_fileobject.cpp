#include "core/fileobject.h"
#include "core/mdlmavrell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileObject, PathParts)
{
    struct Case { const char *path; const char *base, *ext, *name, *parent, *drive; };
    const Case cases[] = {
        {"/video/clip.old.avi", "clip.old", "avi", "clip.old.avi", "/video/", "/"},
        {"/my.dir/file", "file", "", "file", "/my.dir/", "/"},
        {"clip", "clip", "", "clip", "", "c"},
        {"/clip.avi", "clip", "avi", "clip.avi", "/", "/"},   // a file directly under "/"
        {".avi", "", "", "", "", ""},                         // only an extension
        {"/a/b:c.mp3", "b:c", "mp3", "b:c.mp3", "/a/", "/"}, // ":" is an ordinary character
        {"/a/clip.", "clip", "", "clip.", "/a/", "/"},
        {"", "", "", "", "", ""},
    };
    FileObject &fo = mdlMavrell::fileObject();
    for (const Case &c : cases) {
        QString p = c.path;
        EXPECT_EQ(fo.GetBaseName(p).toStdString(), c.base) << c.path;
        EXPECT_EQ(fo.GetExtensionName(p).toStdString(), c.ext) << c.path;
        EXPECT_EQ(fo.GetFileName(p).toStdString(), c.name) << c.path;
        EXPECT_EQ(fo.GetParentFolderName(p).toStdString(), c.parent) << c.path;
        EXPECT_EQ(fo.GetDriveName(p).toStdString(), c.drive) << c.path;
    }
}

// Blanks at a name's ends are part of it: the name is never trimmed, so a file whose
// name ends (or begins) with a blank is found, read and deleted as itself, and a file
// without the blank is not taken for it.
TEST(FileObject, BlanksAtTheEndsBelongToTheName)
{
    QTemporaryDir dir;
    FileObject &fo = mdlMavrell::fileObject();
    const QString trail = dir.path() + "/trail.avi ";
    const QString lead = dir.path() + "/ lead.avi";
    QString p = trail;
    fo.CreateTextFile(p, true, "t");
    EXPECT_EQ(p, trail);
    p = lead;
    fo.CreateTextFile(p, true, "l");
    EXPECT_TRUE(QFile::exists(trail));
    EXPECT_TRUE(QFile::exists(lead));

    for (const QString &name : {trail, lead}) {
        QString q = name;
        EXPECT_TRUE(fo.FileExists(q)) << name.toStdString();
        EXPECT_EQ(q, name);
    }
    QString bare = dir.path() + "/trail.avi";
    EXPECT_FALSE(fo.FileExists(bare));
    QString folder = dir.path() + " ";
    EXPECT_FALSE(fo.FolderExists(folder));

    p = trail;
    EXPECT_EQ(fo.GetFileName(p).toStdString(), "trail.avi ");
    EXPECT_EQ(fo.GetBaseName(p).toStdString(), "trail");
    EXPECT_EQ(fo.GetExtensionName(p).toStdString(), "avi ");
    EXPECT_EQ(p, trail);
    p = lead;
    EXPECT_EQ(fo.GetBaseName(p).toStdString(), " lead");
    EXPECT_EQ(fo.GetFileText(p).toStdString(), "l\r\n");

    fo.DeleteFile(p);
    EXPECT_FALSE(QFile::exists(lead));
    EXPECT_TRUE(QFile::exists(trail));
}

TEST(FileObject, ExistenceReadWriteDeleteAreLiteral)
{
    QTemporaryDir dir;
    FileObject &fo = mdlMavrell::fileObject();
    QString folder = dir.path();
    QString file = dir.path() + "/vidéo 日本 *?.txt";
    QString other = dir.path() + "/vidéo 日本 ab.txt";
    QString empty;
    EXPECT_FALSE(fo.FileExists(empty));
    EXPECT_FALSE(fo.FileExists(folder));
    EXPECT_TRUE(fo.FolderExists(folder));

    fo.CreateTextFile(other, true, "keep");
    fo.CreateTextFile(file, true, "héllo");
    EXPECT_TRUE(fo.FileExists(file));
    EXPECT_FALSE(fo.FolderExists(file));
    EXPECT_EQ(fo.GetFileText(file).toStdString(), "héllo\r\n");

    // "*" and "?" in a name never act as patterns.
    QString pattern = dir.path() + "/*.txt";
    EXPECT_FALSE(fo.FileExists(pattern));
    fo.DeleteFile(pattern);
    EXPECT_TRUE(QFile::exists(other));
    fo.DeleteFile(file);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QFile::exists(other));

    QString missing = dir.path() + "/none.txt";
    EXPECT_EQ(fo.GetFileText(missing).toStdString(), "");
    QString tmp = fo.GetSpecialFolder(2);
    EXPECT_TRUE(tmp.endsWith('/'));
    EXPECT_EQ(fo.GetSpecialFolder(0).toStdString(), "");
}

TEST(FileObject, AFailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    QString path = dir.path() + "/settings.txt";
    mdlMavrell::fileObject().CreateTextFile(path, true, "old");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    mdlMavrell::fileObject().CreateTextFile(path, true, "new");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (::geteuid() != 0) {  // root writes anyway
        EXPECT_EQ(mdlMavrell::fileObject().GetFileText(path).toStdString(), "old\r\n");
    }
}

TEST(PathHelpers, AddSlashAndSameFile)
{
    EXPECT_EQ(mdlMavrell::AddSlash("/video").toStdString(), "/video/");
    EXPECT_EQ(mdlMavrell::AddSlash("/video/").toStdString(), "/video/");
    EXPECT_EQ(mdlMavrell::AddSlash("").toStdString(), "");

    QTemporaryDir dir;
    const QString a = dir.path() + "/Clip.avi";
    QFile f(a);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QFile::link(a, dir.path() + "/link.avi");
    EXPECT_TRUE(mdlMavrell::SameFile(a, dir.path() + "/./Clip.avi"));
    EXPECT_TRUE(mdlMavrell::SameFile(a, dir.path() + "/link.avi"));
    EXPECT_FALSE(mdlMavrell::SameFile(a, dir.path() + "/clip.avi"));  // case matters here
    EXPECT_FALSE(mdlMavrell::SameFile(a, ""));
}

TEST(PathHelpers, SetCurrentDirTakesTheFilesFolder)
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    mdlMavrell::SetCurrentDir(dir.path() + "/clip.avi", "/");
    EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    QDir::setCurrent(before);
}
