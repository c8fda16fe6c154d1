#include "engine/folder_batch.h"

#include <cerrno>
#include <memory>
#include <vector>

#include "engine/conversion_observer.h"
#include "engine/file_conversion.h"
#include "engine/input_failures.h"
#include "engine/wav_file_name.h"
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

// One file of the batch as the walker hands it on: its conversion, readied,
// or the line about a file or folder that is not converted.
struct BatchItem {
    std::unique_ptr<FileConversion> conversion;
    std::string path;
    std::string notConverted;
};

// Converts the walker's files one at a time, in the walk's order, and
// counts those it does not convert.
class BatchConverter {
public:
    explicit BatchConverter(ConversionObserver* observer) : observer_(observer) {}

    void run(runtime::WorkQueue<BatchItem>& queue) {
        while (std::optional<BatchItem> item = queue.pop()) {
            if (item->conversion) {
                try {
                    item->conversion->run(observer_);
                    continue;
                } catch (const InputError& error) {
                    item->notConverted = error.what();
                }
            }
            if (observer_) observer_->fileNotConverted(item->path, item->notConverted);
            if (failures_++ == 0) firstFailure_ = item->notConverted;
        }
    }

    // Raises ConversionError with the batch's line when any file was not
    // converted.
    void report() const {
        if (failures_ == 0) return;
        throw ConversionError("ERROR: " + std::to_string(failures_) + (failures_ == 1 ? " file was" : " files were") +
                              " not converted; the first: " + withoutErrorPrefix(firstFailure_));
    }

private:
    static std::string withoutErrorPrefix(const std::string& line) {
        const std::string prefix = "ERROR: ";
        return line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line;
    }

    ConversionObserver* observer_;
    std::uint64_t failures_ = 0;
    std::string firstFailure_;
};

// Files the walker may queue ahead of the converter, besides those of the
// group it is readying. Each holds its input and its temporary output open,
// and a small one its bytes, so the two bound the descriptors as well as
// the memory.
constexpr std::size_t filesAhead = 16;
// Files readied before they go on together: as many as the filter runs
// side by side.
constexpr std::size_t filesTogether = 16;

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
        if (walkAll(std::move(root))) handOn();
    }

    const LeftOutFiles& leftOut() const { return leftOut_; }

private:
    bool walkAll(std::shared_ptr<const runtime::Folder> root) {
        if (!walk(root)) return false;
        while (!pending_.empty()) {
            const PendingFolder next = std::move(pending_.back());
            pending_.pop_back();
            std::shared_ptr<const runtime::Folder> folder;
            const std::string path = runtime::joinPath(next.parent->path(), next.name);
            try {
                folder = std::make_shared<const runtime::Folder>(*next.parent, next.name);
            } catch (const runtime::NotAFileError&) {
                ++leftOut_.special;  // no longer a folder: a link swapped in, say
                continue;
            } catch (const runtime::OSError& error) {
                if (!unreadable(path, couldNotReadLine(path, error))) return false;
                continue;
            }
            if (!walk(folder)) return false;
        }
        return true;
    }

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
                        ++leftOut_.special;  // neither converted nor followed
                        break;
                }
            }
        } catch (const runtime::OSError& error) {
            // Whatever the listing did not reach is not converted.
            return unreadable(folder->path(), couldNotReadLine(folder->path(), error));
        }
        return true;
    }

    bool choose(const std::shared_ptr<const runtime::Folder>& folder, const std::string& name) {
        // The total is tested before the file's own size is known, so it may
        // end above the limit by less than the last file.
        if (!(totalMb_ < settings_.maxFilesSizeMb)) {
            ++leftOut_.overLimit;
            return true;
        }
        const std::string inputFile = runtime::joinPath(folder->path(), name);
        std::uint64_t size = 0;
        try {
            size = folder->fileSize(name);
        } catch (const runtime::NotAFileError&) {
            ++leftOut_.special;
            return true;
        } catch (const runtime::OSError& error) {
            return unreadable(inputFile, couldNotReadLine(inputFile, error));
        }
        const double sizeMb = static_cast<double>(size) / bytesPerMegabyte;
        if (!(sizeMb < settings_.maxFileSizeMb)) {
            ++leftOut_.overLimit;
            return true;
        }
        if (size == 0) {
            ++leftOut_.empty;
            return true;
        }
        BatchItem item{nullptr, inputFile, {}};
        std::unique_ptr<runtime::InputFile> input;
        try {
            // Never through a link: one swapped in since the listing is
            // left out like the links listed.
            input = std::make_unique<runtime::InputFile>(*folder, name);
        } catch (const runtime::NotAFileError&) {
            ++leftOut_.special;
            return true;
        } catch (const runtime::OSError& error) {
            item.notConverted = couldNotReadLine(inputFile, error);
        }
        // Counted whether its conversion succeeds or not.
        totalMb_ += sizeMb;
        if (input) {
            try {
                item.conversion = std::make_unique<FileConversion>(std::move(input), inputFile,
                                                                   runtime::joinPath(outputRoot_, wavFileName(name)),
                                                                   runtime::OutputNaming::own, settings_);
            } catch (const InputError& error) {
                item.notConverted = error.what();
            }
        }
        return hand(std::move(item));
    }

    bool unreadable(const std::string& path, const std::string& line) { return hand({nullptr, path, line}); }

    // Items go on to the converter in groups, in the walk's order, the
    // small inputs of a group filtered together first.
    bool hand(BatchItem item) {
        group_.push_back(std::move(item));
        return group_.size() < filesTogether || handOn();
    }

    bool handOn() {
        std::vector<FileConversion*> together;
        for (const BatchItem& item : group_) {
            if (item.conversion && item.conversion->filtersInputReadWhole()) together.push_back(item.conversion.get());
        }
        FileConversion::filterTogether(together);
        for (BatchItem& item : group_) {
            if (!queue_.push(std::move(item))) return false;
        }
        group_.clear();
        return true;
    }

    const std::string outputRoot_;
    const ConversionSettings& settings_;
    runtime::WorkQueue<BatchItem>& queue_;
    std::vector<PendingFolder> pending_;
    std::vector<BatchItem> group_;
    double totalMb_ = 0.0;
    LeftOutFiles leftOut_;
};

}  // namespace

