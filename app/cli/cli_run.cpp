#include "app/cli/cli_run.h"

#include <exception>
#include <optional>

#include "app/cli/cli_options.h"
#include "app/cli/progress_line.h"
#include "app/cli/standard_input.h"
#include "app/config/config_file.h"
#include "app/config/settings_table.h"
#include "app/input_lines.h"
#include "app/output_naming.h"
#include "engine/convert_path.h"
#include "engine/errors.h"
#include "engine/file_conversion.h"
#include "engine/to_bytes.h"
#include "engine/wav_header.h"
#include "quenmarl_version.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/input_file.h"
#include "runtime/output_file.h"
#include "runtime/paths.h"
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
    if (options.encoding) settings.encoding = *options.encoding;
    // u-law and A-law codes are 8 bits whatever depth was asked for.
    if (settings.encoding != engine::SampleEncoding::pcm) settings.bitDepth = 8;
    return settings;
}

// A bit depth that u-law or A-law takes as 8 (the settings file's, or one
// given with the file's encoding), said once a run.
void noteEncodingDepth(const CliOptions& options, const SettingsTable& settingsTable, bool& said) {
    const engine::SampleEncoding encoding = options.encoding.value_or(settingsTable.encoding());
    const std::int32_t depth = options.bitDepth.value_or(settingsTable.value(bitDepthKey));
    if (said || encoding == engine::SampleEncoding::pcm || depth == 8) return;
    said = true;
    runtime::printErrorLine("quenmarl-cli: bit depth " + std::to_string(depth) + " is taken as 8 for " +
                            (encoding == engine::SampleEncoding::ulaw ? "ulaw" : "alaw"));
}

// Where the settings come from: the file --config names, which must exist
// and is never written; else pelko.config beside the program, written with
// the defaults when missing. A program installed where it may not write, a
// file it may not read, or something that is no file at all (a pipe, a
// device, a folder) still converts, with the defaults.
class SettingsSource {
public:
    explicit SettingsSource(const CliOptions& options) {
        if (options.config) {
            switch (runtime::pathKind(*options.config)) {
                case runtime::PathKind::none:
                    throw runtime::IOError("cannot read the settings file: " + *options.config);
                case runtime::PathKind::file:
                    path_ = *options.config;
                    break;
                case runtime::PathKind::folder:
                case runtime::PathKind::special:
                    useDefaults(runtime::NotAFileError(*options.config));
                    break;
            }
            return;
        }
        try {
            path_ = besideProgramOrUsers();
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
            useDefaults(error);
        }
    }

private:
    // pelko.config beside the program first (a program unpacked anywhere);
    // when there is none and that folder may not be written (a program
    // installed for all users), the user's own, made with the defaults as
    // beside the program. Raises what ensureConfigFile raises beside the
    // program.
    static std::string besideProgramOrUsers() {
        const std::string beside = configFilePath();
        const std::optional<std::string> users = runtime::userConfigFolder("Quenmarl");
        try {
            ensureConfigFile(defaultConfigText, configFileName);
            return beside;
        } catch (const runtime::Error&) {
            if (runtime::pathKind(beside) != runtime::PathKind::none || !users) throw;
        }
        ensureConfigFile(defaultConfigText, configFileName, *users);
        return configFilePath(*users);
    }

    void useDefaults(const std::exception& error) {
        path_.reset();
        runtime::printErrorLine(std::string("quenmarl-cli: ") + error.what() +
                                "; converting with the default settings");
    }

    std::optional<std::string> path_;
};

constexpr const char* standardStream = "-";

// What quenmarl-cli shows of one input: its lines, and on a terminal the
// progress of a long conversion.
class InputReport : public InputLines {
public:
    InputReport(const std::string& input, bool quiet, bool progressShown)
        : InputLines(input, quiet), progress_(progressShown, runtime::pathKind(input) == runtime::PathKind::folder) {}

    void fileStarted(std::uint64_t size) override { progress_.fileStarted(size); }
    void dataWritten(std::uint64_t count) override { progress_.dataWritten(count); }
    void finish() { progress_.finish(); }

private:
    ProgressLine progress_;
};

