#include "engine/convert_file.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <optional>

#include "engine/conversion_observer.h"
#include "engine/dc_filter.h"
#include "engine/fast_dc_filter.h"
#include "engine/input_failures.h"
#include "engine/wav_header.h"
#include "runtime/fs.h"
#include "runtime/input_file.h"
#include "runtime/output_file.h"
#include "runtime/paths.h"
#include "runtime/worker_pool.h"

namespace engine {

namespace {

using WavHeaderBytes = std::array<std::uint8_t, wavHeaderSize>;

// Bytes filtered and written per round. Two rounds are in flight at once
// (one written while the next is filtered), and the memory a conversion
// needs stays this size whatever the input's size.
constexpr std::uint64_t chunkBytes = std::uint64_t{8} << 20;

constexpr std::uint64_t pageBytes = 4096;

// The input read short: it has become shorter since it was opened.
struct InputShrank {};

// A buffer that starts on a page. The output's buffers then hold every byte
// at the same place within its page as the output file does, and the
// system copies whole aligned pages, markedly faster than across offsets.
class PageBuffer {
public:
    bool allocate(std::uint64_t size) {
        bytes_.reset(new (pageAlignment, std::nothrow) std::uint8_t[size]);
        return bytes_ != nullptr;
    }
    std::uint8_t* get() const { return bytes_.get(); }

private:
    static constexpr std::align_val_t pageAlignment{pageBytes};
    struct AlignedDelete {
        void operator()(std::uint8_t* bytes) const { ::operator delete[](bytes, pageAlignment); }
    };
    std::unique_ptr<std::uint8_t[], AlignedDelete> bytes_;
};

// The buffers of one conversion, no larger than the input needs: for each of
// the two rounds in flight, the output's bytes, with room for the header in
// front and a partial sample behind; and for an input of one round that is
// filtered, its bytes.
class ChunkBuffers {
public:
    static constexpr std::uint64_t front = wavHeaderSize;
    static constexpr std::uint64_t back = 4;

    bool allocate(std::uint64_t inputSize, bool filtered) {
        const std::uint64_t chunk = std::min(chunkBytes, inputSize);
        const int rounds = inputSize > chunkBytes ? 2 : 1;
        for (int i = 0; i < rounds; ++i) {
            if (!output_[i].allocate(front + chunk + back)) return false;
        }
        return !filtered || rounds == 2 || input_.allocate(inputSize + back);
    }
    // Where chunk number n's output bytes go.
    std::uint8_t* output(std::uint64_t chunk) const { return output_[chunk % 2].get() + front; }
    // Where a whole input of one round is read to, for the filter.
    std::uint8_t* input() const { return input_.get(); }

private:
    PageBuffer output_[2];
    PageBuffer input_;
};

std::uint64_t chunkCount(std::uint64_t units, std::uint64_t perChunk) {
    return std::max<std::uint64_t>(1, (units + perChunk - 1) / perChunk);
}

void readExactly(runtime::InputFile& input, std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) {
    if (input.read(offset, length, destination) != length) throw InputShrank{};
}

// The filtered data, chunk by chunk: while the pool filters one chunk, this
// thread writes the one before. The header goes out with the first chunk,
// and a trailing partial sample, unchanged, with the last.
//
// The filter reads a large input in place, in the file's mapping: copying
// it out first costs as much again as filtering it. A small one is read
// whole instead, since mapping and unmapping cost more than reading it.
class FilteredWriter {
public:
    FilteredWriter(runtime::InputFile& input, runtime::OutputFile& output, std::uint16_t bitDepth,
                   const ChunkBuffers& buffers, ConversionObserver* observer)
        : input_(input),
          output_(output),
          buffers_(buffers),
          observer_(observer),
          sampleBytes_(bitDepth / 8),
          samples_(input.size() / sampleBytes_),
          samplesPerChunk_(chunkBytes / sampleBytes_),
          tail_(input.size() - samples_ * sampleBytes_),
          filter_(nullptr, bitDepth, &runtime::sharedWorkerPool()) {}

