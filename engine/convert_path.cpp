#include "engine/convert_path.h"

#include "engine/convert_file.h"
#include "engine/folder_batch.h"
#include "engine/input_failures.h"
#include "runtime/fs.h"

namespace engine {

void convertPath(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                 ConversionObserver* observer) {
    const runtime::PathKind kind = runtime::pathKind(inputPath);
    // The same text is refused at once; other spellings of the same file or
    // folder are found by the file system's identities further on.
    if (inputPath == outputPath) refuse(sameFileLine);
    switch (kind) {
        case runtime::PathKind::none:
            refuse("There was an error with your input or output arguments.");
        case runtime::PathKind::file:
            if (runtime::directoryEntrySize(inputPath) == 0) refuse("Input file is 0 bytes!");
            convertFile(inputPath, outputPath, settings.dcFilter, settings.sampleRateHz, settings.bitDepth,
                        settings.numberOfChannels, observer);
            return;
        case runtime::PathKind::folder:
            convertFolder(inputPath, outputPath, settings, observer);
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
