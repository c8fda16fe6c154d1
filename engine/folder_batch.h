#pragma once

#include <functional>
#include <string>

#include "engine/conversion_settings.h"

namespace engine {

// Makes sure the folder outputPath exists: when nothing can be opened there,
// creates it with every missing parent, outermost first, and prints
// outputPath + " did not exist and was created for you.". Raises IOError
// ("Failed to create '" + path + "'") when a name on the way is not a
// folder, OSError when a creation fails otherwise.
void ensureOutputFolder(const std::string& outputPath);

// Converts one selected file of a batch; convertFile unless a test puts
// another in its place.
using FileConverter =
    std::function<void(const std::string& inputFile, const std::string& outputFile, const ConversionSettings&)>;

// The folder batch: converts the files below inputPath into the folder
// outputPath, each on a pool worker while this thread waits for it. The
// first error a conversion raises ends the batch and is raised here.
void convertFolder(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                   const FileConverter& convert = {});

}  // namespace engine
