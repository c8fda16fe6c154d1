#pragma once
// Faults in a file's mapping that must not end the process. A page of a
// mapped file that another program has cut off raises SIGBUS when read;
// while its range is guarded, such a page is replaced by a page of zeros
// and the read goes on, and the guard remembers that it happened, so the
// reader can refuse what it read.

#include <atomic>
#include <cstddef>

namespace runtime {

class MappingFaultGuard {
public:
    // Guards [begin, begin + length). False from active() when every one of
    // the process's guard places is taken: the range is then not guarded,
    // and the caller must not read it through the mapping.
    MappingFaultGuard(const void* begin, std::size_t length) noexcept;
    ~MappingFaultGuard();
    MappingFaultGuard(const MappingFaultGuard&) = delete;
    MappingFaultGuard& operator=(const MappingFaultGuard&) = delete;

    bool active() const noexcept { return slot_ >= 0; }

    // True once a page of the range could not be read from the file.
    bool faulted() const noexcept;

private:
    int slot_ = -1;
};

}  // namespace runtime
