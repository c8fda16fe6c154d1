#pragma once
// One conversion started from the window: the output named beside the
// input, the settings read again, the engine run, and the message the status
// line shows afterwards.

#include <optional>
#include <string>

#include "app/config/settings_table.h"

namespace app {

// Where the actions read the configuration file: beside the executable when
// no folder is given.
using ConfigFolder = std::optional<std::string>;

// The output beside a dropped path: "zz_" + the changed name for a file,
// "zz_" + the folder's own name for a folder, nothing when the path names
// neither (the item is skipped). Raises OSError from the file-system query.
std::optional<std::string> outputPathForDropped(const std::string& path);

// Reads the settings from the configuration file, then converts input into
// output with them. Returns the message for the status line: "Done! - " and
// the output, or, when the engine refuses the input (the same file twice,
// nothing there, an empty file) or does not convert it (or some files of a
// folder), the engine's line, " - " and the input: such an input ends only
// this item, never the program. Raises what loadSettings and the engine
// raise otherwise.
std::string convertInput(const std::string& input, const std::string& output, SettingsTable& settingsTable,
                         const ConfigFolder& configFolder);

// The status line for a message: a blank, the message, " - " and the time of
// day (HH:MM:SS).
std::string statusLine(const std::string& message, const std::string& timeOfDay);

}  // namespace app
