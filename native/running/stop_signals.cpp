// The stop signals through a pipe: a flag alone could be set just after the loop looked at it
// and just before it began to wait.
#include "native/running/stop_signals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t stopped = 0;

// The interrupted code may be about to read errno: the write must not change it.
void onStopSignal(int) {
    const int savedErrno = errno;
    stopped = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

bool catchStopSignals() {
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    for (const int end : pipeEnds) {
        fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
        fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    // Xlib's reads and writes resume rather than fail; the wait for a frame wakes by the pipe.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    return true;
}

int stopSignalFd() {
    return pipeEnds[0];
}

bool stopRequested() {
    return stopped != 0;
}
