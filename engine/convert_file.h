#pragma once

#include <cstdint>
#include <string>

namespace engine {

class ConversionObserver;

// Converts one file into one WAV file at outputPath: the 44-byte header, then
// the input's bytes, DC-filtered when dcFilter is on and the bit depth is 8,
// 16, 24 or 32, else unchanged. The output is written under a temporary name
// and takes its place only when complete, so a failure leaves whatever was
// at outputPath as it was. outputPath is the caller's: a link there is
// followed, and a device or a pipe written in place (see
// runtime::OutputNaming::given).
//
// An input that is not converted raises, with its line (nothing is
// printed): RefusalError "You cannot set the same input and output file for
// safety reasons" (both paths name one file, however spelt),
// ConversionError "ERROR: Could not read " + inputPath + ": " + reason,
// "ERROR: Input too large for a WAV file: " + inputPath, "ERROR: Could not
// create " + outputPath + ": " + reason, "ERROR: Could not allocate data
// for DC filter", "ERROR: Could not write " + outputPath + ": " + reason,
// or "ERROR: Input changed during conversion: " + inputPath.
void convertFile(const std::string& inputPath, const std::string& outputPath, bool dcFilter, std::int32_t sampleRateHz,
                 std::uint16_t bitDepth, std::uint16_t numberOfChannels, ConversionObserver* observer = nullptr);

}  // namespace engine
