// One working copy per user and display: the first copy listens on a local socket
// named after the link topic "Mavrell|FormDDE"; a later copy hands its command line
// over and ends.
// No window here: the main window reacts to commandReceived by showing itself.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace singleinstance {

// The link topic the server name is derived from.
inline constexpr const char *linkTopic = "Mavrell|FormDDE";

// What tells one display from another for the hand-off: the platform plugin named in
// QT_QPA_PLATFORM (its first entry, before any ":options"), DISPLAY and WAYLAND_DISPLAY.
// The X display the program draws on, without its screen number and with the local
// host "unix" dropped (":0", ":0.0" and "unix:0" are one display: "x11-0"; "localhost:10.0"
// is "x11-localhost-10"); under a Wayland platform the Wayland display ("wl-wayland-0");
// another platform is named by itself ("offscreen", "linuxfb"); no display at all is
// "nodisplay". The result is file-safe: letters, digits, ".", "_" and "-" only.
QString displayKey(const QString &platform, const QString &display, const QString &waylandDisplay);

// The socket's file name: the topic made file-safe, the user id, the display key and,
// when not empty, the isolation tag (tests set it, see instanceTagVariable).
QString socketFileName(uint uid, const QString &displayKey, const QString &tag = QString());

// Names the environment variable that keeps a test's copies apart from every other
// copy on the machine; the program itself never sets it.
inline constexpr const char *instanceTagVariable = "MAVRELL_INSTANCE_TAG";

// The folder at path when it is a private folder of this user's: a folder (a link is
// never followed), the user's, closed to everyone else. With create it is made with
// mode 0700 when missing, and closed when it is the user's own but open. "" otherwise.
QString privateFolder(const QString &path, bool create);

// The hand-off name of this user on this display, the same for every launch whatever
// XDG_RUNTIME_DIR says: a full path in a folder only this user may enter. That folder
// is the user's runtime folder /run/user/<uid> when it is the user's and closed to
// everyone else, else /tmp/mavrell-<uid>, made with mode 0700 (closed again when it is
// the user's own and open; never used when it belongs to someone else or is a link).
// When a copy already listens in the other of the two, its name is given. "" when no
// such folder can be had: the copy then runs on alone.
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
    // Starts listening. Copies that start at once take turns (a lock file beside the
    // name), so a socket file that no copy answers on is one a killed copy left behind,
    // and is replaced.
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