    void write(const WavHeaderBytes& header) {
        const std::uint64_t chunks = chunkCount(samples_, samplesPerChunk_);
        if (buffers_.input()) readExactly(input_, 0, input_.size(), buffers_.input());
        start(0);
        DcFilterState state;
        for (std::uint64_t chunk = 0;; ++chunk) {
            const bool last = chunk + 1 == chunks;
            const std::uint8_t* tail = last ? window_ + (samples_ - windowFirst_) * sampleBytes_ : nullptr;
            state = filter_.finish(state);
            if (!last) start(chunk + 1);
            std::uint8_t* begin = buffers_.output(chunk);
            std::uint64_t length = count(chunk) * sampleBytes_;
            if (last) {
                std::copy(tail, tail + tail_, begin + length);
                length += tail_;
            }
            const std::uint64_t data = length;
            if (chunk == 0) {
                begin -= header.size();
                std::copy(header.begin(), header.end(), begin);
                length += header.size();
            }
            output_.write(begin, length);
            if (observer_) observer_->dataWritten(data);
            if (last) return;
        }
    }

private:
    std::uint64_t first(std::uint64_t chunk) const { return chunk * samplesPerChunk_; }
    std::uint64_t count(std::uint64_t chunk) const { return std::min(samplesPerChunk_, samples_ - first(chunk)); }

    // Starts filtering the chunk from its window: the samples from a
    // warm-up's length before it to its end (and the partial sample after
    // the last).
    void start(std::uint64_t chunk) {
        windowFirst_ = FastFilterLimits::historyStart(first(chunk));
        const std::uint64_t from = windowFirst_ * sampleBytes_;
        window_ = buffers_.input() ? buffers_.input() + from
                                   : input_.view(from, (first(chunk) + count(chunk)) * sampleBytes_ + tail_ - from);
        filter_.start(window_, windowFirst_, first(chunk), count(chunk), buffers_.output(chunk));
    }