void ensureOutputFolder(const std::string& outputPath, ConversionObserver* observer) {
    if (runtime::canOpenForQuery(outputPath)) return;
    for (const std::string& folder : folderChain(outputPath)) {
        runtime::CreateFolderOutcome outcome;
        try {
            outcome = runtime::createFolder(folder);
        } catch (const runtime::OSError& error) {
            throw ConversionError(couldNotCreateLine(folder, reasonOf(error)));
        }
        if (outcome == runtime::CreateFolderOutcome::existsAsOther) {
            throw ConversionError(couldNotCreateLine(folder, runtime::errnoText(EEXIST)));
        }
    }
    if (observer) observer->outputFolderCreated(outputPath);
}

void convertFolder(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                   ConversionObserver* observer) {
    // Both roots are made absolute once, not again for every file.
    std::string currentFolder;
    std::shared_ptr<const runtime::Folder> root;
    try {
        currentFolder = runtime::currentDirectory();
        root = std::make_shared<const runtime::Folder>(runtime::absolutePath(inputPath, currentFolder));
    } catch (const runtime::OSError& error) {
        throw ConversionError(couldNotReadLine(inputPath, error));
    }
    const std::string outputRoot = runtime::absolutePath(outputPath, currentFolder);
    // A batch writing into the folder it walks would meet its own outputs.
    if (runtime::isInsideFolder(outputRoot, root->identity())) throw RefusalError(sameFileLine);
    ensureOutputFolder(outputPath, observer);
    // The conversions go to one pool worker, so that this thread lists the
    // next files and readies their conversions (opens them, creates their
    // outputs, reads the small ones) meanwhile instead of waiting for each;
    // the worker still writes one file at a time, in the walk's order.
    runtime::WorkQueue<BatchItem> queue(filesAhead);
    BatchConverter converter(observer);
    runtime::ParallelJob conversions = runtime::sharedWorkerPool().startParallel(1, [&](std::size_t) {
        try {
            converter.run(queue);
        } catch (...) {
            queue.abandon();  // the walker stops at its next file
            throw;
        }
    });
    FolderWalker walker(outputRoot, settings, queue);
    try {
        walker.run(std::move(root));
    } catch (...) {
        queue.abandon();
        throw;
    }
    queue.close();
    conversions.wait();
    if (observer && walker.leftOut().total() > 0) observer->folderFinished(walker.leftOut());
    converter.report();
}

}  // namespace engine
