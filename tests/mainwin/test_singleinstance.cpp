// One working copy per user and display: the local-socket hand-off between a later
// launch and the copy at work, its name, and the main window's two sides of it.
#include "core/mdlmavrell.h"
#include "core/toolprocesses.h"
#include "coregui/jobstate.h"
#include "mainwin/frmmain.h"
#include "mainwin/frmsplash.h"
#include "mainwin/singleinstance.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <atomic>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace singleinstance;

namespace {

std::string s(const QString &q) { return q.toStdString(); }

// The later launch runs in a thread of its own, so this thread's receiver can answer.
template <typename F>
auto fromOtherThread(F work)
{
    decltype(work()) result{};
    std::atomic<bool> done{false};
    std::unique_ptr<QThread> t(QThread::create([&] {
        result = work();
        done = true;
    }));
    t->start();
    const QDeadlineTimer limit(20000);
    while (!done && !limit.hasExpired()) {
        QCoreApplication::processEvents();
        t->wait(5);
    }
    t->wait();
    QCoreApplication::processEvents();
    return result;
}

bool waitFor(const std::function<bool()> &cond)
{
    const QDeadlineTimer limit(10000);
    while (!cond() && !limit.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return cond();
}

class HandOff : public ::testing::Test {
protected:
    QString name() const { return dir.filePath(QStringLiteral("hand-off")); }
    QTemporaryDir dir;
};

} // namespace

TEST(HandOffName, OneKeyPerDisplay)
{
    struct Case {
        const char *platform, *display, *wayland, *key;
    } cases[] = {
        {"", ":0", "", "x11-0"},
        {"", ":0.0", "", "x11-0"},           // the screen number is no other display
        {"xcb", "unix:0.1", "", "x11-0"},    // nor is the local host named
        {"", " :0 ", "", "x11-0"},
        {"", ":1", "", "x11-1"},
        {"", "localhost:10.0", "", "x11-localhost-10"},  // ssh -X
        {"", ":0", "wayland-0", "x11-0"},    // the program draws through X11 under Wayland
        {"", "", "wayland-1", "wl-wayland-1"},
        {"wayland", ":0", "wayland-1", "wl-wayland-1"},
        {"wayland;xcb", ":0", "", "wl-wayland-0"},
        {"offscreen", ":0", "", "offscreen"},
        {"offscreen:fontengine=freetype", "", "", "offscreen"},
        {"", "", "", "nodisplay"},
        {"", "../../x/y:0", "", "x11-.._.._x_y-0"},  // never a path of its own
    };
    for (const Case &c : cases)
        EXPECT_EQ(s(displayKey(c.platform, c.display, c.wayland)), c.key) << c.platform << " | " << c.display << " | " << c.wayland;

    EXPECT_EQ(s(socketFileName(1000, "x11-0")), "Mavrell.FormDDE-1000-x11-0");
    EXPECT_EQ(s(socketFileName(0, "offscreen", "t/1")), "Mavrell.FormDDE-0-offscreen-t_1");
    EXPECT_EQ(socketFileName(0, displayKey("wayland", "", QString(300, 'w'))).size(), 37) << "a digest stands in";
}

// The name follows the user and the display, never XDG_RUNTIME_DIR (su, ssh -X and bare X
// sessions each get a fresh one), and lies in a folder only this user may enter.
TEST(HandOffName, IsTheSameWhateverTheRuntimeFolderSays)
{
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR"), savedPlatform = qgetenv("QT_QPA_PLATFORM"),
                     savedDisplay = qgetenv("DISPLAY");
    QTemporaryDir other;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(other.path()));
    const QString name = serverName();
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(s(serverName()), s(name));
    qputenv("XDG_RUNTIME_DIR", "/no/such/folder");
    EXPECT_EQ(s(serverName()), s(name));
    EXPECT_FALSE(name.startsWith(other.path()));
    EXPECT_TRUE(QFileInfo(name).fileName().startsWith(socketFileName(::getuid(), "offscreen"))) << s(name);

    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(QFileInfo(name).path()).constData(), &st), 0) << s(name);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, ::getuid());
    EXPECT_EQ(st.st_mode & 077, 0u) << "others may enter " << s(QFileInfo(name).path());

    // Another display, another name.
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DISPLAY", ":7.0");
    EXPECT_TRUE(serverName().endsWith(QStringLiteral("-x11-7"))) << s(serverName());
    qputenv("QT_QPA_PLATFORM", savedPlatform);
    qputenv("DISPLAY", savedDisplay);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