    runtime::InputFile& input_;
    runtime::OutputFile& output_;
    const ChunkBuffers& buffers_;
    ConversionObserver* observer_;
    const std::uint64_t sampleBytes_;
    const std::uint64_t samples_;
    const std::uint64_t samplesPerChunk_;
    const std::uint64_t tail_;
    const std::uint8_t* window_ = nullptr;  // of the chunk started last, from sample windowFirst_
    std::uint64_t windowFirst_ = 0;
    FastDcFilter filter_;  // last: it waits for the pool before the rest goes
};

// The input's bytes unchanged, chunk by chunk: a pool worker reads the next
// chunk while this thread writes the one before.
void writeUnchangedData(runtime::InputFile& input, runtime::OutputFile& output, const WavHeaderBytes& header,
                        const ChunkBuffers& buffers, ConversionObserver* observer) {
    const std::uint64_t size = input.size();
    const std::uint64_t chunks = chunkCount(size, chunkBytes);
    auto length = [&](std::uint64_t chunk) { return std::min(chunkBytes, size - chunk * chunkBytes); };
    auto read = [&](std::uint64_t chunk) {
        readExactly(input, chunk * chunkBytes, length(chunk), buffers.output(chunk));
    };
    read(0);
    for (std::uint64_t chunk = 0; chunk < chunks; ++chunk) {
        runtime::ParallelJob next;
        if (chunk + 1 < chunks) {
            next = runtime::sharedWorkerPool().startParallel(1, [&, chunk](std::size_t) { read(chunk + 1); });
        }
        std::uint8_t* begin = buffers.output(chunk);
        if (chunk == 0) {
            begin -= header.size();
            std::copy(header.begin(), header.end(), begin);
        }
        output.write(begin, length(chunk) + (chunk == 0 ? header.size() : 0));
        if (observer) observer->dataWritten(length(chunk));
        next.wait();
    }
}

// Writes the WAV file of the input into output, whose name the lines give.
void convertInto(runtime::InputFile& input, const std::string& inputPath, runtime::OutputFile& output,
                 const std::string& outputName, bool dcFilter, std::int32_t sampleRateHz, std::uint16_t bitDepth,
                 std::uint16_t numberOfChannels, ConversionObserver* observer) {
    const WavHeaderBytes header = wavHeaderBytes(
        writeWavHeader(static_cast<std::uint32_t>(input.size()), sampleRateHz, bitDepth, numberOfChannels));
    // Bit depths the filter does not process keep the input's own bytes, so
    // they take the unchanged path.
    const bool filtered = dcFilter && isFilteredBitDepth(bitDepth);
    ChunkBuffers buffers;
    if (!buffers.allocate(input.size(), filtered)) {
        fail(filtered ? "ERROR: Could not allocate data for DC filter"
                      : "ERROR: Could not allocate memory for " + outputName);
    }

    if (observer) observer->fileStarted(input.size());
    try {
        if (filtered) {
            FilteredWriter(input, output, bitDepth, buffers, observer).write(header);
        } else {
            writeUnchangedData(input, output, header, buffers, observer);
        }
        // A change after the last read would go unseen otherwise.
        if (!input.unchanged()) throw InputShrank{};
    } catch (const InputShrank&) {
        fail("ERROR: Input changed during conversion: " + inputPath);
    } catch (const runtime::IOError& error) {
        fail("ERROR: Could not write " + outputName + ": " + error.what());
    } catch (const runtime::OSError& error) {
        fail(couldNotReadLine(inputPath, error));
    }
    try {
        output.commit();
    } catch (const runtime::IOError& error) {
        fail("ERROR: Could not write " + outputName + ": " + error.what());
    } catch (const runtime::OSError&) {
        fail("ERROR: Could not create " + outputName);
    }
    input.close();
}

// Refuses an input that is its own output, or too large for a header.
void checkInput(const runtime::InputFile& input, const std::string& inputPath,
                const std::optional<runtime::FileIdentity>& output) {
    // Before anything is created: writing the output must never touch the
    // input, whatever names the two paths give the file.
    if (output == input.identity()) refuse(sameFileLine);
    if (input.size() > maxWavDataSize) fail("ERROR: Input too large for a WAV file: " + inputPath);
}

std::unique_ptr<runtime::InputFile> openInput(const std::string& inputPath) {
    try {
        return std::make_unique<runtime::InputFile>(runtime::absolutePath(inputPath, runtime::currentDirectory()));
    } catch (const runtime::OSError& error) {
        fail(couldNotReadLine(inputPath, error));
    }
}

}  // namespace

void convertFile(runtime::InputFile& input, const std::string& inputPath, const std::string& outputPath, bool dcFilter,
                 std::int32_t sampleRateHz, std::uint16_t bitDepth, std::uint16_t numberOfChannels,
                 ConversionObserver* observer) {
    checkInput(input, inputPath, runtime::fileIdentity(outputPath));
    std::unique_ptr<runtime::OutputFile> output;
    try {
        output = std::make_unique<runtime::OutputFile>(outputPath);
    } catch (const runtime::OSError&) {
        fail("ERROR: Could not create " + outputPath);
    }
    convertInto(input, inputPath, *output, outputPath, dcFilter, sampleRateHz, bitDepth, numberOfChannels, observer);
}

void convertFile(const std::string& inputPath, const std::string& outputPath, bool dcFilter, std::int32_t sampleRateHz,
                 std::uint16_t bitDepth, std::uint16_t numberOfChannels, ConversionObserver* observer) {
    convertFile(*openInput(inputPath), inputPath, outputPath, dcFilter, sampleRateHz, bitDepth, numberOfChannels,
                observer);
}

void convertFileToStandardOutput(runtime::InputFile& input, const std::string& inputPath, bool dcFilter,
                                 std::int32_t sampleRateHz, std::uint16_t bitDepth, std::uint16_t numberOfChannels,
                                 ConversionObserver* observer) {
    checkInput(input, inputPath, runtime::standardOutputIdentity());
    runtime::OutputFile output{runtime::OutputFile::StandardOutput{}};
    convertInto(input, inputPath, output, "standard output", dcFilter, sampleRateHz, bitDepth, numberOfChannels,
                observer);
}

void convertFileToStandardOutput(const std::string& inputPath, bool dcFilter, std::int32_t sampleRateHz,
                                 std::uint16_t bitDepth, std::uint16_t numberOfChannels, ConversionObserver* observer) {
    convertFileToStandardOutput(*openInput(inputPath), inputPath, dcFilter, sampleRateHz, bitDepth, numberOfChannels,
                                observer);
}

}  // namespace engine
