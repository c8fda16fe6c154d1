#include "app/cli/cli_options.h"

#include "app/config/parse_int.h"

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
        if (optionsEnded || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
            options.inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
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
        } else if (name == "--config") {
            options.config = value();
        } else if (name == "--no-dc-filter") {
            noValue();
            options.noDcFilter = true;
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
    return options;
}

std::string cliUsageText() {
    return "usage: quenmarl-cli [OPTIONS] INPUT...\n"
           "Converts each INPUT (a file or a folder) into WAV beside it, named zz_...\n"
           "Settings come from pelko.config beside the program (or the file --config\n"
           "names); options override them.\n"
           "  --bit-depth N      bits per sample (8, 16, 24 or 32 are filtered)\n"
           "  --channels N       channels\n"
           "  --sample-rate N    samples per second\n"
           "  --max-files-mb N   megabytes a folder conversion takes in all\n"
           "  --max-file-mb N    largest file a folder conversion takes, in megabytes\n"
           "  --no-dc-filter     write the bytes unchanged\n"
           "  --output PATH      where to write (exactly one INPUT)\n"
           "  --config PATH      read the settings from PATH (never written)\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "Exit status: 0 converted, 1 error, 2 usage, 3 some input not converted.";
}

}  // namespace app
