#include "engine/folder_batch.h"

#include <memory>
#include <vector>

#include "engine/completion_barrier.h"
#include "engine/convert_file.h"
#include "engine/input_failures.h"
#include "engine/wav_file_name.h"
#include "runtime/console.h"
#include "runtime/errors.h"
#include "runtime/folder.h"
#include "runtime/fs.h"
#include "runtime/input_file.h"
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
template <class Conversion>
void runOnWorker(const Conversion& conversion) {
    CompletionBarrier barrier;
    barrier.enter();
    runtime::sharedWorkerPool().submit([&conversion, &barrier] {
        std::exception_ptr error;
        try {
            conversion();
        } catch (...) {
            error = std::current_exception();
        }
        barrier.leave(error);
    });
    barrier.wait();
}

// A folder still to be walked: its name in a parent that is kept open until
// all its subfolders are walked, so that no path has to be spelt out whole.
struct PendingFolder {
    std::shared_ptr<const runtime::Folder> parent;
    std::string name;
};

class FolderBatch {
public:
    FolderBatch(const std::string& outputRoot, const ConversionSettings& settings, ConversionObserver* observer)
        : outputRoot_(outputRoot), settings_(settings), observer_(observer) {}

    // Walks depth-first with an explicit stack, so depth is bounded by
    // memory only: the subfolder found last is walked first.
    void run(std::shared_ptr<const runtime::Folder> root) {
        walk(root);
        while (!pending_.empty()) {
            const PendingFolder next = std::move(pending_.back());
            pending_.pop_back();
            std::shared_ptr<const runtime::Folder> folder;
            try {
                folder = std::make_shared<const runtime::Folder>(*next.parent, next.name);
            } catch (const runtime::OSError& error) {
                count(couldNotReadLine(runtime::joinPath(next.parent->path(), next.name), error), true);
                continue;
            }
            walk(folder);
        }
        if (failures_ == 0) return;
        fail("ERROR: " + std::to_string(failures_) + (failures_ == 1 ? " file was" : " files were") +
             " not converted; the first: " + withoutErrorPrefix(firstFailure_));
    }

private:
    // Lists one folder: its subfolders wait on the stack, its files are
    // converted at once while the listing goes on.
    void walk(const std::shared_ptr<const runtime::Folder>& folder) {
        try {
            runtime::FolderListing listing(*folder);
            while (const auto entry = listing.next()) {
                switch (entry->kind) {
                    case runtime::FolderEntry::Kind::folder:
                        pending_.push_back({folder, entry->name});
                        break;
                    case runtime::FolderEntry::Kind::file:
                        convertIfWanted(*folder, entry->name);
                        break;
                    case runtime::FolderEntry::Kind::link:
                        break;  // neither converted nor followed
                }
            }
        } catch (const runtime::OSError& error) {
            // Whatever the listing did not reach is not converted.
            count(couldNotReadLine(folder->path(), error), true);
        }
    }

    void convertIfWanted(const runtime::Folder& folder, const std::string& name) {
        // The total is tested before the file's own size is known, so it may
        // end above the limit by less than the last file.
        if (!(totalMb_ < settings_.maxFilesSizeMb)) return;
        const std::string inputFile = runtime::joinPath(folder.path(), name);
        std::uint64_t size = 0;
        try {
            size = folder.fileSize(name);
        } catch (const runtime::OSError& error) {
            count(couldNotReadLine(inputFile, error), true);
            return;
        }
        const double sizeMb = static_cast<double>(size) / bytesPerMegabyte;
        if (!(sizeMb < settings_.maxFileSizeMb) || size == 0) return;
        const std::string outputFile = runtime::joinPath(outputRoot_, wavFileName(name));
        try {
            runOnWorker([&] { convert(folder, name, inputFile, outputFile); });
        } catch (const InputError& error) {
            count(error.what(), false);  // its line is printed
        }
        totalMb_ += sizeMb;
    }

    void convert(const runtime::Folder& folder, const std::string& name, const std::string& inputFile,
                 const std::string& outputFile) const {
        std::unique_ptr<runtime::InputFile> input;
        try {
            input = std::make_unique<runtime::InputFile>(folder, name);
        } catch (const runtime::OSError& error) {
            fail(couldNotReadLine(inputFile, error));
        }
        convertFile(*input, inputFile, outputFile, settings_.dcFilter, settings_.sampleRateHz, settings_.bitDepth,
                    settings_.numberOfChannels, observer_);
    }

    void count(const std::string& line, bool print) {
        if (print) runtime::printLine(line);
        if (failures_++ == 0) firstFailure_ = line;
    }

    static std::string withoutErrorPrefix(const std::string& line) {
        const std::string prefix = "ERROR: ";
        return line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line;
    }

    const std::string outputRoot_;
    const ConversionSettings settings_;
    ConversionObserver* observer_;
    std::vector<PendingFolder> pending_;
    double totalMb_ = 0.0;
    std::uint64_t failures_ = 0;
    std::string firstFailure_;
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
    FolderBatch(outputRoot, settings, observer).run(std::move(root));
}

}  // namespace engine
