#include "engine/convert_path.h"

#include "engine/file_conversion.h"
#include "engine/folder_batch.h"
#include "engine/input_failures.h"
#include "runtime/input_file.h"

namespace engine {

runtime::PathKind checkInput(const std::string& inputPath) {
    const runtime::PathKind kind = runtime::pathKind(inputPath);
    switch (kind) {
        case runtime::PathKind::none:
            throw RefusalError(noSuchInputLine);
        case runtime::PathKind::special:
            throw RefusalError(notAFileLine);
        case runtime::PathKind::file:
            if (runtime::directoryEntrySize(inputPath) == 0) throw RefusalError(emptyInputLine);
            break;
        case runtime::PathKind::folder:
            break;
    }
    return kind;
}

void convertPath(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                 ConversionObserver* observer, runtime::OutputNaming naming) {
    // The same text is refused at once; other spellings of the same file or
    // folder are found by the file system's identities further on.
    if (inputPath == outputPath) throw RefusalError(sameFileLine);
    if (checkInput(inputPath) == runtime::PathKind::folder) {
        convertFolder(inputPath, outputPath, settings, observer);
        return;
    }
    // Refused before anything is created when the two name one file.
    FileConversion(openInputFile(inputPath), inputPath, outputPath, naming, settings).run(observer);
}

void convertPath(const std::string& inputPath, const std::string& outputPath, std::uint16_t bitDepth,
                 std::uint16_t numberOfChannels, std::int32_t sampleRateHz, double maxFilesSizeMb, double maxFileSizeMb,
                 bool dcFilter) {
    convertPath(inputPath, outputPath,
                ConversionSettings{bitDepth, numberOfChannels, sampleRateHz, maxFilesSizeMb, maxFileSizeMb, dcFilter});
}

}  // namespace engine
