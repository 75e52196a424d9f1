#include "mainwin/singleinstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace singleinstance {

namespace {
const char *const doneProperty = "mavrellCommandDone";

// Keeps letters, digits, ".", "_" and "-"; anything else becomes "_". A text longer than
// maxLength becomes a digest of it, so that the socket's path stays within its limit.
QString fileSafe(const QString &text, int maxLength = 40)
{
    QString out;
    for (const QChar c : text)
        out += (c.isLetterOrNumber() && c.unicode() < 128) || c == '.' || c == '_' || c == '-' ? c : QChar('_');
    if (out.size() > maxLength)
        out = QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    return out;
}

// Holds an exclusive lock on a file beside a socket name while a copy claims the name.
class ClaimLock {
public:
    explicit ClaimLock(const QString &name)
    {
        if (!QDir::isAbsolutePath(name))
            return;
        fd_ = ::open(QFile::encodeName(name + QStringLiteral(".lock")).constData(),
                     O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ < 0)
            return;
        // A copy holds it only while it claims; one that hangs is not waited for long.
        QElapsedTimer t;
        t.start();
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (t.elapsed() > 3000) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
            QThread::msleep(20);
        }
    }
    ~ClaimLock()
    {
        if (fd_ >= 0)
            ::close(fd_);  // releases the lock
    }
    ClaimLock(const ClaimLock &) = delete;
    ClaimLock &operator=(const ClaimLock &) = delete;

private:
    int fd_ = -1;
};

} // namespace

QString privateFolder(const QString &path, bool create)
{
    const QByteArray p = QFile::encodeName(path);
    if (path.isEmpty() || (create && ::mkdir(p.constData(), 0700) != 0 && errno != EEXIST))
        return QString();
    struct stat st;
    if (::lstat(p.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return QString();
    if ((st.st_mode & 077) != 0) {
        if (!create)
            return QString();
        // Ours but open (made by hand, or under another umask): closed before use.
        const int fd = ::open(p.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return QString();
        const bool closed = ::fstat(fd, &st) == 0 && st.st_uid == ::getuid() && ::fchmod(fd, 0700) == 0;
        ::close(fd);
        if (!closed)
            return QString();
    }
    return path;
}

QString displayKey(const QString &platform, const QString &display, const QString &waylandDisplay)
{
    const QString plugin = platform.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0).trimmed().toLower();
    const QString wayland = waylandDisplay.trimmed();
    if (plugin.startsWith(QLatin1String("wayland")))
        return QStringLiteral("wl-") + fileSafe(wayland.isEmpty() ? QStringLiteral("wayland-0") : wayland);
    if (!plugin.isEmpty() && plugin != QLatin1String("xcb"))
        return fileSafe(plugin);  // offscreen, a frame buffer: named by itself
    const QString x = display.trimmed();
    const int colon = int(x.lastIndexOf(QLatin1Char(':')));
    if (colon >= 0) {
        QString host = x.left(colon);
        if (host == QLatin1String("unix"))
            host.clear();
        const QString number = x.mid(colon + 1).section(QLatin1Char('.'), 0, 0);
        return QStringLiteral("x11-") + (host.isEmpty() ? QString() : fileSafe(host) + QLatin1Char('-')) + fileSafe(number);
    }
    // The program draws through X11 under a Wayland session too; with no X display it
    // is the Wayland display that tells one desktop from another.
    if (!wayland.isEmpty())
        return QStringLiteral("wl-") + fileSafe(wayland);
    return QStringLiteral("nodisplay");
}

QString socketFileName(uint uid, const QString &key, const QString &tag)
{
    QString name = QString::fromLatin1(linkTopic);
    name.replace(QLatin1Char('|'), QLatin1Char('.'));
    name += QLatin1Char('-') + QString::number(uid) + QLatin1Char('-') + key;
    if (!tag.isEmpty())
        name += QLatin1Char('-') + fileSafe(tag, 32);
    return name;
}

QString serverName()
{
    const QString file = socketFileName(::getuid(),
                                        displayKey(qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
                                                   qEnvironmentVariable("WAYLAND_DISPLAY")),
                                        qEnvironmentVariable(instanceTagVariable));
    const QString uid = QString::number(::getuid());
    const QString runtime = privateFolder(QStringLiteral("/run/user/") + uid, false);
    const QString temp = privateFolder(QStringLiteral("/tmp/mavrell-") + uid, runtime.isEmpty());
    if (!runtime.isEmpty()) {
        // A copy started while the runtime folder was not there listens in the other one.
        const QString there = temp.isEmpty() ? QString() : QDir(temp).filePath(file);
        if (!there.isEmpty() && QFileInfo::exists(there) && copyIsListening(there, 200))
            return there;
        return QDir(runtime).filePath(file);
    }
    return temp.isEmpty() ? QString() : QDir(temp).filePath(file);
}

QByteArray frame(const QString &cmd)
{
    const QByteArray body = cmd.toUtf8();
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);  // big-endian, as the reader expects
    stream << quint32(body.size());
    stream.writeRawData(body.constData(), int(body.size()));
    return out;
}

bool copyIsListening(const QString &name, int waitMs)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool up = probe.waitForConnected(waitMs);
    probe.abort();
    return up;
}

