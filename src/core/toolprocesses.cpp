#include "core/toolprocesses.h"

#include "core/cmdoutput.h"
#include "core/mdlmavrell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace toolprocesses {

QStringList splitToolCommand(const QString &cmdLine)
{
    const QString text = cmdLine.trimmed();
    if (text.isEmpty())
        return {};
    QStringList args = QProcess::splitCommand(text);
    if (args.isEmpty())
        return {};
    // Only a regular file is a program: a folder named by the first word (the tool
    // folder "/x/tt x" while "/x/tt" exists) is merely the start of a longer path.
    if (text.startsWith('"') || QFileInfo(args.first()).isFile())
        return args;
    // The tool path stands unquoted: in a folder with blanks the first word is only
    // part of it. Take the shortest run of the text up to a blank that names a file.
    const int quote = int(text.indexOf('"'));
    for (int i = int(text.indexOf(' ')); i > 0 && (quote < 0 || i < quote); i = int(text.indexOf(' ', i + 1))) {
        const QString head = text.left(i);
        if (QFileInfo(head).isFile()) {
            QStringList rest = QProcess::splitCommand(text.mid(i));
            rest.prepend(head);
            return rest;
        }
    }
    if (quote < 0 && QFileInfo(text).isFile())
        return {text};
    return args;
}

void prepareChild(QProcess &process)
{
    const pid_t parent = ::getpid();
    QProcessEnvironment env = process.processEnvironment();
    if (env.isEmpty())
        env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(ownerVariable), QString::number(parent));
    process.setProcessEnvironment(env);
    process.setChildProcessModifier([parent] {
        // Only async-signal-safe calls here: this runs in the child before exec.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);  // the program died before the child got here
    });
}

ToolProcess::ToolProcess() = default;

ToolProcess::~ToolProcess()
{
    if (process_ && process_->state() != QProcess::NotRunning) {
        killedByUs_ = true;
        process_->kill();
        process_->waitForFinished(1000);
    }
}

bool ToolProcess::start(const QString &cmdLine, bool withInput)
{
    if (process_ && process_->state() != QProcess::NotRunning)
        stop(0);
    process_ = std::make_unique<QProcess>();
    decoder_ = QStringDecoder(QStringDecoder::Utf8);
    started_ = killedByUs_ = readFailed_ = false;
    pid_ = 0;

    QStringList args = splitToolCommand(cmdLine);
    if (args.isEmpty())
        return false;
    const QString program = args.takeFirst();
    const QString resolved = program.contains('/') ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(resolved);
    if (resolved.isEmpty() || !info.isFile() || !info.isExecutable())
        return false;

    process_->setProcessChannelMode(QProcess::MergedChannels);
    if (!withInput)
        process_->setStandardInputFile(QProcess::nullDevice());
    prepareChild(*process_);
    QObject::connect(process_.get(), &QProcess::errorOccurred, process_.get(), [this](QProcess::ProcessError e) {
        if (e == QProcess::ReadError)
            readFailed_ = true;
    });
    process_->start(program, args);
    if (!process_->waitForStarted(5000)) {
        if (process_->state() != QProcess::NotRunning) {
            process_->kill();
            process_->waitForFinished(1000);
        }
        return false;
    }
    started_ = true;
    pid_ = process_->processId();
    return true;
}

QString ToolProcess::decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    return decoder_.decode(bytes);
}

QString ToolProcess::readAvailable()
{
    if (!process_)
        return {};
    return decode(process_->readAll());
}

qint64 ToolProcess::bytesWaiting() const { return process_ ? process_->bytesAvailable() : 0; }

QString ToolProcess::readRound(int waitMs)
{
    if (!process_)
        return {};
    if (process_->bytesAvailable() == 0 && process_->state() != QProcess::NotRunning && waitMs > 0) {
        QElapsedTimer t;
        t.start();
        if (!process_->waitForReadyRead(waitMs)) {
            // A child that closed its output but runs on: wait for its end instead,
            // so that the round still lasts its time and never spins.
            const int left = waitMs - int(t.elapsed());
            if (left > 0 && process_->state() != QProcess::NotRunning)
                process_->waitForFinished(left);
        }
    }
    return readAvailable();
}

QString ToolProcess::drain()
{
    if (!process_)
        return {};
    if (process_->state() != QProcess::NotRunning)
        process_->waitForReadyRead(0);
    return readAvailable();
}

bool ToolProcess::isRunning()
{
    if (!process_ || !started_ || process_->state() == QProcess::NotRunning)
        return false;
    process_->waitForFinished(0);  // notices an ended child without blocking
    return process_->state() != QProcess::NotRunning;
}

bool ToolProcess::write(const QByteArray &bytes)
{
    if (!isRunning())
        return false;
    if (process_->write(bytes) != bytes.size())
        return false;
    process_->waitForBytesWritten(100);
    return true;
}

void ToolProcess::stop(int graceMs)
{
    if (!isRunning())
        return;
    killedByUs_ = true;
    process_->terminate();
    if (graceMs > 0 && process_->waitForFinished(graceMs))
        return;
    process_->kill();
    process_->waitForFinished(1000);
}

