#pragma once

#include <string>

#include "engine/conversion_settings.h"

namespace engine {

class ConversionObserver;

// Makes sure the folder outputPath exists: when nothing can be opened there,
// creates it with every missing parent, outermost first, and tells the
// observer. Raises ConversionError "ERROR: Could not create " + the folder
// + ": " + the reason when one cannot be made (a name on the way that is
// not a folder is "errno: 17 `File exists`").
void ensureOutputFolder(const std::string& outputPath, ConversionObserver* observer = nullptr);

// The folder batch: converts the files below inputPath into the folder
// outputPath. The walker (this thread) opens the files and readies their
// conversions while a writer thread of the batch's own runs them, one at a
// time, in the walk's order; a large file's the writer runs with the pool
// while the walker waits.
//
// Refuses, before anything is created, an output folder that is the input
// folder or lies inside it, however the paths spell them: RefusalError
// "You cannot set the same input and output file for safety reasons". A
// file or folder that cannot be read, and a file that is not converted,
// goes to the observer with its line, and the batch goes on; at the end,
// when there were any, it raises ConversionError with the line "ERROR: "
// + their number + " file(s) ... not converted; the first: " + the first
// one's reason. Files left out (empty, over a size limit, links and other
// special files, never followed) are no failures: the observer is told
// their numbers at the end. Raises what ensureOutputFolder raises, and
// ConversionError when the input folder cannot be opened.
void convertFolder(const std::string& inputPath, const std::string& outputPath, const ConversionSettings& settings,
                   ConversionObserver* observer = nullptr);

}  // namespace engine
