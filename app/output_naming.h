#pragma once
// Where the window's actions and the command line put an input's output:
// beside the input, under its name with the prefix "zz_".

#include <string>

namespace app {

// For a file: its folder joined with "zz_" + wavFileName of its name
// (C:\data\report.pdf gives C:\data\zz_report.wav).
std::string outputPathForFile(const std::string& inputFile);

// For a folder: its parent joined with "zz_" + its own name, trailing
// separators ignored (C:\music\album gives C:\music\zz_album).
std::string outputPathForFolder(const std::string& inputFolder);

}  // namespace app
