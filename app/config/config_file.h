#pragma once
// The configuration file "pelko.config" in the folder of the running
// executable: where it lives, when it is written, and how the settings are
// read from it. Every function that works beside the executable has a twin
// that takes the folder, for callers (and tests) that choose their own.

#include <chrono>
#include <string>
#include <string_view>

#include "app/config/config_table.h"
#include "app/config/settings_table.h"
#include "runtime/errors.h"

namespace app {

inline constexpr std::string_view configFileName = "pelko.config";

// The configuration folder could not be created. "Failed to create
// directory: " and the folder have already been printed on standard output;
// the program's entry point ends the process with exit status 1 on it.
class ConfigFolderError : public runtime::Error {
public:
    explicit ConfigFolderError(const std::string& folder) : Error("Failed to create directory: " + folder) {}
    const char* typeName() const noexcept override { return "ConfigFolderError"; }
};

// The folder that holds the running executable. Raises runtime::OSError.
std::string executableFolder();

// The configuration file's path in the folder, or beside the executable
// when no folder is given (that form raises runtime::OSError when the
// executable's path cannot be found).
std::string configFilePath(const std::string& folder);
std::string configFilePath();

// Makes sure the file exists: creates its folder when missing, and writes the
// content when the file is missing or empty (0 bytes); a file with content is
// never replaced. Raises ConfigFolderError (after printing the line) when the
// folder cannot be created, runtime::IOError "cannot open: " and the path
// when the file cannot be written (a folder of that name, for example),
// runtime::NotAFileError when a pipe, a device or a socket has its name,
// runtime::IOError when writing fails or the file does not appear, and
// runtime::OSError for a failed file-system query.
void ensureConfigFile(std::string_view content, std::string_view fileName);
void ensureConfigFile(std::string_view content, std::string_view fileName, const std::string& folder);

// Waits, checking every 10 ms, until the path exists as a file. Raises
// runtime::IOError when it has not appeared after the limit.
void waitUntilFileExists(const std::string& path, std::chrono::milliseconds limit);

// Refreshes the settings from the configuration file, when it exists and is
// not a folder; otherwise they keep their values. Keys missing, empty or
// malformed in the file keep theirs too. Raises what readConfigFile raises
// (runtime::NotAFileError for a pipe or a device, read without blocking).
void loadSettings(SettingsTable& settings);
void loadSettings(SettingsTable& settings, const std::string& folder);

// The same for a settings file at any path.
void loadSettingsFile(SettingsTable& settings, const std::string& path);

// Stores into the settings what the unnamed section of the table says:
// each key's number; the sample rate from "sample_rate_hz", or from
// "sample_rate" when only that key is present; the DC filter from
// "dc_filter" when it reads "true" or "false"; the encoding from
// "encoding" when it reads "pcm", "ulaw" or "alaw".
void updateSettings(SettingsTable& settings, const ConfigTable& table);

}  // namespace app
