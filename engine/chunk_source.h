#pragma once
// Where the output bytes of one conversion come from, chunk after chunk, as
// its plan says: filtered from the file's mapping or from the input read
// whole, read unchanged from the file, or ready already.

#include <cstdint>
#include <memory>
#include <span>

#include "engine/conversion_plan.h"

namespace runtime {
class InputFile;
class OutputFile;
}  // namespace runtime

namespace engine {

// A buffer that starts on a page. The output's buffers then hold every byte
// at the same place within its page as the output file does, and the
// system copies whole aligned pages, markedly faster than across offsets.
class PageBuffer {
public:
    // Raises OutOfMemory.
    explicit PageBuffer(std::uint64_t size);
    std::uint8_t* get() const { return bytes_.get(); }

private:
    struct Free {
        void operator()(std::uint8_t* bytes) const;
    };
    std::unique_ptr<std::uint8_t[], Free> bytes_;
};

// Room in front of every output buffer for the header, written with the
// first chunk in one piece.
inline constexpr std::uint64_t headerRoom = 44;

// A small input read whole when its conversion is readied, straight into
// the output's buffer behind the header's room: unchanged bytes are ready
// as read, and the filter turns them into the output's in place.
struct WholeInput {
    // Reads the input whole. Raises OutOfMemory, InputShrank and what the
    // read raises.
    WholeInput(runtime::InputFile& input, const ConversionPlan& plan);

    // Not page-aligned, unlike large buffers: for a few pages the alignment
    // costs the allocator more than it saves the copies.
    std::unique_ptr<std::uint8_t[]> output;
    bool outputReady = false;  // the output's bytes are made
    std::uint8_t* outputBytes() const { return output.get() + headerRoom; }
};

class ChunkSource {
public:
    virtual ~ChunkSource() = default;
    // Writes the output's bytes of chunk (the plan's chunks, in order) to
    // output, after header when it is not empty, and starts the work of
    // later chunks. Raises InputShrank, IOError when writing fails, and
    // OSError when the input cannot be read.
    virtual void write(std::uint64_t chunk, std::span<const std::uint8_t> header, runtime::OutputFile& output) = 0;
};

// The source the plan calls for; whole is the input read whole, if it was,
// its output's bytes made. Raises OutOfMemory.
std::unique_ptr<ChunkSource> openChunkSource(const ConversionPlan& plan, runtime::InputFile& input, WholeInput* whole);

}  // namespace engine