// The file at input, or standard input saved whole first, converted into
// output or standard output.
void convertStreams(const std::string& input, const std::string& output, const engine::ConversionSettings& settings,
                    engine::ConversionObserver& observer) {
    std::unique_ptr<runtime::InputFile> file;
    if (input == standardStream) {
        // Read no further than a WAV header can count.
        file = readStandardInputWhole(engine::maxWavDataSize);
    } else {
        engine::checkInput(input);
        file = engine::openInputFile(input);
    }
    if (output == standardStream) {
        engine::FileConversion(std::move(file), input, engine::FileConversion::ToStandardOutput{}, settings)
            .run(&observer);
    } else {
        engine::FileConversion(std::move(file), input, output, runtime::OutputNaming::given, settings).run(&observer);
    }
}

// Takes one WAV INPUT back to its data's bytes; returns where they went.
std::string takeBackOne(const CliOptions& options, const std::string& input, engine::ConversionObserver& observer) {
    std::optional<engine::BytesOutput> output;
    if (options.output == standardStream) {
        output = engine::BytesOutput{std::nullopt, runtime::OutputNaming::given};
    } else if (options.output) {
        output = engine::BytesOutput{*options.output, runtime::OutputNaming::given};
    }
    if (input == standardStream) {
        // The WAV file may be RF64, larger than a plain one's header counts.
        engine::takeBackBytes(readStandardInputWhole(UINT64_MAX), input, *output, &observer);
    } else {
        engine::takeBackPath(input, output, &observer);
    }
    if (output) return output->path.value_or("standard output");
    if (runtime::pathKind(input) == runtime::PathKind::folder) return input;
    return runtime::joinPath(runtime::folderPart(input), engine::rawFileName(runtime::lastComponent(input)));
}

// Converts one INPUT; returns the output it wrote to.
std::string convertOne(const CliOptions& options, const std::string& input, const engine::ConversionSettings& settings,
                       engine::ConversionObserver& observer) {
    if (options.toBytes) return takeBackOne(options, input, observer);
    const std::string output = options.output ? *options.output : outputPathBeside(input);
    if (input == standardStream || output == standardStream) {
        convertStreams(input, output, settings, observer);
    } else {
        engine::convertPath(input, output, settings, &observer,
                            options.output ? runtime::OutputNaming::given : runtime::OutputNaming::own);
    }
    return output == standardStream ? "standard output" : output;
}

int convertAll(const CliOptions& options) {
    SettingsSource source(options);
    SettingsTable settingsTable;
    const bool showProgress = !options.quiet && runtime::standardErrorIsTerminal();
    bool anyNotConverted = false;
    bool depthNoted = false;
    for (const std::string& input : options.inputs) {
        source.load(settingsTable);
        noteEncodingDepth(options, settingsTable, depthNoted);
        InputReport report(input, options.quiet, showProgress);
        std::string written;
        try {
            written = convertOne(options, input, settingsFor(options, settingsTable), report);
        } catch (const engine::InputError& error) {
            report.finish();
            report.inputNotConverted(error.what());
            anyNotConverted = true;  // the other inputs still go
            continue;
        } catch (const runtime::OSError& error) {
            // What the engine does not foresee still belongs to this input.
            report.finish();
            report.inputNotConverted(std::string("ERROR: ") + error.what());
            anyNotConverted = true;
            continue;
        }
        report.finish();
        if (!options.quiet) printEscapedLine("Done! - " + written + " - " + runtime::timeOfDayText());
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
    if (options.toBytes && options.output && runtime::pathKind(options.inputs[0]) == runtime::PathKind::folder) {
        return usageFailure("--to-bytes --output takes a WAV file INPUT; a folder's go beside each");
    }
    if (options.output == standardStream) {
        if (runtime::pathKind(options.inputs[0]) == runtime::PathKind::folder) {
            return usageFailure("--output - takes a file INPUT");
        }
        // Standard output carries the audio: every line goes elsewhere.
        runtime::printLinesToStandardError();
    } else if (options.output && runtime::outputIsWrittenInPlace(*options.output)) {
        // So may a device or a pipe it is written to in place.
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
