#include "engine/file_conversion.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "engine/conversion_observer.h"
#include "engine/dc_filter.h"
#include "engine/errors.h"
#include "engine/fast_dc_filter.h"
#include "engine/input_failures.h"
#include "engine/wav_header.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/input_file.h"
#include "runtime/output_file.h"
#include "runtime/paths.h"
#include "runtime/worker_pool.h"

namespace engine {

namespace {

using WavHeaderBytes = std::array<std::uint8_t, wavHeaderSize>;

// Bytes filtered and written per round. A few rounds are in flight at once
// (one written while the next are filtered or read), and the memory a
// conversion needs stays a few times this size whatever the input's size.
constexpr std::uint64_t chunkBytes = std::uint64_t{8} << 20;

// Rounds whose output buffers are in use at once: the one being written
// and those being filtered ahead of it. Filtering two ahead keeps the
// pool's worker busy while this thread writes and settles; a read of the
// input unchanged needs only one ahead.
constexpr int filteredRoundsInFlight = 3;
constexpr int unchangedRoundsInFlight = 2;

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

std::uint64_t chunkCount(std::uint64_t units, std::uint64_t perChunk) {
    return std::max<std::uint64_t>(1, (units + perChunk - 1) / perChunk);
}

// The buffers of one conversion, no larger than the input needs: for each of
// the rounds in flight, the output's bytes, with room for the header in
// front and a partial sample behind; and for an input of one round that is
// filtered, its bytes.
class ChunkBuffers {
public:
    static constexpr std::uint64_t front = wavHeaderSize;
    static constexpr std::uint64_t back = 4;

    bool allocate(std::uint64_t inputSize, bool filtered) {
        const std::uint64_t chunk = std::min(chunkBytes, inputSize);
        const std::uint64_t chunks = chunkCount(inputSize, chunkBytes);
        rounds_ = static_cast<int>(
            std::min<std::uint64_t>(chunks, filtered ? filteredRoundsInFlight : unchangedRoundsInFlight));
        for (int i = 0; i < rounds_; ++i) {
            if (!output_[i].allocate(front + chunk + back)) return false;
        }
        return !filtered || chunks > 1 || input_.allocate(inputSize + back);
    }
    // Where chunk number n's output bytes go.
    std::uint8_t* output(std::uint64_t chunk) const { return output_[chunk % rounds_].get() + front; }
    // Where a whole input of one round is read to, for the filter.
    std::uint8_t* input() const { return input_.get(); }

private:
    PageBuffer output_[filteredRoundsInFlight];
    int rounds_ = 1;
    PageBuffer input_;
};

void readExactly(runtime::InputFile& input, std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) {
    if (input.read(offset, length, destination) != length) throw InputShrank{};
}

// The filtered data, chunk by chunk: while one worker of the pool filters
// the next chunks, this thread writes the one before, then helps with what
// is left of the next. Two threads busy on two processors, and neither
// waits for the other at each chunk. The header goes out with the first
// chunk, and a trailing partial sample, unchanged, with the last.
//
// The filter reads a large input in place, in the file's mapping: copying
// it out first costs as much again as filtering it. A small one is read
// whole instead, since mapping and unmapping cost more than reading it.
class FilteredWriter {
public:
    // inputRead: the buffers hold the whole input already.
    FilteredWriter(runtime::InputFile& input, runtime::OutputFile& output, std::uint16_t bitDepth,
                   const ChunkBuffers& buffers, bool inputRead, ConversionObserver* observer)
        : input_(input),
          output_(output),
          buffers_(buffers),
          inputRead_(inputRead),
          observer_(observer),
          sampleBytes_(bitDepth / 8),
          samples_(input.size() / sampleBytes_),
          samplesPerChunk_(chunkBytes / sampleBytes_),
          tail_(input.size() - samples_ * sampleBytes_),
          series_(runtime::sharedWorkerPool(), std::max(1u, runtime::sharedWorkerPool().threadCount() - 1)),
          rounds_{{bitDepth, series_}, {bitDepth, series_}, {bitDepth, series_}} {}

