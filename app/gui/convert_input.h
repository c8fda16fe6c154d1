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

// How an action names an input's output (see output_naming.h).
using OutputNamer = std::string (*)(const std::string& input);

// Reads the settings from the configuration file, then converts input into
// output. Returns the message for the status line: "Done! - " and the
// output, or, when the input is refused (the same file twice, nothing there,
// an empty file), not converted (or some files of a folder) or meets a
// system error of its own (an output folder that cannot be made, say), its
// line, " - " and the input: such an input ends only this item, never the
// program. Raises what loadSettings raises.
std::string convertInput(const std::string& input, const std::string& output, SettingsTable& settingsTable,
                         const ConfigFolder& configFolder);

// The same into the output that outputFor names for input; an input it
// cannot name (the root folder, which has no name) ends this item only.
std::string convertInput(const std::string& input, OutputNamer outputFor, SettingsTable& settingsTable,
                         const ConfigFolder& configFolder);

// The status line for a message: a blank, the message, " - " and the time of
// day (HH:MM:SS).
std::string statusLine(const std::string& message, const std::string& timeOfDay);

}  // namespace app
