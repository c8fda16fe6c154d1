#include "engine/convert_file.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>

#include "engine/dc_filter.h"
#include "engine/fast_dc_filter.h"
#include "engine/input_file.h"
#include "engine/output_file.h"
#include "engine/wav_header.h"
#include "runtime/console.h"
#include "runtime/fs.h"
#include "runtime/paths.h"
#include "runtime/worker_pool.h"

namespace engine {

namespace {

// Bytes filtered and written per round, in each of two buffers: one is
// written out while the pool filters the next into the other, and the
// memory a conversion needs stays this size whatever the input's size.
constexpr std::uint64_t chunkBytes = std::uint64_t{8} << 20;

// The two chunk buffers of a filtered conversion, no larger than the input
// needs. Each has room for the header in front and a partial sample behind,
// so that a small file goes out in a single write.
//
// A buffer starts on a page, so every byte lies at the same place within its
// page as in the output file: the system copies whole aligned pages, which
// is markedly faster than copying across page offsets.
class ChunkBuffers {
public:
    static constexpr std::uint64_t front = wavHeaderSize;
    static constexpr std::uint64_t back = 4;

    bool allocate(std::uint64_t inputSize) {
        const std::uint64_t size = front + std::min(chunkBytes, inputSize) + back;
        for (auto& buffer : buffers_) buffer.reset(new (pageAlignment, std::nothrow) std::uint8_t[size]);
        return buffers_[0] && buffers_[1];
    }
    // Where chunk number n's filtered samples go.
    std::uint8_t* data(std::uint64_t chunk) const { return buffers_[chunk % 2].get() + front; }

private:
    static constexpr std::align_val_t pageAlignment{4096};
    struct AlignedDelete {
        void operator()(std::uint8_t* bytes) const { ::operator delete[](bytes, pageAlignment); }
    };
    std::unique_ptr<std::uint8_t[], AlignedDelete> buffers_[2];
};

// Writes the header, then filters the mapped input chunk by chunk and writes
// each chunk while the next one is filtered. The header goes out with the
// first chunk and a trailing partial sample, unchanged, with the last.
void writeFilteredData(InputFile& input, OutputFile& output, const std::array<std::uint8_t, wavHeaderSize>& header,
                       std::uint16_t bitDepth, const ChunkBuffers& buffers) {
    const std::uint8_t* bytes = input.data();
    const std::uint64_t sampleBytes = bitDepth / 8;
    const std::uint64_t samples = input.size() / sampleBytes;
    const std::uint64_t samplesPerChunk = chunkBytes / sampleBytes;
    const std::uint64_t tail = input.size() - samples * sampleBytes;
    FastDcFilter filter(bytes, bitDepth, &runtime::sharedWorkerPool());
    DcFilterState state;
    filter.start(0, std::min(samplesPerChunk, samples), buffers.data(0));
    for (std::uint64_t chunk = 0, first = 0;; ++chunk, first += samplesPerChunk) {
        const std::uint64_t count = std::min(samplesPerChunk, samples - first);
        state = filter.finish(state);
        const std::uint64_t next = first + count;
        if (next < samples) filter.start(next, std::min(samplesPerChunk, samples - next), buffers.data(chunk + 1));
        std::uint8_t* begin = buffers.data(chunk);
        std::uint64_t length = count * sampleBytes;
        if (chunk == 0) {
            begin -= header.size();
            std::copy(header.begin(), header.end(), begin);
            length += header.size();
        }
        if (next == samples) {
            std::copy(bytes + samples * sampleBytes, bytes + input.size(), begin + length);
            length += tail;
        }
        output.write(begin, length);
        if (next == samples) return;
        // Guessing reads at most a warm-up's length before a chunk.
        if (next > FastFilterLimits::warmUpSamples + 1) {
            input.releasePagesBefore((next - FastFilterLimits::warmUpSamples - 1) * sampleBytes);
        }
    }
}

// Writes the header, then the input straight from its mapping, a chunk at a
// time: each chunk's pages are mapped in at once before the write copies
// them (a page fault inside the write costs far more) and let go after.
void writeUnchangedData(InputFile& input, OutputFile& output, const std::array<std::uint8_t, wavHeaderSize>& header) {
    output.write(header.data(), header.size());
    for (std::uint64_t at = 0; at < input.size(); at += chunkBytes) {
        const std::uint64_t length = std::min(chunkBytes, input.size() - at);
        input.readAhead(at, length);
        output.write(input.data() + at, length);
        input.releasePagesBefore(at + length);
    }
}

}  // namespace

void convertFile(const std::string& inputPath, const std::string& outputPath, bool dcFilter, std::int32_t sampleRateHz,
                 std::uint16_t bitDepth, std::uint16_t numberOfChannels) {
    const std::string absoluteInput =
        runtime::isAbsolutePath(inputPath) ? inputPath : runtime::joinPath(runtime::currentDirectory(), inputPath);
    // Acquired in this order and released in the reverse one on every way
    // out: the input mapping, the output file, the filter buffers.
    InputFile input(absoluteInput);
    if (input.size() > maxWavDataSize) {
        runtime::printLine("ERROR: Input too large for a WAV file: " + inputPath);
        return;
    }
    input.map();
    const WavHeader header =
        writeWavHeader(static_cast<std::uint32_t>(input.size()), sampleRateHz, bitDepth, numberOfChannels);

    OutputFile output(outputPath);
    if (!output.isOpen()) {
        runtime::printLine("ERROR: Could not create " + outputPath);
        return;
    }

    // Bit depths the filter does not process keep the input's own bytes, so
    // they take the unchanged path.
    const bool filtered = dcFilter && isFilteredBitDepth(bitDepth);
    ChunkBuffers buffers;
    if (filtered && !buffers.allocate(input.size())) {
        runtime::printLine("ERROR: Could not allocate data for DC filter");
        return;
    }

    const auto headerBytes = wavHeaderBytes(header);
    if (filtered) {
        writeFilteredData(input, output, headerBytes, bitDepth, buffers);
    } else {
        writeUnchangedData(input, output, headerBytes);
    }
    output.close();
    input.close();
}

}  // namespace engine
