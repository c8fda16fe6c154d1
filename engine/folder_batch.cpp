#include "engine/folder_batch.h"

#include <cerrno>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "engine/conversion_observer.h"
#include "engine/file_conversion.h"
#include "engine/folder_walk.h"
#include "engine/input_failures.h"
#include "engine/wav_file_name.h"
#include "runtime/busy_threads.h"
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

// Files handed on together: each hand-over costs the two threads a wake-up,
// so it carries many files.
using BatchGroup = std::vector<BatchItem>;

// Converts the walker's files one at a time, in the walk's order, and
// counts those it does not convert.
class BatchConverter {
public:
    explicit BatchConverter(ConversionObserver* observer) : observer_(observer) {}

    // Converts the groups of the queue until it is closed and empty.
    void run(runtime::WorkQueue<BatchGroup>& queue) {
        for (;;) {
            std::optional<BatchGroup> group = queue.pop();
            if (!group) return;
            convert(*group);
            std::lock_guard guard(mutex_);
            converted_ += group->size();
            spent_.push_back(std::move(*group));
            advanced_.notify_all();
        }
    }

    // Frees the groups converted since the last call. The walker, which
    // made them, calls it: memory goes back to the thread that took it, so
    // the two threads do not contend for the allocator's lock file after
    // file.
    void freeSpent() {
        std::vector<BatchGroup> spent;
        std::lock_guard guard(mutex_);
        spent.swap(spent_);
    }

    // Converts a group, in order, its small inputs filtered together first.
    void convert(BatchGroup& group) {
        std::vector<FileConversion*> together;
        for (const BatchItem& item : group) {
            if (item.conversion && item.conversion->filtersInputReadWhole()) together.push_back(item.conversion.get());
        }
        {
            const runtime::BusyThreads::Busy filtering;
            FileConversion::filterTogether(together);
        }
        for (BatchItem& item : group) convert(item);
    }

    // Waits until count items are converted, or the converter has stopped.
    void waitFor(std::uint64_t count) {
        std::unique_lock lock(mutex_);
        advanced_.wait(lock, [&] { return converted_ >= count || stopped_; });
    }

    // Nothing more is converted: an error ended the writer.
    void stop() {
        std::lock_guard guard(mutex_);
        stopped_ = true;
        advanced_.notify_all();
    }

    // Raises ConversionError with the batch's line when any file was not
    // converted.
    void report() const {
        if (failures_ == 0) return;
        throw ConversionError("ERROR: " + std::to_string(failures_) + (failures_ == 1 ? " file was" : " files were") +
                              " not converted; the first: " + withoutErrorPrefix(firstFailure_));
    }

private:
    void convert(BatchItem& item) {
        if (item.conversion) {
            try {
                item.conversion->run(observer_);
            } catch (const InputError& error) {
                item.notConverted = error.what();
            }
        }
        if (!item.notConverted.empty()) {
            if (observer_) observer_->fileNotConverted(item.path, item.notConverted);
            if (failures_++ == 0) firstFailure_ = item.notConverted;
        }
    }

    static std::string withoutErrorPrefix(const std::string& line) {
        const std::string prefix = "ERROR: ";
        return line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line;
    }

    ConversionObserver* observer_;
    std::uint64_t failures_ = 0;
    std::string firstFailure_;
    std::mutex mutex_;
    std::condition_variable advanced_;
    std::uint64_t converted_ = 0;
    std::vector<BatchGroup> spent_;
    bool stopped_ = false;
};

// The writer: a thread of its own that runs the batch's conversions as the
// walker hands them on. Joined when it goes; an error that ended it is
// raised by finish().
class BatchWriter {
public:
    BatchWriter(BatchConverter& converter, runtime::WorkQueue<BatchGroup>& queue)
        : queue_(queue), thread_([this, &converter] {
              try {
                  converter.run(queue_);
              } catch (...) {
                  error_ = std::current_exception();
                  queue_.abandon();  // the walker stops at its next file
                  converter.stop();
              }
          }) {}
    ~BatchWriter() {
        queue_.abandon();
        if (thread_.joinable()) thread_.join();
    }
    BatchWriter(const BatchWriter&) = delete;
    BatchWriter& operator=(const BatchWriter&) = delete;

    // Lets the writer convert what is queued, waits for it, and raises what
    // ended it early.
    void finish() {
        queue_.close();
        thread_.join();
        if (error_) std::rethrow_exception(error_);
    }

private:
    runtime::WorkQueue<BatchGroup>& queue_;
    std::exception_ptr error_;
    std::thread thread_;  // last: started when the rest is ready
};

// Files readied before they go on together: as many as the filter runs
// side by side.
constexpr std::size_t filesTogether = 16;
// Groups the walker may queue ahead of the one the writer converts and the
// one it readies itself. Each file holds its input and its temporary output
// open, and a small one its bytes, so this bounds the descriptors as well
// as the memory.
constexpr std::size_t groupsAhead = 2;

