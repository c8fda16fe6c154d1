#pragma once

#include <cstdint>
#include <string>

namespace engine {

// Converts one file into one WAV file at outputPath: the 44-byte header, then
// the input's bytes, DC-filtered when dcFilter is on and the bit depth is 8,
// 16, 24 or 32, else unchanged. Returns normally after writing, or after
// printing one of these lines: "ERROR: Could not create " + outputPath (the
// output cannot be opened), "ERROR: Could not allocate data for DC filter",
// "ERROR: Input too large for a WAV file: " + inputPath (more bytes than a
// WAV header can count; nothing is created). Raises OSError when the input
// cannot be opened, mapped or sized, IOError when a write fails.
void convertFile(const std::string& inputPath, const std::string& outputPath, bool dcFilter, std::int32_t sampleRateHz,
                 std::uint16_t bitDepth, std::uint16_t numberOfChannels);

}  // namespace engine