bool ToolProcess::waitForEnd(int ms)
{
    if (!isRunning())
        return true;
    process_->waitForFinished(ms);
    return process_->state() == QProcess::NotRunning;
}

int ToolProcess::exitCode() const
{
    if (killedByUs_)
        return cmdoutput::killExitCode;
    if (!process_ || !started_ || process_->state() != QProcess::NotRunning)
        return -1;
    return process_->exitStatus() == QProcess::CrashExit ? -1 : process_->exitCode();
}

bool ToolProcess::crashed() const
{
    return process_ && started_ && !killedByUs_ && process_->state() == QProcess::NotRunning
           && process_->exitStatus() == QProcess::CrashExit;
}

namespace {

QByteArray readProcFile(const QByteArray &path, qsizetype limit = 65536)
{
    QByteArray data;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return data;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        data.append(buf, n);
        if (data.size() > limit)
            break;
    }
    ::close(fd);
    return data;
}

// Gone, or a zombie waiting to be reaped: either way it runs no more.
bool hasEnded(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    const QByteArray stat = readProcFile("/proc/" + QByteArray::number(pid) + "/stat");
    const int close = int(stat.lastIndexOf(')'));
    if (stat.isEmpty() || close < 0 || close + 2 >= stat.size())
        return stat.isEmpty();
    const char state = stat.at(close + 2);
    return state == 'Z' || state == 'X';
}

// Waits at most ms for every pid to end, looking every 10 ms.
void waitForEnd(const QList<qint64> &pids, int ms)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        bool all = true;
        for (qint64 pid : pids)
            all = all && hasEnded(pid);
        if (all || t.elapsed() >= ms)
            return;
        QThread::msleep(10);
    }
}

// The parent's process id from /proc/<pid>/stat; 0 when it cannot be read.
qint64 parentOf(qint64 pid)
{
    const QByteArray stat = readProcFile("/proc/" + QByteArray::number(pid) + "/stat");
    const int close = int(stat.lastIndexOf(')'));
    if (close < 0)
        return 0;
    // After the name: " <state> <ppid> ..."
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() : 0;
}

} // namespace

bool ownedByLivingCopy(qint64 pid)
{
    const QByteArray environ = readProcFile("/proc/" + QByteArray::number(pid) + "/environ", 1 << 20);
    if (environ.isEmpty())
        return true;
    const QByteArray key = QByteArray(ownerVariable) + '=';
    for (const QByteArray &entry : environ.split('\0')) {
        if (!entry.startsWith(key))
            continue;
        bool ok = false;
        const qint64 owner = entry.mid(key.size()).toLongLong(&ok);
        const qint64 parent = parentOf(pid);
        return ok && owner > 1 && parent == owner;
    }
    return false;
}

QList<qint64> leftoversStartedFrom(const QString &prefix)
{
    QList<qint64> left;
    for (qint64 pid : processesStartedFrom(prefix))
        if (!ownedByLivingCopy(pid))
            left.append(pid);
    return left;
}

QString processArgv0(qint64 pid)
{
    const QByteArray cmdline = readProcFile("/proc/" + QByteArray::number(pid) + "/cmdline");
    const int nul = int(cmdline.indexOf('\0'));
    return QFile::decodeName(nul < 0 ? cmdline : cmdline.left(nul));
}

QList<qint64> processesStartedFrom(const QString &prefix)
{
    QList<qint64> found;
    const QString want = QDir::cleanPath(prefix);
    if (prefix.isEmpty() || !QDir::isAbsolutePath(want))
        return found;
    const uid_t me = ::getuid();
    const qint64 self = ::getpid();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &e : entries) {
        bool isPid = false;
        const qint64 pid = e.toLongLong(&isPid);
        if (!isPid || pid == self)
            continue;
        struct stat st;
        if (::stat(QByteArray("/proc/" + e.toLatin1()).constData(), &st) != 0 || st.st_uid != me)
            continue;
        const QString argv0 = processArgv0(pid);
        if (argv0.isEmpty() || !QDir::isAbsolutePath(argv0))
            continue;
        if (QDir::cleanPath(argv0).startsWith(want) && !hasEnded(pid))
            found.append(pid);
    }
    return found;
}

} // namespace toolprocesses

namespace mdlConsole {

void KillPlayersIn(const QString &folder)
{
    const QList<qint64> pids = toolprocesses::leftoversStartedFrom(folder);
    if (pids.isEmpty())
        return;
    for (qint64 pid : pids)
        ::kill(pid_t(pid), SIGTERM);
    toolprocesses::waitForEnd(pids, 500);
    QList<qint64> left;
    for (qint64 pid : pids)
        if (!toolprocesses::hasEnded(pid))
            left.append(pid);
    for (qint64 pid : left)
        ::kill(pid_t(pid), SIGKILL);
    toolprocesses::waitForEnd(left, 1000);
}

} // namespace mdlConsole
