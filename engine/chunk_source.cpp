#include "engine/chunk_source.h"

#include <algorithm>
#include <new>
#include <vector>

#include "engine/errors.h"
#include "engine/fast_dc_filter.h"
#include "runtime/input_file.h"
#include "runtime/output_file.h"
#include "runtime/worker_pool.h"

namespace engine {

namespace {

constexpr std::align_val_t pageAlignment{4096};

void readExactly(runtime::InputFile& input, std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) {
    if (input.read(offset, length, destination) != length) throw InputShrank{};
}

// The workers that help the converting thread: together they are as many
// threads as the process has processors, never more.
unsigned helperCount() { return runtime::sharedWorkerPool().threadCount() - 1; }

// A source whose chunks are made in buffers, with room for the header in
// front: the header and the first chunk go out in one write.
class BufferedSource : public ChunkSource {
public:
    void write(std::uint64_t chunk, std::span<const std::uint8_t> header, runtime::OutputFile& output) final {
        std::uint8_t* bytes = take(chunk);
        const std::uint64_t length = chunkLength(chunk);
        bytes -= header.size();
        std::copy(header.begin(), header.end(), bytes);
        output.write(bytes, header.size() + length);
    }

protected:
    // The chunk's bytes, valid until the next take(), with headerRoom bytes
    // of room in front of them.
    virtual std::uint8_t* take(std::uint64_t chunk) = 0;
    virtual std::uint64_t chunkLength(std::uint64_t chunk) const = 0;
};

// The output's bytes were made when the conversion was readied: the input
// read whole, unchanged or filtered with others.
class ReadySource final : public BufferedSource {
public:
    ReadySource(const WholeInput& whole, std::uint64_t size) : bytes_(whole.outputBytes()), size_(size) {}

private:
    std::uint8_t* take(std::uint64_t) override { return bytes_; }
    std::uint64_t chunkLength(std::uint64_t) const override { return size_; }

    std::uint8_t* bytes_;
    std::uint64_t size_;
};

// The input's bytes unchanged: a worker reads the next chunk into one
// buffer while the converting thread writes the chunk before from the
// other. (Sending them with sendfile instead, one copy on one thread, was
// measured markedly slower than these two copies on two.)
class CopyingSource final : public BufferedSource {
public:
    CopyingSource(const ConversionPlan& plan, runtime::InputFile& input)
        : chunks_(plan.chunks), input_(input), series_(runtime::sharedWorkerPool(), helperCount()) {
        const int buffers = static_cast<int>(std::min<std::uint64_t>(chunks_.count(), 2));
        for (int i = 0; i < buffers; ++i) buffers_.emplace_back(headerRoom + chunks_.chunkBytes());
        read(0);
    }

private:
    std::uint64_t chunkLength(std::uint64_t chunk) const override { return chunks_.length(chunk); }

    std::uint8_t* take(std::uint64_t chunk) override {
        next_.wait();
        // Into the buffer written last.
        if (chunk + 1 < chunks_.count()) {
            next_ = series_.start(1, [this, chunk](std::size_t) { read(chunk + 1); });
        }
        return bytes(chunk);
    }

    std::uint8_t* bytes(std::uint64_t chunk) const { return buffers_[chunk % buffers_.size()].get() + headerRoom; }
    void read(std::uint64_t chunk) { readExactly(input_, chunks_.begin(chunk), chunks_.length(chunk), bytes(chunk)); }

    const ChunkLayout chunks_;
    runtime::InputFile& input_;
    std::vector<PageBuffer> buffers_;
    runtime::ParallelSeries series_;
    runtime::ParallelJob next_;  // last: dropped first, it waits for the read in flight
};

// The filtered samples, chunk by chunk: the workers of a series filter the
// next chunks into a ring of output buffers while the converting thread
// finishes the chunk it takes and then writes it. So two threads (or as
// many as there are processors) stay busy, and none waits for another at
// each chunk. The input is read in place, in the file's mapping (copying it
// out first costs as much again as filtering it).
class FilteringSource final : public BufferedSource {
public:
    // Chunks in flight at once: the one taken and those filtered ahead.
    static constexpr int ring = 3;

