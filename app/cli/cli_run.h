#pragma once

#include <string>
#include <vector>

namespace app {

// Exit statuses of quenmarl-cli.
enum CliStatus : int {
    cliConverted = 0,     // every input converted
    cliFailed = 1,        // an error ended the run
    cliUsage = 2,         // the command line was wrong
    cliNotConverted = 3,  // one or more inputs not converted, the others converted
};

// Runs quenmarl-cli on the arguments after the program name and returns its
// exit status. Prints the engine's lines and "Done! - ..." on standard
// output, errors and usage on standard error.
int runCli(const std::vector<std::string>& arguments);

}  // namespace app