// Walks the input folder and chooses the files to convert.
class FolderWalker final : public FolderVisitor {
public:
    // queue: where the readied conversions go to the writer, or nothing when
    // there is none and the walker converts them itself.
    FolderWalker(const std::string& outputRoot, const ConversionSettings& settings,
                 runtime::WorkQueue<BatchGroup>* queue, BatchConverter& converter)
        : outputRoot_(outputRoot), settings_(settings), queue_(queue), converter_(converter) {}

    // Walks the folder (see walkFolder) and hands the files on. Stops
    // early when the writer has stopped.
    void run(std::shared_ptr<const runtime::Folder> root) {
        if (walkFolder(std::move(root), *this)) handOn();
    }

    const LeftOutFiles& leftOut() const { return leftOut_; }

    bool file(const std::shared_ptr<const runtime::Folder>& folder, const std::string& name) override {
        return choose(folder, name);
    }
    bool unreadable(const std::string& path, const std::string& line) override { return hand({nullptr, path, line}); }
    void special() override { ++leftOut_.special; }

private:
    bool choose(const std::shared_ptr<const runtime::Folder>& folder, const std::string& name) {
        // The total is tested before the file's own size is known, so it may
        // end above the limit by less than the last file.
        if (!(totalMb_ < settings_.maxFilesSizeMb)) {
            ++leftOut_.overLimit;
            return true;
        }
        const std::string inputFile = runtime::joinPath(folder->path(), name);
        // Opened first, its size read from what was opened: one look at
        // the file instead of two. Never through a link: one swapped in
        // since the listing is left out like the links listed.
        std::unique_ptr<runtime::InputFile> input;
        std::string notOpened;
        std::uint64_t size = 0;
        try {
            input = std::make_unique<runtime::InputFile>(*folder, name);
            size = input->size();
        } catch (const runtime::NotAFileError&) {
            ++leftOut_.special;
            return true;
        } catch (const runtime::OSError& error) {
            // Counted by the size its entry gives, as if it had opened.
            notOpened = couldNotReadLine(inputFile, error);
            try {
                size = folder->fileSize(name);
            } catch (const runtime::Error&) {
                return unreadable(inputFile, notOpened);
            }
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
        BatchItem item{nullptr, inputFile, notOpened};
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

    // Items go on to the converter in groups, in the walk's order, the
    // small inputs of a group filtered together first; a large file ends
    // its group.
    bool hand(BatchItem item) {
        const bool large = item.conversion && !item.conversion->runsAlone();
        group_.push_back(std::move(item));
        return (group_.size() < filesTogether && !large) || handOn();
    }

    bool handOn() {
        bool large = false;
        for (const BatchItem& item : group_) large = large || (item.conversion && !item.conversion->runsAlone());
        if (!queue_) {
            // Counted as busy where it converts, not twice.
            const runtime::BusyThreads::Waiting walking;
            converter_.convert(group_);
            group_.clear();
            return true;
        }
        // From here the walker only hands on and waits, whatever the writer
        // starts meanwhile.
        const runtime::BusyThreads::Waiting waiting;
        converter_.freeSpent();
        handed_ += group_.size();
        if (!queue_->push(std::exchange(group_, {}))) return false;
        // A large file is converted by the writer with the pool's workers:
        // the walker waits meanwhile, so that no more threads work than
        // there are processors.
        if (large) converter_.waitFor(handed_);
        return true;
    }

    const std::string outputRoot_;
    const ConversionSettings& settings_;
    runtime::WorkQueue<BatchGroup>* queue_;
    BatchConverter& converter_;
    std::uint64_t handed_ = 0;
    BatchGroup group_;
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
    // Who does what: this thread, the walker, lists the folders, opens each
    // file, creates its output and reads a small one whole, and hands the
    // files on sixteen at a time; the writer, a thread of its own, filters
    // the small inputs of each group side by side and runs the conversions
    // one at a time in the walk's order. A large file the writer converts
    // with the pool's workers while the walker waits. With one processor the
    // walker converts each group itself.
    const runtime::BusyThreads::Busy busy;
    runtime::WorkQueue<BatchGroup> queue(groupsAhead);
    BatchConverter converter(observer);
    const bool writerThread = runtime::sharedWorkerPool().threadCount() > 1;
    FolderWalker walker(outputRoot, settings, writerThread ? &queue : nullptr, converter);
    if (writerThread) {
        BatchWriter writer(converter, queue);
        walker.run(std::move(root));
        writer.finish();
    } else {
        walker.run(std::move(root));
    }
    if (observer && walker.leftOut().total() > 0) observer->folderFinished(walker.leftOut());
    converter.report();
}

}  // namespace engine
