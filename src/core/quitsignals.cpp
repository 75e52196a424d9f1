#include "core/quitsignals.h"

#include "core/cmdoutput.h"
#include "core/mdlmavrell.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quitsignals {

namespace {

int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t arrived = 0;

// Only async-signal-safe work here: one write into the pipe.
void onSignal(int signo)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

void onPipe()
{
    unsigned char byte = 0;
    if (::read(pipeEnds[0], &byte, 1) != 1)
        return;
    if (arrived)
        return;
    arrived = byte;
    // A running conversion sees the stop in its next round, ends its tools and removes
    // its target; the loop of the program ends once that is done.
    cmdoutput::stopEncodeFlag = true;
    QCoreApplication::exit(128 + byte);
}

} // namespace

void install()
{
    if (pipeEnds[0] >= 0)
        return;
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return;
    }
    auto *notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { onPipe(); });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int signo : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signo, &sa, nullptr);
}

bool requested() { return arrived != 0; }

int signalNumber() { return arrived; }

} // namespace quitsignals
