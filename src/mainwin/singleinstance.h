// One working copy per user: the first copy listens on a local socket named after the
// link topic "Mavrell|FormDDE"; a later copy hands its command line over and ends.
// No window here: the main window reacts to commandReceived by showing itself.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace singleinstance {

// The link topic the server name is derived from.
inline constexpr const char *linkTopic = "Mavrell|FormDDE";

// The per-user server name: the topic made file-safe plus the user id, as a full path in
// the user's runtime folder when there is one (only that user may enter it), else a
// bare name that Qt places in the temporary folder.
QString serverName();

// The longest command line a receiver takes; a longer message is refused.
inline constexpr int maxCommandBytes = 64 * 1024;

// One message on the wire: the command's UTF-8 bytes behind their length (4 bytes,
// big-endian). The receiver answers one byte, acceptedByte.
QByteArray frame(const QString &cmd);
inline constexpr char acceptedByte = '\x01';

// Sends cmd to the copy listening on name. Every wait is on the socket and ends after
// waitMs at most. True when the running copy accepted the command.
bool sendDdeCommand(const QString &cmd, const QString &name, int waitMs = 2000);

// Whether a copy answers on name now (a connection is accepted).
bool copyIsListening(const QString &name, int waitMs = 500);

// The running copy's side: listens on a name and reports every complete command.
class Receiver : public QObject {
    Q_OBJECT
public:
    explicit Receiver(QObject *parent = nullptr);
    ~Receiver() override;

    enum class Claim {
        First,      // listening: this is the working copy
        OtherCopy,  // another copy answers on the name: hand over and end
        Failed      // no other copy, but the name cannot be taken: run on alone
    };
    // Starts listening; a socket file a crashed copy left behind is replaced.
    Claim listen(const QString &name);
    bool isListening() const;
    void close();

    // A client that has not sent a complete command by then is dropped (ms).
    int clientTimeoutMs = 3000;

signals:
    // A complete command arrived and was accepted.
    void commandReceived(const QString &cmd);

private:
    void acceptClients();
    void readClient(QLocalSocket *socket);

    QLocalServer *server_ = nullptr;
};

} // namespace singleinstance
