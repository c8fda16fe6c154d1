#include "engine/folder_batch.h"

#include <vector>

#include "engine/completion_barrier.h"
#include "engine/convert_file.h"
#include "engine/wav_file_name.h"
#include "runtime/console.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/paths.h"
#include "runtime/worker_pool.h"

namespace engine {

namespace {

constexpr double bytesPerMegabyte = 1048576.0;

// Every folder on the way to path, outermost first, roots left out.
std::vector<std::string> folderChain(const std::string& path) {
    std::vector<std::string> chain;
    for (std::string folder = runtime::normalizePath(path);;) {
        const std::string parent = runtime::folderPart(folder);
        if (folder.empty() || runtime::lastComponent(folder).empty()) break;
        chain.insert(chain.begin(), folder);
        if (parent == folder) break;
        folder = parent;
    }
    return chain;
}

// Runs one conversion on a pool worker and waits for it. The task reports
// completion on every way out, so an error cannot leave the walker waiting;
// the error is raised here instead.
void convertOnWorker(const FileConverter& convert, const std::string& inputFile, const std::string& outputFile,
                     const ConversionSettings& settings) {
    CompletionBarrier barrier;
    barrier.enter();
    runtime::sharedWorkerPool().submit([&convert, inputFile, outputFile, settings, &barrier] {
        std::exception_ptr error;
        try {
            convert(inputFile, outputFile, settings);
        } catch (...) {
            error = std::current_exception();
        }
        barrier.leave(error);
    });
    barrier.wait();
}

class FolderBatch {
public:
    FolderBatch(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                const FileConverter& convert)
        : inputPath_(inputPath),
          outputPath_(outputPath),
          inputRoot_(absolute(inputPath)),
          outputRoot_(absolute(outputPath)),
          settings_(settings),
          convert_(convert) {}

    // Walks depth-first with an explicit stack of paths relative to the
    // input folder, so depth is bounded by memory only.
    void run() {
        std::vector<std::string> pending{""};
        while (!pending.empty()) {
            const std::string relative = std::move(pending.back());
            pending.pop_back();
            runtime::FolderListing listing(runtime::joinPath(inputPath_, relative));
            if (!listing.isOpen()) continue;
            while (const auto entry = listing.next()) {
                if (entry->name == "." || entry->name == "..") continue;
                const std::string path = runtime::joinPath(relative, entry->name);
                switch (entry->kind) {
                    case runtime::FolderEntry::Kind::folder:
                        pending.push_back(path);
                        break;
                    case runtime::FolderEntry::Kind::file:
                        convertIfWanted(path, entry->name);
                        break;
                    case runtime::FolderEntry::Kind::link:
                        break;  // neither converted nor followed
                }
            }
        }
    }

private:
    void convertIfWanted(const std::string& relative, const std::string& name) {
        // The total is tested before the file's own size is known, so it may
        // end above the limit by less than the last file.
        if (!(totalMb_ < settings_.maxFilesSizeMb)) return;
        const std::string inputFile = runtime::joinPath(inputPath_, relative);
        // Outputs of an earlier run lying directly in the output folder are
        // not converted again.
        if (runtime::folderPart(inputFile) == outputPath_) return;
        const std::uint64_t size = runtime::directoryEntrySize(inputFile);
        const double sizeMb = static_cast<double>(size) / bytesPerMegabyte;
        if (!(sizeMb < settings_.maxFileSizeMb) || size == 0) return;
        convertOnWorker(convert_, runtime::joinPath(inputRoot_, relative),
                        runtime::joinPath(outputRoot_, wavFileName(name)), settings_);
        totalMb_ += sizeMb;
    }

    static std::string absolute(const std::string& path) {
        return runtime::isAbsolutePath(path) ? path : runtime::joinPath(runtime::currentDirectory(), path);
    }

    const std::string& inputPath_;
    const std::string& outputPath_;
    // Both roots are made absolute once, not again for every file.
    const std::string inputRoot_;
    const std::string outputRoot_;
    const ConversionSettings settings_;
    const FileConverter& convert_;
    double totalMb_ = 0.0;
};

}  // namespace

void ensureOutputFolder(const std::string& outputPath) {
    if (runtime::canOpenForQuery(outputPath)) return;
    for (const std::string& folder : folderChain(outputPath)) {
        if (runtime::createFolder(folder) == runtime::CreateFolderOutcome::existsAsOther) {
            throw runtime::IOError("Failed to create '" + folder + "'");
        }
    }
    runtime::printLine(outputPath + " did not exist and was created for you.");
}

void convertFolder(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                   const FileConverter& convert) {
    const FileConverter convertWholeFile = [](const std::string& inputFile, const std::string& outputFile,
                                              const ConversionSettings& fileSettings) {
        convertFile(inputFile, outputFile, fileSettings.dcFilter, fileSettings.sampleRateHz, fileSettings.bitDepth,
                    fileSettings.numberOfChannels);
    };
    ensureOutputFolder(outputPath);
    FolderBatch(inputPath, outputPath, settings, convert ? convert : convertWholeFile).run();
}

}  // namespace engine
