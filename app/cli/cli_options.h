#pragma once
// The command line of quenmarl-cli:
//   quenmarl-cli [OPTIONS] INPUT...

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/conversion_settings.h"
#include "runtime/errors.h"

namespace app {

// A command line that cannot be run: unknown option, malformed number,
// missing value or input.
class UsageError : public runtime::Error {
public:
    using Error::Error;
    const char* typeName() const noexcept override { return "UsageError"; }
};

// What the command line asks for. Numbers given override the configuration
// file's values for this run only; they are read like the file's numbers.
struct CliOptions {
    std::optional<std::int32_t> bitDepth;
    std::optional<std::int32_t> channels;
    std::optional<std::int32_t> sampleRate;
    std::optional<std::int32_t> maxFilesMb;
    std::optional<std::int32_t> maxFileMb;
    bool noDcFilter = false;
    bool toBytes = false;  // the way back: WAV files to their data's bytes
    std::optional<engine::SampleEncoding> encoding;
    std::optional<std::string> output;
    std::optional<std::string> config;
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> inputs;
};

// Parses the arguments after the program name. Long options take their
// value as the next argument or after "=", -o as the next argument or
// attached; "--" ends the options; "-" is an input. Raises UsageError.
CliOptions parseCliArguments(const std::vector<std::string>& arguments);

// The short usage text shown by --help and after a usage error.
std::string cliUsageText();

}  // namespace app
