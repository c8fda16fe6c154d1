#include "app/gui/convert_input.h"

#include "app/config/config_file.h"
#include "app/input_lines.h"
#include "engine/convert_path.h"
#include "engine/errors.h"
#include "runtime/errors.h"
#include "runtime/text.h"

namespace app {

namespace {

// Runs body, which converts input; the message of an input that ends this
// item only, or nothing when body went through.
template <class Body>
std::optional<std::string> notConvertedMessage(InputLines& lines, Body body) {
    std::string line;
    try {
        body();
        return std::nullopt;
    } catch (const engine::InputError& notConverted) {
        line = notConverted.what();
    } catch (const runtime::OSError& error) {
        // A system error of this one input (its name cannot be resolved,
        // say) ends this item only.
        line = std::string("ERROR: ") + error.what();
    }
    lines.inputNotConverted(line);
    return runtime::escapeControlCharacters(lines.aboutInput(line));
}

}  // namespace

std::string convertInput(const std::string& input, const std::string& output, SettingsTable& settingsTable,
                         const ConfigFolder& configFolder) {
    // Read before every item, so edits to the file count at once.
    if (configFolder)
        loadSettings(settingsTable, *configFolder);
    else
        loadSettings(settingsTable);
    // The engine's lines go to standard output, as they always have.
    InputLines lines(input, false);
    if (auto message = notConvertedMessage(lines, [&] {
            engine::convertPath(input, output, makeConversionSettings(settingsTable), &lines,
                                runtime::OutputNaming::own);
        })) {
        return *message;
    }
    return runtime::escapeControlCharacters("Done! - " + output);
}

std::string convertInput(const std::string& input, OutputNamer outputFor, SettingsTable& settingsTable,
                         const ConfigFolder& configFolder) {
    std::string output;
    InputLines lines(input, false);
    if (auto message = notConvertedMessage(lines, [&] { output = outputFor(input); })) return *message;
    return convertInput(input, output, settingsTable, configFolder);
}

std::string statusLine(const std::string& message, const std::string& timeOfDay) {
    return " " + message + " - " + timeOfDay;
}

}  // namespace app
