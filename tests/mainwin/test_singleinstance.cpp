// One working copy per user: the local-socket hand-off between a later launch and the
// copy at work, and the main window's two sides of it.
#include "core/mdlmavrell.h"
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
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

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

TEST(HandOffName, IsPerUserAndDerivedFromTheLinkTopic)
{
    const QString n = serverName();
    EXPECT_TRUE(n.contains(QStringLiteral("Mavrell.FormDDE-"))) << s(n);
    EXPECT_FALSE(n.contains(QLatin1Char('|')));
    EXPECT_TRUE(n.endsWith(QLatin1Char('-') + QString::number(::getuid()))) << s(n);
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

    // A socket file left by a copy that crashed is taken over.
    {
        QFile stale(name());
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
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
