// The end the desktop asks for: SIGTERM (a shutdown, kill), SIGINT (Ctrl+C in the
// terminal that started the program) and SIGHUP (a logout, the terminal closed).
// Nobody is there to answer a question any more, so the program ends its work quietly:
// a running conversion stops its tools and removes its unfinished target, no box is
// shown, and the event loop is left with 128 + the signal's number.
//
// The signal handler itself only writes the signal's number into a pipe (a self-pipe);
// a QSocketNotifier on the pipe's other end does the rest on the GUI thread.
#pragma once

namespace quitsignals {

// Installs the handlers (once; later calls do nothing). Needs a QCoreApplication.
void install();
// A signal arrived: the program is on its way out.
bool requested();
// The signal that arrived, 0 before one did.
int signalNumber();

} // namespace quitsignals
