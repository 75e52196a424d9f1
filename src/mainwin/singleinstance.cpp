#include "mainwin/singleinstance.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <unistd.h>

namespace singleinstance {

namespace {
const char *const doneProperty = "mavrellCommandDone";
}

QString serverName()
{
    QString name = QString::fromLatin1(linkTopic);
    name.replace(QLatin1Char('|'), QLatin1Char('.'));
    name += QLatin1Char('-') + QString::number(::getuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return QDir(runtime).filePath(name);
    return name;
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
    if (copyIsListening(name))
        return Claim::OtherCopy;
    if (server_->listen(name))
        return Claim::First;
    if (server_->serverError() == QAbstractSocket::AddressInUseError) {
        // Two copies starting at once: the other one may have taken the name meanwhile.
        if (copyIsListening(name))
            return Claim::OtherCopy;
        QLocalServer::removeServer(name);  // left by a copy that did not end cleanly
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
