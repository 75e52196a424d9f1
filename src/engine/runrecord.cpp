#include "engine/runrecord.h"

#include "core/fileobject.h"
#include "engine/encodecommand.h"
#include "engine/encodeflow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace runrecord {

namespace {

const QString notePrefix = QStringLiteral("Mavrell.");
const QString noteSuffix = QStringLiteral(".run");

QString firstLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readLine()).trimmed();
}

// This boot of the machine; "" when it cannot be told.
QString bootId() { return firstLine(QStringLiteral("/proc/sys/kernel/random/boot_id")); }

// When process pid started, in clock ticks since the boot; "" when it cannot be read.
QString startTime(qint64 pid)
{
    const QString stat = firstLine(QStringLiteral("/proc/%1/stat").arg(pid));
    // The name in brackets may hold blanks; the fields after it start with the state (3rd).
    const int close = int(stat.lastIndexOf(QLatin1Char(')')));
    if (close < 0)
        return {};
    const QStringList fields = stat.mid(close + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return fields.size() > 19 ? fields[19] : QString();
}

struct Note {
    QString boot, start;
    qint64 pid = 0;
    QStringList files;
};

Note readNote(const QString &path)
{
    Note n;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return n;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const int eq = int(line.indexOf(QLatin1Char('=')));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq), value = line.mid(eq + 1);
        if (key == QLatin1String("boot"))
            n.boot = value;
        else if (key == QLatin1String("pid"))
            n.pid = value.toLongLong();
        else if (key == QLatin1String("start"))
            n.start = value;
        else if (key == QLatin1String("file") && !value.isEmpty())
            n.files << value;
    }
    return n;
}

// The program that wrote the note still runs: the same boot, the process is there (as
// another user's it cannot be signalled, but it is there), and it is the same process.
bool stillRuns(const Note &n)
{
    if (n.pid <= 0)
        return false;
    const QString boot = bootId();
    if (!n.boot.isEmpty() && !boot.isEmpty() && n.boot != boot)
        return false;
    if (::kill(pid_t(n.pid), 0) != 0 && errno == ESRCH)
        return false;
    const QString start = startTime(n.pid);
    return n.start.isEmpty() || start.isEmpty() || n.start == start;
}

} // namespace

bool isRunFileName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    for (const QString &ending : {encodeflow::partPath(QString()), encodecommand::intermediatePath(QString())})
        if (name.size() > ending.size() && name.endsWith(ending))
            return true;
    return false;
}

Record::Record(const QStringList &files, const QString &folder)
{
    const qint64 pid = QCoreApplication::applicationPid();
    QString text = QStringLiteral("boot=") + bootId() + QStringLiteral("\npid=") + QString::number(pid)
                   + QStringLiteral("\nstart=") + startTime(pid) + QLatin1Char('\n');
    for (const QString &file : files)
        if (isRunFileName(file))
            text += QStringLiteral("file=") + QFileInfo(file).absoluteFilePath() + QLatin1Char('\n');
    const QString path = mdlMavrell::AddSlash(folder) + notePrefix + QString::number(pid) + noteSuffix;
    if (mdlMavrell::WriteWholeFile(path, text))
        path_ = path;
}

Record::~Record()
{
    if (!path_.isEmpty())
        QFile::remove(path_);
}

QStringList clearLeftovers(const QString &folder)
{
    QStringList removed;
    const QDir dir(folder);
    const QStringList notes =
        dir.entryList({notePrefix + QLatin1Char('*') + noteSuffix}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : notes) {
        // Only notes named like ours: "Mavrell.<pid>.run".
        bool number = false;
        name.mid(notePrefix.size(), name.size() - notePrefix.size() - noteSuffix.size()).toLongLong(&number);
        if (!number)
            continue;
        const QString path = dir.filePath(name);
        const Note note = readNote(path);
        if (stillRuns(note))
            continue;
        for (const QString &file : note.files) {
            const QFileInfo info(file);
            if (isRunFileName(file) && info.isFile() && !info.isSymLink() && QFile::remove(file))
                removed << file;
        }
        QFile::remove(path);
    }
    return removed;
}

} // namespace runrecord
