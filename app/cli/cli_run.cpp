#include "app/cli/cli_run.h"

#include <exception>
#include <optional>

#include "app/cli/cli_options.h"
#include "app/cli/progress_line.h"
#include "app/cli/standard_input.h"
#include "app/config/config_file.h"
#include "app/config/settings_table.h"
#include "app/output_naming.h"
#include "engine/convert_path.h"
#include "engine/errors.h"
#include "engine/file_conversion.h"
#include "engine/input_failures.h"
#include "quenmarl_version.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/input_file.h"
#include "runtime/standard_streams.h"

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
    // (Standard input always has --output.)
    return runtime::pathKind(input) == runtime::PathKind::folder ? outputPathForFolder(input)
                                                                 : outputPathForFile(input);
}

// Where the settings come from: the file --config names, which must exist
// and is never written; else pelko.config beside the program, written with
// the defaults when missing. A program installed where it may not write, or
// a file it may not read, still converts, with the defaults.
class SettingsSource {
public:
    explicit SettingsSource(const CliOptions& options) {
        if (options.config) {
            if (runtime::pathKind(*options.config) != runtime::PathKind::file) {
                throw runtime::IOError("cannot read the settings file: " + *options.config);
            }
            path_ = *options.config;
            explicit_ = true;
            return;
        }
        try {
            ensureConfigFile(defaultConfigText, configFileName);
            path_ = configFilePath();
        } catch (const runtime::Error& error) {
            useDefaults(error);
        }
    }

    // Reads the file again, as the window does before every item.
    void load(SettingsTable& settingsTable) {
        if (!path_) return;
        try {
            loadSettingsFile(settingsTable, *path_);
        } catch (const runtime::IOError& error) {
            if (explicit_) throw;
            useDefaults(error);
        }
    }

private:
    void useDefaults(const std::exception& error) {
        path_.reset();
        runtime::printErrorLine(std::string("quenmarl-cli: ") + error.what() +
                                "; converting with the default settings");
    }

    std::optional<std::string> path_;
    bool explicit_ = false;
};

constexpr const char* standardStream = "-";

// The file at input, or standard input saved whole first, converted into
// output or standard output.
void convertFileOrStream(const std::string& input, const std::string& output,
                         const engine::ConversionSettings& settings, engine::ConversionObserver& observer) {
    std::optional<StandardInputCopy> copy;
    if (input == standardStream) copy.emplace();
    std::unique_ptr<runtime::InputFile> file = engine::openInputFile(copy ? copy->path() : input);
    if (output == standardStream) {
        engine::FileConversion(std::move(file), input, engine::FileConversion::ToStandardOutput{}, settings)
            .run(&observer);
    } else {
        engine::FileConversion(std::move(file), input, output, settings).run(&observer);
    }
}

void convertOne(const std::string& input, const std::string& output, const engine::ConversionSettings& settings,
                engine::ConversionObserver& observer) {
    if (input != standardStream && output != standardStream) {
        return engine::convertPath(input, output, settings, &observer);
    }
    if (input != standardStream) {
        // Refused as the engine refuses them for a file output.
        if (runtime::pathKind(input) == runtime::PathKind::none) {
            engine::refuse("There was an error with your input or output arguments.");
        }
        if (runtime::directoryEntrySize(input) == 0) engine::refuse("Input file is 0 bytes!");
    }
    engine::printingFailures([&] { convertFileOrStream(input, output, settings, observer); });
}

int convertAll(const CliOptions& options) {
    SettingsSource source(options);
    SettingsTable settingsTable;
    const bool showProgress = !options.quiet && runtime::standardErrorIsTerminal();
    bool anyNotConverted = false;
    for (const std::string& input : options.inputs) {
        const std::string output = outputPathFor(options, input);
        source.load(settingsTable);
        ProgressLine progress(showProgress, runtime::pathKind(input) == runtime::PathKind::folder);
        try {
            convertOne(input, output, settingsFor(options, settingsTable), progress);
        } catch (const engine::InputError&) {
            anyNotConverted = true;  // the engine printed why; the other inputs still go
            continue;
        }
        progress.finish();
        if (!options.quiet) {
            const std::string written = output == standardStream ? "standard output" : output;
            runtime::printLine("Done! - " + written + " - " + runtime::timeOfDayText());
        }
    }
    return anyNotConverted ? cliNotConverted : cliConverted;
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
    if (!options.output && options.inputs[0] == standardStream) return usageFailure("INPUT - needs --output");
    if (options.output == standardStream) {
        if (runtime::pathKind(options.inputs[0]) == runtime::PathKind::folder) {
            return usageFailure("--output - takes a file INPUT");
        }
        // Standard output carries the audio: every line goes elsewhere.
        runtime::printLinesToStandardError();
    }
    try {
        return convertAll(options);
    } catch (const std::exception& error) {
        runtime::printErrorLine(runtime::unhandledErrorText(error));
        return cliFailed;
    }
}

}  // namespace app
