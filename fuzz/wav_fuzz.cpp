// Fuzzes the WAV reader.
//
// Beyond crashes and sanitizer findings it checks that the reader asks only
// for bytes within the file, allocates nothing by a size the file gives, and
// returns data that lie within the file: no more present than claimed, and
// data left open running to the end.

#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "engine/wav_reader.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

// The largest block allocated since it was last set to 0, by anyone: the
// reader's messages and exceptions take a few hundred bytes.
std::size_t largestAllocation = 0;
constexpr std::size_t allowedAllocation = 1024;

void onAllocation(const volatile void*, std::size_t size) { largestAllocation = std::max(largestAllocation, size); }
void onFree(const volatile void*) {}

// The input as a file, which stops the run at a read that is not within it.
class CheckedBytes final : public engine::ByteSource {
public:
    explicit CheckedBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::uint64_t read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) override {
        if (offset > bytes_.size() || length > bytes_.size() - offset) fail("read outside the file");
        std::memcpy(destination, bytes_.data() + offset, length);
        return length;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    __sanitizer_install_malloc_and_free_hooks(onAllocation, onFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckedBytes source({data, size});
    largestAllocation = 0;
    try {
        const engine::WavData found = engine::findWavData(source);
        // RIFF header (12) and the data chunk's header (8) come first.
        if (found.offset < 20 || found.offset > size || found.presentSize > size - found.offset) {
            fail("data outside the file");
        }
        if (found.claimedSize && found.presentSize > *found.claimedSize) fail("more data present than claimed");
        if (!found.claimedSize && found.offset + found.presentSize != size) fail("open data end before the file");
        if (found.missingBytes() && found.offset + found.presentSize != size) fail("bytes missing before the end");
    } catch (const engine::WavError& error) {
        if (error.what()[0] == '\0') fail("a refusal without a reason");
    }
    if (largestAllocation > allowedAllocation) fail("an allocation by a size the file gave");
    return 0;
}
