#include "runtime/fault_guard_posix.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>

namespace runtime {

namespace {

// The guarded ranges, in a fixed table that the signal handler reads
// without locks: a range is published by its end, then its beginning.
struct GuardedRange {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> faulted{false};
    std::atomic<bool> taken{false};
};

constexpr int guardPlaces = 64;
GuardedRange guardedRanges[guardPlaces];
struct sigaction previousAction {};
// Read once before the handler is installed: sysconf may not be called in
// a signal handler.
std::uintptr_t pageBytes = 4096;

void onBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (GuardedRange& range : guardedRanges) {
        const std::uintptr_t begin = range.begin.load(std::memory_order_acquire);
        if (begin == 0 || address < begin || address >= range.end.load(std::memory_order_acquire)) continue;
        const std::uintptr_t page = pageBytes;
        void* zeros = ::mmap(reinterpret_cast<void*>(address / page * page), page, PROT_READ,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros != MAP_FAILED) {
            range.faulted.store(true, std::memory_order_release);
            return;  // the read is repeated, and finds zeros
        }
    }
    // Not a guarded page: whoever handled it before, or the default, which
    // ends the process when the read is repeated.
    if (previousAction.sa_flags & SA_SIGINFO) {
        previousAction.sa_sigaction(signal, info, context);
    } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
    } else {
        ::signal(SIGBUS, SIG_DFL);
    }
}

void installHandler() {
    pageBytes = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previousAction);
}

}  // namespace

MappingFaultGuard::MappingFaultGuard(const void* begin, std::size_t length) noexcept {
    static std::once_flag installed;
    std::call_once(installed, installHandler);
    for (int i = 0; i < guardPlaces; ++i) {
        bool free = false;
        if (!guardedRanges[i].taken.compare_exchange_strong(free, true)) continue;
        GuardedRange& range = guardedRanges[i];
        range.faulted.store(false);
        range.end.store(reinterpret_cast<std::uintptr_t>(begin) + length, std::memory_order_release);
        range.begin.store(reinterpret_cast<std::uintptr_t>(begin), std::memory_order_release);
        slot_ = i;
        return;
    }
}

MappingFaultGuard::~MappingFaultGuard() {
    if (slot_ < 0) return;
    GuardedRange& range = guardedRanges[slot_];
    range.begin.store(0, std::memory_order_release);
    range.end.store(0, std::memory_order_release);
    range.taken.store(false, std::memory_order_release);
}

bool MappingFaultGuard::faulted() const noexcept {
    return slot_ >= 0 && guardedRanges[slot_].faulted.load(std::memory_order_acquire);
}

}  // namespace runtime