    void write(const WavHeaderBytes& header) {
        const std::uint64_t chunks = chunkCount(samples_, samplesPerChunk_);
        if (buffers_.input() && !inputRead_) readExactly(input_, 0, input_.size(), buffers_.input());
        constexpr std::uint64_t ahead = filteredRoundsInFlight - 1;
        for (std::uint64_t chunk = 0; chunk < std::min(ahead, chunks); ++chunk) start(chunk);
        DcFilterState state;
        for (std::uint64_t chunk = 0;; ++chunk) {
            const bool last = chunk + 1 == chunks;
            Round& round = rounds_[chunk % filteredRoundsInFlight];
            const std::uint8_t* tail = last ? round.window + (samples_ - round.windowFirst) * sampleBytes_ : nullptr;
            state = round.filter.finish(state);
            // Into the buffer written last.
            if (chunk + ahead < chunks) start(chunk + ahead);
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
        Round& round = rounds_[chunk % filteredRoundsInFlight];
        round.windowFirst = FastFilterLimits::historyStart(first(chunk));
        const std::uint64_t from = round.windowFirst * sampleBytes_;
        const std::uint64_t end = (first(chunk) + count(chunk)) * sampleBytes_ + tail_;
        if (buffers_.input()) {
            round.window = buffers_.input() + from;
        } else {
            // A view gives back what lies before it: it starts at the
            // window of the chunk before, which is still being filtered.
            const std::uint64_t kept = FastFilterLimits::historyStart(first(chunk > 0 ? chunk - 1 : 0)) * sampleBytes_;
            round.window = input_.view(kept, end - kept) + (from - kept);
            // The next chunk's bytes come from the disk while this one's
            // are filtered; the first chunk's at once in one request.
            if (chunk == 0) input_.prefetch(from, end - from);
            input_.prefetch(end, chunkBytes);
        }
        round.filter.start(round.window, round.windowFirst, first(chunk), count(chunk), buffers_.output(chunk));
    }

    // A chunk in flight: its window of the input and its filter.
    struct Round {
        Round(std::uint16_t bitDepth, runtime::ParallelSeries& series) : filter(bitDepth, series) {}
        const std::uint8_t* window = nullptr;  // from sample windowFirst
        std::uint64_t windowFirst = 0;
        FastDcFilter filter;
    };

    runtime::InputFile& input_;
    runtime::OutputFile& output_;
    const ChunkBuffers& buffers_;
    const bool inputRead_;
    ConversionObserver* observer_;
    const std::uint64_t sampleBytes_;
    const std::uint64_t samples_;
    const std::uint64_t samplesPerChunk_;
    const std::uint64_t tail_;
    runtime::ParallelSeries series_;
    Round rounds_[filteredRoundsInFlight];  // last: their filters wait for the pool before the rest goes
};

// The input's bytes unchanged, chunk by chunk: a pool worker reads the next
// chunk while this thread writes the one before. firstRead: the first chunk
// is in its buffer already.
void writeUnchangedData(runtime::InputFile& input, runtime::OutputFile& output, const WavHeaderBytes& header,
                        const ChunkBuffers& buffers, bool firstRead, ConversionObserver* observer) {
    const std::uint64_t size = input.size();
    const std::uint64_t chunks = chunkCount(size, chunkBytes);
    auto length = [&](std::uint64_t chunk) { return std::min(chunkBytes, size - chunk * chunkBytes); };
    auto read = [&](std::uint64_t chunk) {
        readExactly(input, chunk * chunkBytes, length(chunk), buffers.output(chunk));
    };
    if (!firstRead) read(0);
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

// An input this small is read whole when the conversion is readied.
constexpr std::uint64_t smallInputBytes = 256 << 10;

[[noreturn]] void notConverted(const std::string& line) { throw ConversionError(line); }

}  // namespace

struct FileConversion::Buffers {
    ChunkBuffers chunks;
    bool read = false;      // the small input is in them already
    bool filtered = false;  // and its output bytes too, ready to write
};

std::unique_ptr<runtime::InputFile> openInputFile(const std::string& path) {
    try {
        return std::make_unique<runtime::InputFile>(runtime::absolutePath(path, runtime::currentDirectory()));
    } catch (const runtime::NotAFileError&) {
        throw RefusalError(notAFileLine);
    } catch (const runtime::OSError& error) {
        notConverted(couldNotReadLine(path, error));
    }
}

FileConversion::FileConversion(std::unique_ptr<runtime::InputFile> input, std::string inputPath,
                               const std::string& outputPath, runtime::OutputNaming naming,
                               const ConversionSettings& settings)
    : input_(std::move(input)),
      inputPath_(std::move(inputPath)),
      outputName_(outputPath),
      settings_(settings),
      filtered_(settings.dcFilter && isFilteredBitDepth(settings.bitDepth)) {
    // Too large: refused before anything is created.
    checkSize();
    try {
        output_ = std::make_unique<runtime::OutputFile>(outputPath, naming, input_->permissions());
    } catch (const runtime::OSError& error) {
        notConverted(couldNotCreateLine(outputPath, reasonOf(error)));
    } catch (const runtime::DanglingLinkError& error) {
        notConverted(couldNotCreateLine(outputPath, reasonOf(error)));
    }
    ready();
}

FileConversion::FileConversion(std::unique_ptr<runtime::InputFile> input, std::string inputPath, ToStandardOutput,
                               const ConversionSettings& settings)
    : input_(std::move(input)),
      inputPath_(std::move(inputPath)),
      outputName_("standard output"),
      output_(std::make_unique<runtime::OutputFile>(runtime::OutputFile::StandardOutput{})),
      settings_(settings),
      filtered_(settings.dcFilter && isFilteredBitDepth(settings.bitDepth)) {
    checkSize();
    ready();
}

FileConversion::~FileConversion() = default;

void FileConversion::ready() {
    // Writing the output must never touch the input, whatever names the two
    // paths give the file; nothing has been written when this refuses.
    if (output_->replaces() == input_->identity()) throw RefusalError(sameFileLine);
    if (input_->size() <= smallInputBytes) readSmallInput();
}

void FileConversion::allocateBuffers() {
    buffers_ = std::make_unique<Buffers>();
    if (!buffers_->chunks.allocate(input_->size(), filtered_)) {
        notConverted(filtered_ ? "ERROR: Could not allocate data for DC filter"
                               : "ERROR: Could not allocate memory for " + outputName_);
    }
}

void FileConversion::checkSize() const {
    if (input_->size() > maxWavDataSize) notConverted("ERROR: Input too large for a WAV file: " + inputPath_);
}

void FileConversion::readSmallInput() {
    allocateBuffers();
    try {
        readExactly(*input_, 0, input_->size(), filtered_ ? buffers_->chunks.input() : buffers_->chunks.output(0));
    } catch (const InputShrank&) {
        notConverted("ERROR: Input changed during conversion: " + inputPath_);
    } catch (const runtime::OSError& error) {
        notConverted(couldNotReadLine(inputPath_, error));
    }
    buffers_->read = true;
}

bool FileConversion::filtersInputReadWhole() const { return filtered_ && buffers_ && buffers_->read; }

void FileConversion::filterTogether(std::span<FileConversion* const> conversions) {
    if (conversions.empty()) return;
    const std::uint16_t bitDepth = conversions.front()->settings_.bitDepth;
    const std::uint64_t sampleBytes = bitDepth / 8;
    std::vector<FilterStream> streams;
    streams.reserve(conversions.size());
    for (FileConversion* conversion : conversions) {
        if (!conversion->filtersInputReadWhole() || conversion->settings_.bitDepth != bitDepth) {
            throw runtime::InternalError("a conversion filtered with others has no input read whole of their depth");
        }
        const std::uint64_t size = conversion->input_->size();
        const std::uint64_t whole = size / sampleBytes * sampleBytes;
        const std::uint8_t* input = conversion->buffers_->chunks.input();
        std::uint8_t* output = conversion->buffers_->chunks.output(0);
        // The partial sample at the end goes out unchanged.
        std::copy(input + whole, input + size, output + whole);
        streams.push_back({input, output, whole / sampleBytes});
    }
    filterStreamsSideBySide(streams, bitDepth);
    for (FileConversion* conversion : conversions) conversion->buffers_->filtered = true;
}

void FileConversion::run(ConversionObserver* observer) {
    const WavHeaderBytes header =
        wavHeaderBytes(writeWavHeader(static_cast<std::uint32_t>(input_->size()), settings_.sampleRateHz,
                                      settings_.bitDepth, settings_.numberOfChannels));
    if (!buffers_) allocateBuffers();
    // Space set aside in one step spares the file system its bookkeeping
    // block by block (a quarter of writing's cost on ext4); for a small
    // output the call would cost more than it saves.
    if (input_->size() > smallInputBytes) output_->reserve(header.size() + input_->size());
    if (observer) observer->fileStarted(input_->size());
    try {
        if (filtered_ && !buffers_->filtered) {
            FilteredWriter(*input_, *output_, settings_.bitDepth, buffers_->chunks, buffers_->read, observer)
                .write(header);
        } else {
            writeUnchangedData(*input_, *output_, header, buffers_->chunks, buffers_->read, observer);
        }
        // A change after the last read would go unseen otherwise.
        if (!input_->unchanged()) throw InputShrank{};
    } catch (const InputShrank&) {
        notConverted("ERROR: Input changed during conversion: " + inputPath_);
    } catch (const runtime::IOError& error) {
        notConverted("ERROR: Could not write " + outputName_ + ": " + error.what());
    } catch (const runtime::OSError& error) {
        notConverted(couldNotReadLine(inputPath_, error));
    }
    try {
        output_->commit();
    } catch (const runtime::IOError& error) {
        notConverted("ERROR: Could not write " + outputName_ + ": " + error.what());
    } catch (const runtime::OSError& error) {
        notConverted(couldNotCreateLine(outputName_, reasonOf(error)));
    }
    input_->close();
}

}  // namespace engine
