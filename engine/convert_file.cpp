#include "engine/convert_file.h"

#include <algorithm>
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

// The two chunk buffers of a filtered conversion, no larger than the input.
struct ChunkBuffers {
    std::unique_ptr<std::uint8_t[]> buffers[2];

    bool allocate(std::uint64_t inputSize) {
        const std::uint64_t size = std::max<std::uint64_t>(1, std::min(chunkBytes, inputSize));
        for (auto& buffer : buffers) buffer.reset(new (std::nothrow) std::uint8_t[size]);
        return buffers[0] && buffers[1];
    }
    std::uint8_t* operator[](std::uint64_t chunk) const { return buffers[chunk % 2].get(); }
};

// Filters the mapped input chunk by chunk and writes each chunk behind the
// header while the next one is filtered; a trailing partial sample goes out
// unchanged.
void writeFilteredData(InputFile& input, OutputFile& output, std::uint16_t bitDepth, const ChunkBuffers& buffers) {
    const std::uint8_t* bytes = input.data();
    const std::uint64_t sampleBytes = bitDepth / 8;
    const std::uint64_t samples = input.size() / sampleBytes;
    const std::uint64_t samplesPerChunk = chunkBytes / sampleBytes;
    FastDcFilter filter(bytes, bitDepth, &runtime::sharedWorkerPool());
    DcFilterState state;
    if (samples > 0) filter.start(0, std::min(samplesPerChunk, samples), buffers[0]);
    for (std::uint64_t chunk = 0, first = 0; first < samples; ++chunk, first += samplesPerChunk) {
        const std::uint64_t count = std::min(samplesPerChunk, samples - first);
        state = filter.finish(state);
        const std::uint64_t next = first + count;
        if (next < samples) filter.start(next, std::min(samplesPerChunk, samples - next), buffers[chunk + 1]);
        output.write(buffers[chunk], count * sampleBytes);
        // Guessing reads at most a warm-up's length before a chunk.
        if (next > FastFilterLimits::warmUpSamples + 1) {
            input.releasePagesBefore((next - FastFilterLimits::warmUpSamples - 1) * sampleBytes);
        }
    }
    const std::uint64_t tail = input.size() - samples * sampleBytes;
    output.write(bytes + samples * sampleBytes, tail);
}

void writeUnchangedData(InputFile& input, OutputFile& output) {
    if (input.copyInsideSystem(output)) return;
    output.write(input.data(), input.size());
}

}  // namespace

void convertFile(const std::string& inputPath, const std::string& outputPath, bool dcFilter,
                 std::int32_t sampleRateHz, std::uint16_t bitDepth, std::uint16_t numberOfChannels) {
    const std::string absoluteInput = runtime::isAbsolutePath(inputPath)
                                          ? inputPath
                                          : runtime::joinPath(runtime::currentDirectory(), inputPath);
    // Acquired in this order and released in the reverse one on every way
    // out: the input mapping, the output file, the filter buffers.
    InputFile input(absoluteInput);
    if (input.size() > maxWavDataSize) {
        runtime::printLine("ERROR: Input too large for a WAV file: " + inputPath);
        return;
    }
    input.map();
    const WavHeader header = writeWavHeader(static_cast<std::uint32_t>(input.size()), sampleRateHz, bitDepth,
                                            numberOfChannels);

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
    output.write(headerBytes.data(), headerBytes.size());
    if (filtered) {
        writeFilteredData(input, output, bitDepth, buffers);
    } else {
        writeUnchangedData(input, output);
    }
    output.close();
    input.close();
}

}  // namespace engine
