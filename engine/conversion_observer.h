#pragma once

#include <cstdint>

namespace engine {

// Told how conversions advance, on the thread that converts (for a folder,
// a pool worker; one file at a time): for a progress display, and for tests
// that need to act at a given point of a conversion.
class ConversionObserver {
public:
    virtual ~ConversionObserver() = default;
    // A file's data begin: its size in bytes.
    virtual void fileStarted(std::uint64_t size) { (void)size; }
    // count more of its bytes are written.
    virtual void dataWritten(std::uint64_t count) { (void)count; }
};

}  // namespace engine
