#include "app/cli/cli_run.h"

#include <exception>

#include "app/cli/cli_options.h"
#include "app/config/config_file.h"
#include "app/config/settings_table.h"
#include "app/output_naming.h"
#include "engine/convert_path.h"
#include "engine/errors.h"
#include "quenmarl_version.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/errors.h"
#include "runtime/fs.h"

namespace app {

namespace {

constexpr const char* versionText = "quenmarl-cli " QUENMARL_VERSION_TEXT "\nLicense: " QUENMARL_LICENSE;

int usageFailure(const std::string& message) {
    runtime::printErrorLine("quenmarl-cli: " + message);
    runtime::printErrorLine(cliUsageText());
    return cliUsage;
}

// The configuration file's settings with the command line's on top.
engine::ConversionSettings settingsFor(const CliOptions& options, const SettingsTable& settingsTable) {
    engine::ConversionSettings settings = makeConversionSettings(settingsTable);
    if (options.bitDepth) settings.bitDepth = static_cast<std::uint16_t>(*options.bitDepth);
    if (options.channels) settings.numberOfChannels = static_cast<std::uint16_t>(*options.channels);
    if (options.sampleRate) settings.sampleRateHz = *options.sampleRate;
    if (options.maxFilesMb) settings.maxFilesSizeMb = *options.maxFilesMb;
    if (options.maxFileMb) settings.maxFileSizeMb = *options.maxFileMb;
    if (options.noDcFilter) settings.dcFilter = false;
    return settings;
}

std::string outputPathFor(const CliOptions& options, const std::string& input) {
    if (options.output) return *options.output;
    // An input that names nothing is named like a file; the engine refuses it.
    return runtime::pathKind(input) == runtime::PathKind::folder ? outputPathForFolder(input)
                                                                 : outputPathForFile(input);
}

int convertAll(const CliOptions& options) {
    SettingsTable settingsTable;
    try {
        ensureConfigFile(defaultConfigText, configFileName);
    } catch (const ConfigFolderError&) {
        return cliFailed;  // its line is already printed
    }
    bool anyRefused = false;
    for (const std::string& input : options.inputs) {
        const std::string output = outputPathFor(options, input);
        // Read again for every input, as the window does for every item.
        loadSettings(settingsTable);
        try {
            engine::convertPath(input, output, settingsFor(options, settingsTable));
        } catch (const engine::RefusalError&) {
            anyRefused = true;  // the engine printed why; the other inputs still go
            continue;
        }
        runtime::printLine("Done! - " + output + " - " + runtime::timeOfDayText());
    }
    return anyRefused ? cliRefused : cliConverted;
}

}  // namespace

int runCli(const std::vector<std::string>& arguments) {
    CliOptions options;
    try {
        options = parseCliArguments(arguments);
    } catch (const UsageError& error) {
        return usageFailure(error.what());
    }
    if (options.help) {
        runtime::printLine(cliUsageText());
        return cliConverted;
    }
    if (options.version) {
        runtime::printLine(versionText);
        return cliConverted;
    }
    if (options.inputs.empty()) return usageFailure("no INPUT given");
    if (options.output && options.inputs.size() != 1) return usageFailure("--output takes exactly one INPUT");
    try {
        return convertAll(options);
    } catch (const std::exception& error) {
        runtime::printErrorLine(runtime::unhandledErrorText(error));
        return cliFailed;
    }
}

}  // namespace app
