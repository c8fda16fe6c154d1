#include "engine/folder_batch.h"

#include <memory>
#include <vector>

#include "engine/conversion_observer.h"
#include "engine/convert_file.h"
#include "engine/input_failures.h"
#include "engine/wav_file_name.h"
#include "runtime/console.h"
#include "runtime/errors.h"
#include "runtime/folder.h"
#include "runtime/fs.h"
#include "runtime/input_file.h"
#include "runtime/paths.h"
#include "runtime/work_queue.h"
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

// One file of the batch as the walker hands it on: what to convert, or the
// line about a file or folder the walker could not read.
struct BatchItem {
    std::shared_ptr<const runtime::Folder> folder;
    std::string name;
    std::string inputFile;
    std::string outputFile;
    std::string unreadable;
};

// Converts the walker's files one at a time, in the walk's order, and
// counts those it does not convert.
class BatchConverter {
public:
    BatchConverter(const ConversionSettings& settings, ConversionObserver* observer)
        : settings_(settings), observer_(observer) {}

    void run(runtime::WorkQueue<BatchItem>& queue) {
        while (std::optional<BatchItem> item = queue.pop()) {
            if (!item->unreadable.empty()) {
                runtime::printLine(item->unreadable);
                count(item->unreadable);
                continue;
            }
            try {
                convert(*item);
            } catch (const InputError& error) {
                count(error.what());  // its line is printed
            }
        }
    }

    // Raises ConversionError with the batch's line when any file was not
    // converted.
    void report() const {
        if (failures_ == 0) return;
        fail("ERROR: " + std::to_string(failures_) + (failures_ == 1 ? " file was" : " files were") +
             " not converted; the first: " + withoutErrorPrefix(firstFailure_));
    }

private:
    void convert(const BatchItem& item) const {
        std::unique_ptr<runtime::InputFile> input;
        try {
            input = std::make_unique<runtime::InputFile>(*item.folder, item.name);
        } catch (const runtime::OSError& error) {
            fail(couldNotReadLine(item.inputFile, error));
        }
        convertFile(*input, item.inputFile, item.outputFile, settings_.dcFilter, settings_.sampleRateHz,
                    settings_.bitDepth, settings_.numberOfChannels, observer_);
    }

    void count(const std::string& line) {
        if (failures_++ == 0) firstFailure_ = line;
    }

    static std::string withoutErrorPrefix(const std::string& line) {
        const std::string prefix = "ERROR: ";
        return line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line;
    }

    const ConversionSettings settings_;
    ConversionObserver* observer_;
    std::uint64_t failures_ = 0;
    std::string firstFailure_;
};

// A folder still to be walked: its name in a parent that is kept open until
// all its subfolders are walked, so that no path has to be spelt out whole.
struct PendingFolder {
    std::shared_ptr<const runtime::Folder> parent;
    std::string name;
};

// Walks the input folder and chooses the files to convert.
class FolderWalker {
public:
    FolderWalker(const std::string& outputRoot, const ConversionSettings& settings,
                 runtime::WorkQueue<BatchItem>& queue)
        : outputRoot_(outputRoot), settings_(settings), queue_(queue) {}

    // Walks depth-first with an explicit stack, so depth is bounded by
    // memory only: the subfolder found last is walked first. Stops early
    // when the queue is closed.
    void run(std::shared_ptr<const runtime::Folder> root) {
        if (!walk(root)) return;
        while (!pending_.empty()) {
            const PendingFolder next = std::move(pending_.back());
            pending_.pop_back();
            std::shared_ptr<const runtime::Folder> folder;
            try {
                folder = std::make_shared<const runtime::Folder>(*next.parent, next.name);
            } catch (const runtime::OSError& error) {
                if (!unreadable(couldNotReadLine(runtime::joinPath(next.parent->path(), next.name), error))) return;
                continue;
            }
            if (!walk(folder)) return;
        }
    }

private:
    // Lists one folder: its subfolders wait on the stack, its files are
    // chosen at once while the listing goes on.
    bool walk(const std::shared_ptr<const runtime::Folder>& folder) {
        try {
            runtime::FolderListing listing(*folder);
            while (const auto entry = listing.next()) {
                switch (entry->kind) {
                    case runtime::FolderEntry::Kind::folder:
                        pending_.push_back({folder, entry->name});
                        break;
                    case runtime::FolderEntry::Kind::file:
                        if (!choose(folder, entry->name)) return false;
                        break;
                    case runtime::FolderEntry::Kind::link:
                        break;  // neither converted nor followed
                }
            }
        } catch (const runtime::OSError& error) {
            // Whatever the listing did not reach is not converted.
            return unreadable(couldNotReadLine(folder->path(), error));
        }
        return true;
    }

    bool choose(const std::shared_ptr<const runtime::Folder>& folder, const std::string& name) {
        // The total is tested before the file's own size is known, so it may
        // end above the limit by less than the last file.
        if (!(totalMb_ < settings_.maxFilesSizeMb)) return true;
        const std::string inputFile = runtime::joinPath(folder->path(), name);
        std::uint64_t size = 0;
        try {
            size = folder->fileSize(name);
        } catch (const runtime::OSError& error) {
            return unreadable(couldNotReadLine(inputFile, error));
        }
        const double sizeMb = static_cast<double>(size) / bytesPerMegabyte;
        if (!(sizeMb < settings_.maxFileSizeMb) || size == 0) return true;
        // Counted whether its conversion succeeds or not.
        totalMb_ += sizeMb;
        return queue_.push({folder, name, inputFile, runtime::joinPath(outputRoot_, wavFileName(name)), {}});
    }

    bool unreadable(const std::string& line) { return queue_.push({nullptr, {}, {}, {}, line}); }

    const std::string outputRoot_;
    const ConversionSettings& settings_;
    runtime::WorkQueue<BatchItem>& queue_;
    std::vector<PendingFolder> pending_;
    double totalMb_ = 0.0;
};

// Files the walker may choose ahead of the converter. Each holds its folder
// open, so this bounds the descriptors as well as the memory.
constexpr std::size_t filesAhead = 64;

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
                   ConversionObserver* observer) {
    // Both roots are made absolute once, not again for every file.
    const std::string currentFolder = runtime::currentDirectory();
    std::shared_ptr<const runtime::Folder> root;
    try {
        root = std::make_shared<const runtime::Folder>(runtime::absolutePath(inputPath, currentFolder));
    } catch (const runtime::OSError& error) {
        fail(couldNotReadLine(inputPath, error));
    }
    const std::string outputRoot = runtime::absolutePath(outputPath, currentFolder);
    // A batch writing into the folder it walks would meet its own outputs.
    if (runtime::isInsideFolder(outputRoot, root->identity())) refuse(sameFileLine);
    ensureOutputFolder(outputPath);

    // The conversions go to one pool worker, so that this thread lists and
    // measures the next files meanwhile instead of waiting for each; the
    // worker still converts one file at a time, in the walk's order.
    runtime::WorkQueue<BatchItem> queue(filesAhead);
    BatchConverter converter(settings, observer);
    runtime::ParallelJob conversions = runtime::sharedWorkerPool().startParallel(1, [&](std::size_t) {
        try {
            converter.run(queue);
        } catch (...) {
            queue.abandon();  // the walker stops at its next file
            throw;
        }
    });
    try {
        FolderWalker(outputRoot, settings, queue).run(std::move(root));
    } catch (...) {
        queue.abandon();
        throw;
    }
    queue.close();
    conversions.wait();
    converter.report();
}

}  // namespace engine
