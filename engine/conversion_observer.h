#pragma once

#include <cstdint>
#include <string>

namespace engine {

// Files of a folder left out of its conversion, by reason. They are not
// failures: a batch that only leaves files out has converted its input.
struct LeftOutFiles {
    std::uint64_t empty = 0;
    std::uint64_t overLimit = 0;  // at or over the size of one file, or after the total
    std::uint64_t special = 0;    // links, pipes, devices, sockets: neither converted nor followed
    std::uint64_t notWav = 0;     // taking WAV files back to bytes: the other files

    std::uint64_t total() const { return empty + overLimit + special + notWav; }
};

// What the engine has to report besides the errors it raises: how
// conversions advance, and what a folder's conversion meets on its way. The
// engine prints nothing; a program turns these into lines. The calls for
// one input never overlap: a folder's files are reported on the thread that
// converts them, one at a time, the rest on the caller's thread.
class ConversionObserver {
public:
    virtual ~ConversionObserver() = default;
    // A file's data begin: its size in bytes.
    virtual void fileStarted(std::uint64_t size) { (void)size; }
    // count more of its bytes are written.
    virtual void dataWritten(std::uint64_t count) { (void)count; }
    // The output folder was missing and has been made, with its parents.
    virtual void outputFolderCreated(const std::string& folder) { (void)folder; }
    // A file (or a folder) below the input folder at path is not converted,
    // for the reason line gives; the batch goes on.
    virtual void fileNotConverted(const std::string& path, const std::string& line) {
        (void)path;
        (void)line;
    }
    // The folder's conversion ends (converted or not); files were left out.
    virtual void folderFinished(const LeftOutFiles& leftOut) { (void)leftOut; }
};

}  // namespace engine