    FilteringSource(const ConversionPlan& plan, runtime::InputFile& input)
        : chunks_(plan.chunks),
          sampleBytes_(plan.bitDepth / 8),
          input_(input),
          series_(runtime::sharedWorkerPool(), helperCount()),
          filters_{{plan.bitDepth, series_, plan.kernels},
                   {plan.bitDepth, series_, plan.kernels},
                   {plan.bitDepth, series_, plan.kernels}} {
        const int buffers = static_cast<int>(std::min<std::uint64_t>(chunks_.count(), ring));
        for (int i = 0; i < buffers; ++i) {
            owned_.emplace_back(headerRoom + chunks_.chunkBytes());
            outputs_.push_back(owned_.back().get() + headerRoom);
        }
        for (std::uint64_t chunk = 0; chunk < std::min<std::uint64_t>(ring - 1, chunks_.count()); ++chunk) {
            start(chunk);
        }
    }

private:
    std::uint64_t chunkLength(std::uint64_t chunk) const override { return chunks_.length(chunk); }

    std::uint8_t* take(std::uint64_t chunk) override {
        Filtering& filtering = filters_[chunk % ring];
        state_ = filtering.filter.finish(state_);
        std::uint8_t* output = outputs_[chunk % outputs_.size()];
        // The partial sample at the end goes out unchanged.
        const std::uint64_t whole = chunks_.samples(chunk) * sampleBytes_;
        const std::uint8_t* tail = filtering.window + (chunks_.begin(chunk) + whole - filtering.windowBegin);
        std::copy(tail, tail + (chunks_.length(chunk) - whole), output + whole);
        // Into the buffer taken last, which has been written.
        if (chunk + ring - 1 < chunks_.count()) start(chunk + ring - 1);
        // The input before the chunks in flight is done with.
        input_.release(chunk + 1 < chunks_.count() ? windowBegin(chunk + 1) : chunks_.size());
        return output;
    }

    // A chunk in flight: its window of the input and its filter.
    struct Filtering {
        Filtering(std::uint16_t bitDepth, runtime::ParallelSeries& series, const detail::LaneKernels& kernels)
            : filter(bitDepth, series, kernels) {}
        const std::uint8_t* window = nullptr;  // from byte windowBegin of the input
        std::uint64_t windowBegin = 0;
        FastDcFilter filter;
    };

    // The chunk's samples from a warm-up's length before it.
    std::uint64_t windowBegin(std::uint64_t chunk) const {
        return FastFilterLimits::historyStart(chunks_.firstSample(chunk)) * sampleBytes_;
    }

    void start(std::uint64_t chunk) {
        Filtering& filtering = filters_[chunk % ring];
        filtering.windowBegin = windowBegin(chunk);
        const std::uint64_t end = chunks_.end(chunk);
        filtering.window = input_.view(filtering.windowBegin, end - filtering.windowBegin);
        // The next chunk's bytes come from the disk while this one's are
        // filtered; the first chunk's at once in one request.
        if (chunk == 0) input_.prefetch(0, end);
        input_.prefetch(end, ChunkLayout::maxChunkBytes);
        filtering.filter.start(filtering.window, filtering.windowBegin / sampleBytes_, chunks_.firstSample(chunk),
                               chunks_.samples(chunk), outputs_[chunk % outputs_.size()]);
    }

    const ChunkLayout chunks_;
    const std::uint64_t sampleBytes_;
    runtime::InputFile& input_;
    std::vector<PageBuffer> owned_;
    std::vector<std::uint8_t*> outputs_;
    DcFilterState state_;
    runtime::ParallelSeries series_;
    Filtering filters_[ring];  // last: their filters wait for the pool before the rest goes
};

}  // namespace

PageBuffer::PageBuffer(std::uint64_t size) : bytes_(new (pageAlignment, std::nothrow) std::uint8_t[size]) {
    if (!bytes_) throw OutOfMemory{};
}

void PageBuffer::Free::operator()(std::uint8_t* bytes) const { ::operator delete[](bytes, pageAlignment); }

WholeInput::WholeInput(runtime::InputFile& file, const ConversionPlan& plan)
    : output(new (std::nothrow) std::uint8_t[headerRoom + plan.chunks.size()]) {
    if (!output) throw OutOfMemory{};
    readExactly(file, 0, plan.chunks.size(), outputBytes());
    outputReady = !plan.filtered;  // unchanged bytes are ready as read
}

std::unique_ptr<ChunkSource> openChunkSource(const ConversionPlan& plan, runtime::InputFile& input, WholeInput* whole) {
    if (whole) {
        if (!whole->outputReady) throw runtime::InternalError("an input read whole is written before it is filtered");
        return std::make_unique<ReadySource>(*whole, plan.chunks.size());
    }
    if (plan.filtered) return std::make_unique<FilteringSource>(plan, input);
    return std::make_unique<CopyingSource>(plan, input);
}

}  // namespace engine
