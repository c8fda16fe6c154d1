#include "engine/convert_file.h"

#include "engine/file_conversion.h"
#include "runtime/input_file.h"
#include "runtime/output_file.h"

namespace engine {

void convertFile(const std::string& inputPath, const std::string& outputPath, bool dcFilter, std::int32_t sampleRateHz,
                 std::uint16_t bitDepth, std::uint16_t numberOfChannels, ConversionObserver* observer) {
    ConversionSettings settings;
    settings.dcFilter = dcFilter;
    settings.sampleRateHz = sampleRateHz;
    settings.bitDepth = bitDepth;
    settings.numberOfChannels = numberOfChannels;
    FileConversion(openInputFile(inputPath), inputPath, outputPath, runtime::OutputNaming::given, settings)
        .run(observer);
}

}  // namespace engine
