#pragma once
// Runs a program of this build as a separate process and collects what it
// wrote and how it ended.

#include <string>
#include <vector>

namespace testsupport {

struct ProcessResult {
    int exitCode = -1;
    std::string out;  // standard output, line breaks as "\n"
    std::string err;  // standard error, line breaks as "\n"
};

// Runs program with the arguments in workingFolder (UTF-8 paths) and waits
// for it to end. standardOutputFile, when given, receives its standard
// output instead (out is then empty).
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingFolder, const std::string& standardOutputFile = {});

// A path of the build machine as the test process sees it (under Wine a
// Linux path becomes a Z: drive path).
std::string hostPath(const std::string& buildPath);

}  // namespace testsupport
