#include "engine/convert_file.h"

#include "engine/file_conversion.h"
#include "engine/input_failures.h"
#include "runtime/input_file.h"

namespace engine {

void convertFile(const std::string& inputPath, const std::string& outputPath, bool dcFilter, std::int32_t sampleRateHz,
                 std::uint16_t bitDepth, std::uint16_t numberOfChannels, ConversionObserver* observer) {
    ConversionSettings settings;
    settings.dcFilter = dcFilter;
    settings.sampleRateHz = sampleRateHz;
    settings.bitDepth = bitDepth;
    settings.numberOfChannels = numberOfChannels;
    printingFailures([&] { FileConversion(openInputFile(inputPath), inputPath, outputPath, settings).run(observer); });
}

}  // namespace engine
