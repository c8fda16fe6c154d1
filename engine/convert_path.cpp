#include "engine/convert_path.h"

#include "engine/convert_file.h"
#include "engine/errors.h"
#include "engine/folder_batch.h"
#include "runtime/console.h"
#include "runtime/fs.h"

namespace engine {

namespace {

[[noreturn]] void refuse(const std::string& line) {
    runtime::printLine(line);
    throw RefusalError(line);
}

}  // namespace

void convertPath(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings) {
    const runtime::PathKind kind = runtime::pathKind(inputPath);
    // Compared as given: case, separators and relative forms make paths
    // different.
    if (inputPath == outputPath) refuse("You cannot set the same input and output file for safety reasons");
    switch (kind) {
        case runtime::PathKind::none:
            refuse("There was an error with your input or output arguments.");
        case runtime::PathKind::file:
            if (runtime::directoryEntrySize(inputPath) == 0) refuse("Input file is 0 bytes!");
            convertFile(inputPath, outputPath, settings.dcFilter, settings.sampleRateHz, settings.bitDepth,
                        settings.numberOfChannels);
            return;
        case runtime::PathKind::folder:
            convertFolder(inputPath, outputPath, settings);
            return;
    }
}

void convertPath(const std::string& inputPath, const std::string& outputPath, std::uint16_t bitDepth,
                 std::uint16_t numberOfChannels, std::int32_t sampleRateHz, double maxFilesSizeMb, double maxFileSizeMb,
                 bool dcFilter) {
    convertPath(inputPath, outputPath,
                ConversionSettings{bitDepth, numberOfChannels, sampleRateHz, maxFilesSizeMb, maxFileSizeMb, dcFilter});
}

}  // namespace engine