TEST(HandOffName, OnlyAPrivateFolderOfTheUsersIsUsed)
{
    QTemporaryDir dir;
    const QString base = dir.path() + '/';
    auto mode = [](const QString &p) {
        struct stat st;
        return ::lstat(QFile::encodeName(p).constData(), &st) == 0 ? st.st_mode & 0777 : 0u;
    };
    // Missing: made closed to everyone else, when asked to.
    EXPECT_EQ(s(privateFolder(base + "missing", false)), "");
    EXPECT_EQ(s(privateFolder(base + "made", true)), s(base + "made"));
    EXPECT_EQ(mode(base + "made"), 0700u);
    // The user's own but open: closed before use, and refused where it may not be changed.
    ASSERT_TRUE(QDir().mkdir(base + "open"));
    ::chmod(QFile::encodeName(base + "open").constData(), 0755);
    EXPECT_EQ(s(privateFolder(base + "open", false)), "");
    EXPECT_EQ(s(privateFolder(base + "open", true)), s(base + "open"));
    EXPECT_EQ(mode(base + "open"), 0700u);
    // A link to a private folder, or a file, is no folder of the user's.
    ASSERT_TRUE(QFile::link(base + "made", base + "link"));
    EXPECT_EQ(s(privateFolder(base + "link", true)), "");
    QFile file(base + "file");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(s(privateFolder(base + "file", true)), "");
    // Someone else's, even one closed to others (its owner could listen in it).
    if (::geteuid() == 0) {
        ASSERT_TRUE(QDir().mkdir(base + "taken"));
        ::chmod(QFile::encodeName(base + "taken").constData(), 0700);
        ASSERT_EQ(::chown(QFile::encodeName(base + "taken").constData(), 65534, 65534), 0);
        EXPECT_EQ(s(privateFolder(base + "taken", true)), "");
    }
}

TEST_F(HandOff, EveryCommandLineArrivesWholeAndIsAccepted)
{
    Receiver running;
    ASSERT_EQ(running.listen(name()), Receiver::Claim::First);
    QSignalSpy got(&running, &Receiver::commandReceived);
    const QString cases[] = {
        QString(),                                          // a launch without arguments
        QStringLiteral("/home/u/My Videos/clip one.avi"),   // a file name: accepted, not used
        QStringLiteral("/tmp/影片 \"quoted\".mpg"),          // non-Latin text and quotes
        QStringLiteral("first\nsecond"),                    // a line break inside an argument
        QString(20000, QLatin1Char('x')),                   // longer than one read
    };
    for (const QString &cmd : cases) {
        const bool accepted = fromOtherThread([&] { return sendDdeCommand(cmd, name()); });
        EXPECT_TRUE(accepted) << s(cmd.left(40));
        ASSERT_TRUE(waitFor([&] { return !got.isEmpty(); })) << s(cmd.left(40));
        EXPECT_EQ(got.takeFirst().at(0).toString(), cmd);
    }
}

TEST_F(HandOff, ClaimingTheName)
{
    // Nobody listens: nothing is accepted and the first copy takes the name.
    EXPECT_FALSE(sendDdeCommand(QStringLiteral("x"), name(), 300));
    Receiver first;
    EXPECT_EQ(first.listen(name()), Receiver::Claim::First);
    // A second copy finds the first one at work.
    Receiver second;
    EXPECT_EQ(fromOtherThread([&] { return second.listen(name()); }), Receiver::Claim::OtherCopy);
    EXPECT_FALSE(second.isListening());
    first.close();

    // A socket file left by a copy that was killed is taken over.
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr = {};
        addr.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(name());
        ASSERT_LT(size_t(path.size()), sizeof addr.sun_path);
        std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
        ::close(fd);  // bound, never listened on: nobody answers
        ASSERT_TRUE(QFileInfo::exists(name()));
    }
    Receiver after;
    EXPECT_EQ(after.listen(name()), Receiver::Claim::First);
    EXPECT_TRUE(fromOtherThread([&] { return sendDdeCommand(QStringLiteral("again"), name()); }));

    // A name that cannot be taken is not mistaken for another copy.
    Receiver nowhere;
    EXPECT_EQ(nowhere.listen(dir.filePath(QStringLiteral("no/such/folder/sock"))), Receiver::Claim::Failed);
}

