#include "engine/to_bytes.h"

#include "engine/conversion_observer.h"
#include "engine/conversion_plan.h"
#include "engine/convert_path.h"
#include "engine/errors.h"
#include "engine/file_conversion.h"
#include "engine/folder_walk.h"
#include "engine/input_failures.h"
#include "engine/wav_reader.h"
#include "runtime/errors.h"
#include "runtime/folder.h"
#include "runtime/input_file.h"
#include "runtime/paths.h"

namespace engine {

namespace {

[[noreturn]] void notTakenBack(const std::string& line) { throw ConversionError(line); }

std::unique_ptr<runtime::OutputFile> openOutput(const BytesOutput& output, const runtime::InputFile& input) {
    if (!output.path) return std::make_unique<runtime::OutputFile>(runtime::OutputFile::StandardOutput{});
    return openOutputFile(*output.path, output.naming, input.permissions());
}

// The WAV files of a folder, each taken back beside itself in the walk's
// order; the files that are no WAV files are left out.
class BytesWalker final : public FolderVisitor {
public:
    explicit BytesWalker(ConversionObserver* observer) : observer_(observer) {}

    bool file(const std::shared_ptr<const runtime::Folder>& folder, const std::string& name) override {
        const std::string path = runtime::joinPath(folder->path(), name);
        std::unique_ptr<runtime::InputFile> input;
        try {
            input = std::make_unique<runtime::InputFile>(*folder, name);
            findWavData(*input);
        } catch (const runtime::NotAFileError&) {
            ++leftOut_.special;
            return true;
        } catch (const WavError&) {
            ++leftOut_.notWav;  // any other file of the folder
            return true;
        } catch (const runtime::OSError& error) {
            return unreadable(path, couldNotReadLine(path, error));
        }
        try {
            takeBackBytes(std::move(input), path, {runtime::joinPath(folder->path(), rawFileName(name))}, observer_);
        } catch (const InputError& error) {
            return unreadable(path, error.what());
        }
        return true;
    }

    bool unreadable(const std::string& path, const std::string& line) override {
        if (observer_) observer_->fileNotConverted(path, line);
        if (failures_++ == 0) firstFailure_ = line;
        return true;
    }

    void special() override { ++leftOut_.special; }

    void finish() const {
        if (observer_ && leftOut_.total() > 0) observer_->folderFinished(leftOut_);
        if (failures_ == 0) return;
        const std::string prefix = "ERROR: ";
        const std::string first =
            firstFailure_.rfind(prefix, 0) == 0 ? firstFailure_.substr(prefix.size()) : firstFailure_;
        notTakenBack("ERROR: " + std::to_string(failures_) + (failures_ == 1 ? " file was" : " files were") +
                     " not taken back; the first: " + first);
    }

private:
    ConversionObserver* observer_;
    LeftOutFiles leftOut_;
    std::uint64_t failures_ = 0;
    std::string firstFailure_;
};

}  // namespace

std::string rawFileName(const std::string& wavName) {
    // As wavFileName finds the extension: never the first character.
    const std::size_t dot = wavName.find_last_of('.');
    return (dot == std::string::npos || dot == 0 ? wavName : wavName.substr(0, dot)) + ".raw";
}

void takeBackBytes(std::unique_ptr<runtime::InputFile> input, const std::string& inputPath, const BytesOutput& output,
                   ConversionObserver* observer) {
    WavData data;
    try {
        data = findWavData(*input);
    } catch (const WavError& error) {
        notTakenBack(std::string("ERROR: Not a WAV file to take back: ") + error.what());
    } catch (const runtime::OSError& error) {
        notTakenBack(couldNotReadLine(inputPath, error));
    }
    const std::unique_ptr<runtime::OutputFile> file = openOutput(output, *input);
    // Writing the output must never touch the input.
    if (file->replaces() == input->identity()) throw RefusalError(sameFileLine);
    const std::string outputName = output.path.value_or("standard output");
    if (observer) observer->fileStarted(data.presentSize);
    movingBytes(inputPath, outputName, false, [&] {
        file->reserve(data.presentSize);
        const ChunkLayout chunks(data.presentSize, 1);
        for (std::uint64_t chunk = 0; chunk < chunks.count(); ++chunk) {
            const std::uint64_t length = chunks.length(chunk);
            if (file->copyFrom(*input, data.offset + chunks.begin(chunk), length) != length) throw InputShrank{};
            input->release(data.offset + chunks.end(chunk));
            if (observer) observer->dataWritten(length);
        }
        if (!input->unchanged()) throw InputShrank{};
    });
    commitOutputFile(*file, outputName);
    input->close();
    if (data.missingBytes() > 0) {
        notTakenBack("ERROR: " + std::to_string(data.missingBytes()) + " bytes of the data chunk are missing; the " +
                     std::to_string(data.presentSize) + " there were written");
    }
}

void takeBackPath(const std::string& inputPath, const std::optional<BytesOutput>& output,
                  ConversionObserver* observer) {
    if (checkInput(inputPath) == runtime::PathKind::folder) {
        std::shared_ptr<const runtime::Folder> root;
        try {
            root =
                std::make_shared<const runtime::Folder>(runtime::absolutePath(inputPath, runtime::currentDirectory()));
        } catch (const runtime::OSError& error) {
            notTakenBack(couldNotReadLine(inputPath, error));
        }
        BytesWalker walker(observer);
        walkFolder(std::move(root), walker);
        walker.finish();
        return;
    }
    const BytesOutput beside{
        runtime::joinPath(runtime::folderPart(inputPath), rawFileName(runtime::lastComponent(inputPath)))};
    takeBackBytes(openInputFile(inputPath), inputPath, output.value_or(beside), observer);
}

}  // namespace engine
