#pragma once

#include <string>

#include "engine/conversion_settings.h"

namespace engine {

class ConversionObserver;

// Makes sure the folder outputPath exists: when nothing can be opened there,
// creates it with every missing parent, outermost first, and prints
// outputPath + " did not exist and was created for you.". Raises IOError
// ("Failed to create '" + path + "'") when a name on the way is not a
// folder, OSError when a creation fails otherwise.
void ensureOutputFolder(const std::string& outputPath);

// The folder batch: converts the files below inputPath into the folder
// outputPath, each on a pool worker while this thread waits for it.
//
// Refuses, before anything is created, an output folder that is the input
// folder or lies inside it, however the paths spell them: RefusalError
// "You cannot set the same input and output file for safety reasons". A
// file or folder that cannot be read, and a file that is not converted,
// has its line printed and counted, and the batch goes on; at the end,
// when any were counted, it raises ConversionError with the line "ERROR: "
// + their number + " file(s) ... not converted; the first: " + the first
// one's reason. Files left out by the size limits are not counted. Raises
// what ensureOutputFolder raises, and any other error of a conversion,
// which ends the batch.
void convertFolder(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                   ConversionObserver* observer = nullptr);

}  // namespace engine
