#include "app/cli/cli_options.h"

#include "app/config/parse_int.h"
#include "app/config/settings_table.h"

namespace app {

namespace {

// A whole decimal number in the signed 32-bit range, read as the
// configuration file's numbers are.
std::int32_t parseNumber(const std::string& option, const std::string& text) {
    try {
        return parseInt(text);
    } catch (const runtime::ValueError& error) {
        throw UsageError(option + ": " + error.what());
    }
}

// -o PATH (or -oPATH), -h, -V, -q.
void parseShortOption(const std::vector<std::string>& arguments, std::size_t& i, CliOptions& options) {
    const std::string& argument = arguments[i];
    const std::string name = argument.substr(0, 2);
    if (name == "-o") {
        if (argument.size() > 2) {
            options.output = argument.substr(2);
        } else if (i + 1 < arguments.size()) {
            options.output = arguments[++i];
        } else {
            throw UsageError("-o needs a value");
        }
        return;
    }
    if (argument.size() > 2) throw UsageError("unknown option: " + argument);
    if (name == "-h") {
        options.help = true;
    } else if (name == "-V") {
        options.version = true;
    } else if (name == "-q") {
        options.quiet = true;
    } else {
        throw UsageError("unknown option: " + argument);
    }
}

}  // namespace

CliOptions parseCliArguments(const std::vector<std::string>& arguments) {
    CliOptions options;
    const std::pair<const char*, std::optional<std::int32_t> CliOptions::*> numberOptions[] = {
        {"--bit-depth", &CliOptions::bitDepth},     {"--channels", &CliOptions::channels},
        {"--sample-rate", &CliOptions::sampleRate}, {"--max-files-mb", &CliOptions::maxFilesMb},
        {"--max-file-mb", &CliOptions::maxFileMb},
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // "-" alone is an input: standard input.
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            options.inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument[1] != '-') {
            parseShortOption(arguments, i, options);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        // The option's value: after "=", or else the next argument.
        auto value = [&]() -> std::string {
            if (equals != std::string::npos) return argument.substr(equals + 1);
            if (i + 1 >= arguments.size()) throw UsageError(name + " needs a value");
            return arguments[++i];
        };
        auto noValue = [&] {
            if (equals != std::string::npos) throw UsageError(name + " takes no value");
        };
        bool known = false;
        for (const auto& [optionName, field] : numberOptions) {
            if (name == optionName) {
                options.*field = parseNumber(name, value());
                known = true;
            }
        }
        if (known) continue;
        if (name == "--output") {
            options.output = value();
        } else if (name == "--encoding") {
            const std::string text = value();
            options.encoding = encodingNamed(text);
            if (!options.encoding) throw UsageError("--encoding: pcm, ulaw or alaw, not " + text);
        } else if (name == "--config") {
            options.config = value();
        } else if (name == "--no-dc-filter") {
            noValue();
            options.noDcFilter = true;
        } else if (name == "--to-bytes") {
            noValue();
            options.toBytes = true;
        } else if (name == "--quiet") {
            noValue();
            options.quiet = true;
        } else if (name == "--help") {
            noValue();
            options.help = true;
        } else if (name == "--version") {
            noValue();
            options.version = true;
        } else {
            throw UsageError("unknown option: " + name);
        }
    }
    // The way back writes bytes, not WAV files: what shapes a WAV file has
    // nothing to do there.
    if (options.toBytes) {
        const std::pair<bool, const char*> shaping[] = {
            {options.bitDepth.has_value(), "--bit-depth"},     {options.channels.has_value(), "--channels"},
            {options.sampleRate.has_value(), "--sample-rate"}, {options.noDcFilter, "--no-dc-filter"},
            {options.encoding.has_value(), "--encoding"},      {options.maxFilesMb.has_value(), "--max-files-mb"},
            {options.maxFileMb.has_value(), "--max-file-mb"},
        };
        for (const auto& [given, name] : shaping) {
            if (given) throw UsageError(std::string(name) + " shapes WAV files; --to-bytes writes bytes");
        }
    }
    // u-law and A-law codes are bytes: another depth asked for with them is a
    // mistake to point out, not to pass over.
    if (options.encoding && *options.encoding != engine::SampleEncoding::pcm && options.bitDepth &&
        *options.bitDepth != 8) {
        throw UsageError("--encoding ulaw and alaw take 8 bits, not --bit-depth " + std::to_string(*options.bitDepth));
    }
    return options;
}

std::string cliUsageText() {
    return "usage: quenmarl-cli [OPTIONS] INPUT...\n"
           "       quenmarl-cli --to-bytes [-o PATH] INPUT...\n"
           "Converts each INPUT (a file or a folder) into WAV beside it, named zz_...\n"
           "With --to-bytes, writes each WAV INPUT's data, unchanged, beside it as .raw\n"
           "(never replacing a file; a folder's WAV files each beside itself): the file\n"
           "a WAV was made from with --no-dc-filter comes back byte for byte; the DC\n"
           "filter cannot be undone, so a filtered WAV gives its filtered bytes.\n"
           "An INPUT of - is standard input (with --output); --output - writes the WAV\n"
           "to standard output (one file INPUT), and every message to standard error.\n"
           "Settings come from pelko.config beside the program (or the file --config\n"
           "names); options override them.\n"
           "  --bit-depth N      bits per sample (8, 16, 24 or 32 are filtered)\n"
           "  --channels N       channels\n"
           "  --sample-rate N    samples per second\n"
           "  --max-files-mb N   megabytes a folder conversion takes in all\n"
           "  --max-file-mb N    largest file a folder conversion takes, in megabytes\n"
           "  --no-dc-filter     write the bytes unchanged\n"
           "  --encoding E       pcm (the default), or ulaw or alaw: 8-bit G.711 codes,\n"
           "                     the bytes unchanged (the DC filter is for pcm only)\n"
           "  --to-bytes         the way back, WAV to bytes (none of the options above)\n"
           "  -o, --output PATH  where to write (exactly one INPUT)\n"
           "  --config PATH      read the settings from PATH (never written)\n"
           "  -q, --quiet        no Done! lines and no progress\n"
           "  -h, --help         show this text\n"
           "  -V, --version      show the version\n"
           "  --                 every argument after it is an INPUT\n"
           "Exit status: 0 converted, 1 error, 2 usage, 3 some input not converted.";
}

}  // namespace app
