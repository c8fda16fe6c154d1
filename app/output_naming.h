#pragma once
// Where the window's actions and the command line put an input's output:
// beside the input, under its name with the prefix "zz_".

#include <string>

namespace app {

// For a file: its folder joined with "zz_" + wavFileName of its name
// (C:\data\report.pdf gives C:\data\zz_report.wav).
std::string outputPathForFile(const std::string& inputFile);

// For a folder: its parent joined with "zz_" + its own name, trailing
// separators ignored (C:\music\album gives C:\music\zz_album). A folder
// spelt "." or ".." (or ending in them) is named by its real name on disk;
// the root folder, which has none, is refused (engine::RefusalError "There
// was an error with your input or output arguments."). Raises
// runtime::OSError when the folder cannot be resolved.
std::string outputPathForFolder(const std::string& inputFolder);

// For whatever input names: a folder's name for a folder, else a file's
// (an input that names nothing is refused later by the engine).
std::string outputPathBeside(const std::string& input);

}  // namespace app