bool sendDdeCommand(const QString &cmd, const QString &name, int waitMs)
{
    QLocalSocket link;
    link.connectToServer(name);
    if (!link.waitForConnected(waitMs))
        return false;
    QCoreApplication::processEvents();
    link.write(frame(cmd));
    link.flush();
    while (link.bytesToWrite() > 0)
        if (!link.waitForBytesWritten(waitMs))
            return false;
    QCoreApplication::processEvents();
    bool accepted = false;
    if (link.bytesAvailable() > 0 || link.waitForReadyRead(waitMs))
        accepted = link.read(1) == QByteArray(1, acceptedByte);
    link.disconnectFromServer();
    return accepted;
}

Receiver::Receiver(QObject *parent) : QObject(parent), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &Receiver::acceptClients);
}

Receiver::~Receiver() { close(); }

Receiver::Claim Receiver::listen(const QString &name)
{
    if (server_->isListening())
        return Claim::First;
    const ClaimLock turn(name);
    if (copyIsListening(name))
        return Claim::OtherCopy;
    if (server_->listen(name))
        return Claim::First;
    if (server_->serverError() == QAbstractSocket::AddressInUseError) {
        // Another copy may have taken the name meanwhile (when the lock could not be had).
        if (copyIsListening(name))
            return Claim::OtherCopy;
        QLocalServer::removeServer(name);  // left by a copy that was killed
        if (server_->listen(name))
            return Claim::First;
    }
    return Claim::Failed;
}

bool Receiver::isListening() const { return server_->isListening(); }

void Receiver::close()
{
    if (server_->isListening())
        server_->close();
}

void Receiver::acceptClients()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readClient(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A client that never finishes its message does not keep its connection.
        QTimer::singleShot(clientTimeoutMs, socket, [socket] {
            if (!socket->property(doneProperty).toBool())
                socket->abort();
        });
        readClient(socket);
    }
}

void Receiver::readClient(QLocalSocket *socket)
{
    if (socket->property(doneProperty).toBool()) {
        socket->readAll();
        return;
    }
    // A message may come in pieces: read it whole in one transaction, or leave what
    // came so far in the socket until the rest arrives.
    QDataStream in(socket);
    in.startTransaction();
    quint32 length = 0;
    in >> length;
    if (in.status() == QDataStream::Ok && length > quint32(maxCommandBytes)) {
        socket->abort();
        return;
    }
    QByteArray body(qsizetype(length), Qt::Uninitialized);
    in.readRawData(body.data(), int(length));
    if (!in.commitTransaction())
        return;
    const QString cmd = QString::fromUtf8(body);
    socket->setProperty(doneProperty, true);
    socket->write(QByteArray(1, acceptedByte));
    socket->flush();
    socket->disconnectFromServer();
    emit commandReceived(cmd);
}

} // namespace singleinstance
