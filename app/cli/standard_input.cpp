#include "app/cli/standard_input.h"

#include <memory>
#include <vector>

#include "engine/errors.h"
#include "engine/wav_header.h"
#include "runtime/fs.h"
#include "runtime/output_file.h"
#include "runtime/paths.h"
#include "runtime/standard_streams.h"
#include "runtime/temporary_name.h"

namespace app {

namespace {

std::string newTemporaryPath() {
    try {
        return runtime::joinPath(runtime::temporaryFolder(), runtime::temporaryNameBeside("quenmarl-input"));
    } catch (const runtime::OSError& error) {
        throw engine::ConversionError(std::string("ERROR: Could not save standard input: ") + error.what());
    }
}

// Copies standard input into path; its size, or the line why not.
void copyStandardInput(const std::string& path) {
    std::unique_ptr<runtime::OutputFile> copy;
    std::uint64_t size = 0;
    try {
        copy = std::make_unique<runtime::OutputFile>(path);
        std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
        while (const std::size_t got = runtime::readStandardInput(buffer.data(), buffer.size())) {
            size += got;
            // Read no further than a WAV header can count.
            if (size > engine::maxWavDataSize)
                throw engine::ConversionError("ERROR: Input too large for a WAV file: -");
            copy->write(buffer.data(), got);
        }
        copy->commit();
    } catch (const engine::InputError&) {
        throw;
    } catch (const runtime::Error& error) {
        throw engine::ConversionError(std::string("ERROR: Could not save standard input: ") + error.what());
    }
    if (size == 0) throw engine::RefusalError("Input file is 0 bytes!");
}

}  // namespace

StandardInputCopy::StandardInputCopy() : path_(newTemporaryPath()), entry_(path_) {
    try {
        copyStandardInput(path_);
    } catch (...) {
        runtime::removeFile(path_);
        throw;
    }
}

StandardInputCopy::~StandardInputCopy() { runtime::removeFile(path_); }

}  // namespace app
