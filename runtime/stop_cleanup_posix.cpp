#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "runtime/stop_cleanup.h"

namespace runtime {

void removeTemporaryFilesWhenStopped() {
    // The signals are blocked in every thread and taken by one thread of
    // their own, which may lock and free memory as no handler may.
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, signal);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    std::thread([stops] {
        int signal = 0;
        while (sigwait(&stops, &signal) != 0) {
        }
        detail::removeListedTemporaryFiles();
        // End as the signal ends a process, so the caller sees which one.
        ::signal(signal, SIG_DFL);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, signal);
        pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
        ::raise(signal);
        ::_exit(128 + signal);
    }).detach();
}

}  // namespace runtime
