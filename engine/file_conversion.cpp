#include "engine/file_conversion.h"

#include <vector>

#include "engine/conversion_observer.h"
#include "engine/dc_filter.h"
#include "engine/errors.h"
#include "engine/input_failures.h"
#include "engine/wav_header.h"
#include "runtime/busy_threads.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/input_file.h"
#include "runtime/output_file.h"
#include "runtime/paths.h"

namespace engine {

namespace {

static_assert(headerRoom == wavHeaderSize);

[[noreturn]] void notConverted(const std::string& line) { throw ConversionError(line); }

}  // namespace

std::unique_ptr<runtime::OutputFile> openOutputFile(const std::string& path, runtime::OutputNaming naming,
                                                    std::uint32_t permissions) {
    try {
        return std::make_unique<runtime::OutputFile>(path, naming, permissions);
    } catch (const runtime::OSError& error) {
        notConverted(couldNotCreateLine(path, reasonOf(error)));
    } catch (const runtime::DanglingLinkError& error) {
        notConverted(couldNotCreateLine(path, reasonOf(error)));
    }
}

void commitOutputFile(runtime::OutputFile& output, const std::string& outputName) {
    try {
        output.commit();
    } catch (const runtime::IOError& error) {
        notConverted("ERROR: Could not write " + outputName + ": " + error.what());
    } catch (const runtime::OSError& error) {
        notConverted(couldNotCreateLine(outputName, reasonOf(error)));
    }
}

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
      plan_(planConversion(input_->size(), settings)) {
    // Too large: refused before anything is created.
    if (input_->size() > maxWavDataSize) notConverted("ERROR: Input too large for a WAV file: " + inputPath_);
    output_ = openOutputFile(outputPath, naming, input_->permissions());
    ready();
}

FileConversion::FileConversion(std::unique_ptr<runtime::InputFile> input, std::string inputPath, ToStandardOutput,
                               const ConversionSettings& settings)
    : input_(std::move(input)),
      inputPath_(std::move(inputPath)),
      outputName_("standard output"),
      settings_(settings),
      plan_(planConversion(input_->size(), settings)) {
    if (input_->size() > maxWavDataSize) notConverted("ERROR: Input too large for a WAV file: " + inputPath_);
    output_ = std::make_unique<runtime::OutputFile>(runtime::OutputFile::StandardOutput{});
    ready();
}

FileConversion::~FileConversion() = default;

void FileConversion::ready() {
    // Writing the output must never touch the input, whatever names the two
    // paths give the file; nothing has been written when this refuses.
    if (output_->replaces() == input_->identity()) throw RefusalError(sameFileLine);
    if (plan_.reading != ConversionPlan::Reading::whole) return;
    movingBytes(inputPath_, outputName_, plan_.filtered,
                [&] { whole_ = std::make_unique<WholeInput>(*input_, plan_); });
}

bool FileConversion::runsAlone() const { return whole_ != nullptr; }

bool FileConversion::filtersInputReadWhole() const { return whole_ && !whole_->outputReady; }

void FileConversion::filterTogether(std::span<FileConversion* const> conversions) {
    if (conversions.empty()) return;
    const ConversionPlan& plan = conversions.front()->plan_;
    const std::uint64_t sampleBytes = plan.bitDepth / 8;
    std::vector<FilterStream> streams;
    streams.reserve(conversions.size());
    for (FileConversion* conversion : conversions) {
        if (!conversion->filtersInputReadWhole() || conversion->plan_.bitDepth != plan.bitDepth) {
            throw runtime::InternalError("a conversion filtered with others has no input read whole of their depth");
        }
        // In place; the partial sample at the end goes out unchanged.
        std::uint8_t* bytes = conversion->whole_->outputBytes();
        streams.push_back({bytes, bytes, conversion->input_->size() / sampleBytes});
    }
    filterStreamsSideBySide(streams, plan.bitDepth, plan.kernels);
    for (FileConversion* conversion : conversions) conversion->whole_->outputReady = true;
}

void FileConversion::run(ConversionObserver* observer) {
    const runtime::BusyThreads::Busy busy;
    const auto header =
        wavHeaderBytes(writeWavHeader(static_cast<std::uint32_t>(input_->size()), settings_.sampleRateHz,
                                      settings_.bitDepth, settings_.numberOfChannels, settings_.encoding));
    // Space set aside in one step spares the file system its bookkeeping
    // block by block (a quarter of writing's cost on ext4); for a small
    // output the call would cost more than it saves.
    if (!whole_) output_->reserve(header.size() + input_->size());
    if (observer) observer->fileStarted(input_->size());
    if (filtersInputReadWhole()) {
        FileConversion* self = this;
        filterTogether({&self, 1});
    }
    const ChunkLayout& chunks = plan_.chunks;
    movingBytes(inputPath_, outputName_, plan_.filtered, [&] {
        const std::unique_ptr<ChunkSource> source = openChunkSource(plan_, *input_, whole_.get());
        for (std::uint64_t chunk = 0; chunk < chunks.count(); ++chunk) {
            // The header goes out with the first chunk.
            source->write(chunk, chunk == 0 ? std::span<const std::uint8_t>(header) : std::span<const std::uint8_t>(),
                          *output_);
            if (observer) observer->dataWritten(chunks.length(chunk));
        }
        // A change after the last read would go unseen otherwise. (An input
        // read whole is the bytes of that one read: a change after it is one
        // after the conversion took them.)
        if (!whole_ && !input_->unchanged()) throw InputShrank{};
    });
    commitOutputFile(*output_, outputName_);
    input_->close();
}

}  // namespace engine
