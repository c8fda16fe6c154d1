#pragma once
// The engine's entry: one file or a whole folder into WAV files.

#include <cstdint>
#include <string>

#include "engine/conversion_settings.h"
#include "runtime/fs.h"
#include "runtime/output_file.h"

namespace engine {

class ConversionObserver;

// Converts inputPath into outputPath. A file becomes the one WAV file
// outputPath (no size limit). A folder is walked depth-first and every plain
// file below it that passes the two size limits becomes a WAV file, named by
// wavFileName, directly in the folder outputPath (made when missing).
//
// Refuses, raising RefusalError with its line: the same file or folder for
// both paths, whatever their spelling ("You cannot set the same input and
// output file for safety reasons"), and what checkInput refuses. A file
// that is not converted, or a folder some of whose files are not, raises
// ConversionError with its line (see convertFile and convertFolder).
// Prints nothing.
void convertPath(const std::string& inputPath, const std::string& outputPath, std::uint16_t bitDepth,
                 std::uint16_t numberOfChannels, std::int32_t sampleRateHz, double maxFilesSizeMb, double maxFileSizeMb,
                 bool dcFilter);

// The same with the settings in one record; the observer, when given, is
// told how the conversions advance and what a folder's walk meets. naming:
// who named a single file's output (see runtime::OutputNaming): a name the
// caller was given is followed through links, devices and pipes; one the
// program made ("zz_...") never is.
void convertPath(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                 ConversionObserver* observer = nullptr, runtime::OutputNaming naming = runtime::OutputNaming::given);

// What inputPath names, a file or a folder, when it may be converted.
// Raises RefusalError "There was an error with your input or output
// arguments." when it names nothing, "ERROR: Input is not a regular file"
// for a pipe, a device or a socket, "Input file is 0 bytes!" for an empty
// file.
runtime::PathKind checkInput(const std::string& inputPath);

}  // namespace engine