TEST_F(HandOff, ABadClientIsDroppedAndTheNextOneServed)
{
    Receiver running;
    running.clientTimeoutMs = 200;
    ASSERT_EQ(running.listen(name()), Receiver::Claim::First);
    QSignalSpy got(&running, &Receiver::commandReceived);

    // A length beyond the limit: the connection is closed at once, nothing reported.
    QLocalSocket huge;
    huge.connectToServer(name());
    ASSERT_TRUE(huge.waitForConnected(2000));
    QByteArray header(4, '\0');
    qToBigEndian<quint32>(quint32(maxCommandBytes + 1), header.data());
    huge.write(header);
    huge.flush();
    EXPECT_TRUE(waitFor([&] { return huge.state() == QLocalSocket::UnconnectedState; }));

    // A client that stops half-way is dropped after its time.
    QLocalSocket stalled;
    stalled.connectToServer(name());
    ASSERT_TRUE(stalled.waitForConnected(2000));
    stalled.write(frame(QStringLiteral("never finished")).left(9));
    stalled.flush();
    EXPECT_TRUE(waitFor([&] { return stalled.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_TRUE(got.isEmpty());

    EXPECT_TRUE(fromOtherThread([&] { return sendDdeCommand(QStringLiteral("ok"), name()); }));
    ASSERT_TRUE(waitFor([&] { return !got.isEmpty(); }));
    EXPECT_EQ(s(got.at(0).at(0).toString()), "ok");
}

// ---------------------------------------------------------------- the main window

class WindowHandOff : public HandOff {
protected:
    void SetUp() override
    {
        prog.activate();
        w = &frmMain();
        w->instanceName = name();
        w->endProgram = [this] { ++ended; };
    }
    void TearDown() override
    {
        unloadFrmSplash();
        destroyFrmMain();
    }
    testenv::ProgramDir prog;
    ScriptedPrompts prompts;
    FrmMain *w = nullptr;
    int ended = 0;
};

TEST_F(WindowHandOff, ALaterLaunchHandsOverAndEndsBeforeTouchingAnything)
{
    Receiver running;
    ASSERT_EQ(running.listen(name()), Receiver::Claim::First);
    QSignalSpy got(&running, &Receiver::commandReceived);
    // The running copy answers from another thread here, as it would from its own process.
    std::unique_ptr<QThread> other(new QThread);
    running.moveToThread(other.get());
    other->start();

    w->Form_Load();
    EXPECT_TRUE(w->handedOff());
    EXPECT_EQ(ended, 1);
    other->quit();
    other->wait();
    running.moveToThread(QThread::currentThread());
    EXPECT_EQ(got.size(), 1);
    // Ended before the settings: none read, none written; no timers started.
    EXPECT_FALSE(QFile::exists(prog.appDir() + "Mavrell.ini"));
    EXPECT_FALSE(w->tmrCPU.isActive());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(WindowHandOff, TheRunningCopyComesToTheFrontAndIgnoresTheFileName)
{
    w->Form_Load();
    ASSERT_FALSE(w->handedOff());
    EXPECT_EQ(ended, 0);
    w->hide();
    const QString before = w->lblInput->text();

    EXPECT_TRUE(fromOtherThread([&] { return sendDdeCommand(QStringLiteral("/tmp/some clip.avi"), name()); }));
    ASSERT_TRUE(waitFor([&] { return w->isVisible(); }));
    EXPECT_EQ(w->lblInput->text(), before);
    EXPECT_EQ(jobstate::sourceInfo.srcLength, 0.0f);

    // A minimised window is brought back, too.
    w->showMinimized();
    int cancel = 1;
    w->Form_LinkExecute(QString(), cancel);
    EXPECT_EQ(cancel, 0);
    EXPECT_FALSE(w->windowState() & Qt::WindowMinimized);
}

// ---------------------------------------------------------------- two launches

// Two launches of the program with different runtime folders (run.sh makes a fresh one
// where none is set: su, ssh -X, a bare X session). The later one finds the copy at
// work, hands its command line over and ends; the tool that copy runs from the
// program's tool folder runs on.
TEST(TwoLaunches, TheLaterHandsOverWhateverItsRuntimeFolderAndTheFirstsToolRunsOn)
{
    const QString program = testenv::buildAppDir() + "mavrell";
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << s(program);
    // This test's copies meet no other copy on the machine, nor another test's.
    const QByteArray savedTag = qgetenv(instanceTagVariable), savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv(instanceTagVariable, "two-launches-" + QByteArray::number(QCoreApplication::applicationPid()));
    QTemporaryDir firstRuntime, laterRuntime;
    ::chmod(QFile::encodeName(firstRuntime.path()).constData(), 0700);
    ::chmod(QFile::encodeName(laterRuntime.path()).constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(firstRuntime.path()));

    const QString name = serverName();
    Receiver first;
    ASSERT_EQ(first.listen(name), Receiver::Claim::First);
    QSignalSpy got(&first, &Receiver::commandReceived);
    // The first copy's tool, in the folder a later copy sweeps for leftovers.
    toolprocesses::ToolProcess tool;
    ASSERT_TRUE(tool.start(testenv::buildAppDir() + "plugins/OrvexRes1 -idle -slave -quiet -nolirc -noconfig all -vo null -ao null",
                           true));

    QProcess later;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", laterRuntime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    later.setProcessEnvironment(env);
    later.start(program, {"/tmp/some clip.avi"});
    ASSERT_TRUE(later.waitForStarted(10000));
    const QDeadlineTimer limit(60000);
    while (later.state() != QProcess::NotRunning && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const bool ended = later.state() == QProcess::NotRunning;
    if (!ended) {
        later.kill();
        later.waitForFinished(5000);
    }
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv(instanceTagVariable, savedTag);

    ASSERT_TRUE(ended) << "the later launch runs on as a copy of its own";
    EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(later.exitCode(), 0);
    ASSERT_TRUE(waitFor([&] { return !got.isEmpty(); }));
    EXPECT_EQ(s(got.at(0).at(0).toString()), "/tmp/some clip.avi");
    EXPECT_TRUE(tool.isRunning()) << "the first copy's tool was ended";
    tool.stop();
    first.close();
    QFile::remove(name + ".lock");
}
