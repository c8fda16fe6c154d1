#include "runtime/temporary_name.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace runtime {

namespace {

// One step of splitmix64: cheap, and every input gives a well-mixed output.
std::uint64_t mix(std::uint64_t value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

}  // namespace

std::string temporaryNameBeside(const std::string& path) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<std::uint64_t> calls{0};
    // The clock, a per-process counter and an address that differs between
    // processes: no two calls of one process, and hardly two processes,
    // draw the same letters.
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t draw = mix(now ^ mix(calls.fetch_add(1) ^ reinterpret_cast<std::uintptr_t>(&calls)));
    std::string name = path + ".";
    for (int i = 0; i < 6; ++i, draw /= sizeof letters - 1) name += letters[draw % (sizeof letters - 1)];
    return name + ".tmp";
}

}  // namespace runtime
