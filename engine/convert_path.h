#pragma once
// The engine's entry: one file or a whole folder into WAV files.

#include <cstdint>
#include <string>

#include "engine/conversion_settings.h"

namespace engine {

class ConversionObserver;

// Converts inputPath into outputPath. A file becomes the one WAV file
// outputPath (no size limit). A folder is walked depth-first and every plain
// file below it that passes the two size limits becomes a WAV file, named by
// wavFileName, directly in the folder outputPath (made when missing).
//
// Refuses, printing the line and raising RefusalError with the same text:
// the same file or folder for both paths, whatever their spelling ("You
// cannot set the same input and output file for safety reasons"), an input
// that is neither a file nor a folder ("There was an error with your input
// or output arguments."), and a single file of 0 bytes ("Input file is 0
// bytes!"). A file that is not converted, or a folder some of whose files
// are not, raises ConversionError after its line (see convertFile and
// convertFolder). Raises OSError and IOError from the output folder's
// creation and from what ends a batch.
void convertPath(const std::string& inputPath, const std::string& outputPath, std::uint16_t bitDepth,
                 std::uint16_t numberOfChannels, std::int32_t sampleRateHz, double maxFilesSizeMb, double maxFileSizeMb,
                 bool dcFilter);

// The same with the settings in one record; the observer, when given, is
// told how the conversions advance.
void convertPath(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                 ConversionObserver* observer = nullptr);

}  // namespace engine
