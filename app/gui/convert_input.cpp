#include "app/gui/convert_input.h"

#include "app/config/config_file.h"
#include "app/output_naming.h"
#include "engine/convert_path.h"
#include "engine/errors.h"
#include "runtime/fs.h"

namespace app {

std::optional<std::string> outputPathForDropped(const std::string& path) {
    switch (runtime::pathKind(path)) {
        case runtime::PathKind::file:
            return outputPathForFile(path);
        case runtime::PathKind::folder:
            return outputPathForFolder(path);
        case runtime::PathKind::none:
            break;
    }
    return std::nullopt;
}

std::string convertInput(const std::string& input, const std::string& output, SettingsTable& settingsTable,
                         const ConfigFolder& configFolder) {
    // Read before every item, so edits to the file count at once.
    if (configFolder)
        loadSettings(settingsTable, *configFolder);
    else
        loadSettings(settingsTable);
    try {
        engine::convertPath(input, output, makeConversionSettings(settingsTable));
    } catch (const engine::InputError& notConverted) {
        return std::string(notConverted.what()) + " - " + input;
    }
    return "Done! - " + output;
}

std::string statusLine(const std::string& message, const std::string& timeOfDay) {
    return " " + message + " - " + timeOfDay;
}

}  // namespace app
