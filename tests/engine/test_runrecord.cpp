// The notes of a run in the settings folder, and what the next start clears by them:
// only the run's own files of runs whose program is gone.
#include "engine/encodecommand.h"
#include "engine/encodeflow.h"
#include "engine/runrecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("partial");
}

void writeNote(const QString &path, const QString &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

QString firstLine(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readLine()).trimmed() : QString();
}

// A process id that ran a moment ago and is gone now.
qint64 endedPid()
{
    QProcess p;
    p.start(QStringLiteral("true"), {});
    p.waitForFinished();
    return p.processId() > 0 ? p.processId() : 999999;
}

TEST(RunRecord, TheRunsOwnNamesAlone)
{
    const QString target = QStringLiteral("/v/clip.mpg");
    EXPECT_TRUE(runrecord::isRunFileName(encodeflow::partPath(target)));
    EXPECT_TRUE(runrecord::isRunFileName(encodecommand::intermediatePath(target)));
    EXPECT_EQ(encodeflow::partPath(target), "/v/clip.mpg.mavrell-part");
    for (const char *other : {"/v/clip.mpg", "/v/.mavrell-part", "/v/clip.mavrell-part.mpg", "/v/clip.mpg.part"})
        EXPECT_FALSE(runrecord::isRunFileName(QString::fromLatin1(other))) << other;
}

TEST(RunRecord, NoteLivesAsLongAsTheRun)
{
    QTemporaryDir settings, targets;
    const QString part = encodeflow::partPath(targets.filePath("a b.avi"));
    QString notePath;
    {
        const runrecord::Record note({part, QString(), targets.filePath("a b.avi")}, settings.path());
        notePath = note.path();
        ASSERT_FALSE(notePath.isEmpty());
        EXPECT_EQ(QFileInfo(notePath).fileName(),
                  QStringLiteral("Mavrell.%1.run").arg(QCoreApplication::applicationPid()));
        QFile f(notePath);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(text.contains("\nfile=" + part + "\n")) << text.toStdString();
        EXPECT_FALSE(text.contains("a b.avi\n")) << "the target is no run file";
        // A start while this run goes on (another user's copy sharing the folder) leaves it.
        touch(part);
        EXPECT_TRUE(runrecord::clearLeftovers(settings.path()).isEmpty());
        EXPECT_TRUE(QFile::exists(part));
        EXPECT_TRUE(QFile::exists(notePath));
    }
    EXPECT_FALSE(QFile::exists(notePath));
}

TEST(RunRecord, TheNextStartClearsWhatRunsThatAreGoneLeft)
{
    QTemporaryDir settings, targets;
    const QString boot = firstLine(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    const QString ownPid = QString::number(QCoreApplication::applicationPid());
    struct Case {
        const char *what;
        QString header;  // boot, pid and start lines
        bool cleared;
    } cases[] = {
        {"the process is gone", "boot=" + boot + "\npid=" + QString::number(endedPid()) + "\nstart=1\n", true},
        {"another boot (a power cut), though the number is ours now", "boot=another-boot\npid=" + ownPid + "\nstart=1\n",
         true},
        {"the number is another process's now", "boot=" + boot + "\npid=" + ownPid + "\nstart=1\n", true},
        {"a copy that still runs", "boot=" + boot + "\npid=1\n", false},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString target = targets.filePath(QStringLiteral("clip%1.vob").arg(++n));
        const QString part = encodeflow::partPath(target), intermediate = encodecommand::intermediatePath(target);
        touch(part);
        touch(intermediate);
        touch(target);  // the user's own file of that name, named in the note by mistake
        const QString note = settings.filePath(QStringLiteral("Mavrell.%1.run").arg(1000 + n));
        writeNote(note, c.header + "file=" + part + "\nfile=" + intermediate + "\nfile=" + target + "\n");
        const QStringList removed = runrecord::clearLeftovers(settings.path());
        EXPECT_EQ(removed, c.cleared ? QStringList({part, intermediate}) : QStringList());
        EXPECT_EQ(QFile::exists(part), !c.cleared);
        EXPECT_EQ(QFile::exists(note), !c.cleared);
        EXPECT_TRUE(QFile::exists(target));
        QFile::remove(note);
    }
    // Only notes named like the program's: its settings file is never read as one.
    const QString part = encodeflow::partPath(targets.filePath("x.avi"));
    touch(part);
    writeNote(settings.filePath("Mavrell.ini"), "pid=1\nfile=" + part + "\n");
    writeNote(settings.filePath("Mavrell.x.run"), "pid=1\nfile=" + part + "\n");
    EXPECT_TRUE(runrecord::clearLeftovers(settings.path()).isEmpty());
    EXPECT_TRUE(QFile::exists(part));
}

} // namespace
