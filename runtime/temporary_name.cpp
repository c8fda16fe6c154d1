#include "runtime/temporary_name.h"

#include <atomic>
#include <chrono>
#include <random>

namespace runtime {

std::string temporaryNameBeside(const std::string& path) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<std::uint64_t> calls{0};
    // Seeded by the clock and a per-process counter: no two calls of one
    // process, and hardly two processes, draw the same sequence.
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937_64 draw(now ^ (calls.fetch_add(1) * 0x9E3779B97F4A7C15ull) ^ reinterpret_cast<std::uintptr_t>(&calls));
    std::string name = path + ".";
    for (int i = 0; i < 6; ++i) name += letters[draw() % (sizeof letters - 1)];
    return name + ".tmp";
}

}  // namespace runtime
