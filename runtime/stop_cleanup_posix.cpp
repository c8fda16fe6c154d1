#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "runtime/stop_cleanup.h"

namespace runtime {

namespace {

std::atomic<bool> handlingStops{false};

// Ends the process by the signal, so that the caller sees which one, from
// the thread that calls it.
[[noreturn]] void endBy(int signal) {
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

}  // namespace

void removeTemporaryFilesWhenStopped() {
    // The stop signals are blocked in every thread and taken by one thread
    // of their own, which may lock and free memory as no handler may.
    // SIGPIPE is blocked too, but it goes to the thread whose write failed,
    // not to a waiting one: that write sees EPIPE and ends the process.
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM}) sigaddset(&stops, signal);
    sigset_t blocked = stops;
    sigaddset(&blocked, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
    handlingStops = true;
    std::thread([stops] {
        int signal = 0;
        while (sigwait(&stops, &signal) != 0) {
        }
        detail::removeListedTemporaryFiles();
        endBy(signal);
    }).detach();
}

void endAsBrokenPipe() {
    if (!handlingStops) return;
    detail::removeListedTemporaryFiles();
    endBy(SIGPIPE);
}

}  // namespace runtime
