// quenmarl-cli: the conversion engine without the window.
#include <string>
#include <vector>

#include "app/cli/cli_run.h"
#include "runtime/output_file.h"
#include "runtime/stop_cleanup.h"

#ifdef _WIN32
#include "runtime/text.h"

int wmain(int argc, wchar_t** argv) {
    runtime::removeTemporaryFilesWhenStopped();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(runtime::narrow(argv[i]));
    return app::runCli(arguments);
}
#else
int main(int argc, char** argv) {
    // First, before any thread starts: reading the creation mask sets it for
    // a moment, and the threads inherit the signals blocked.
    runtime::OutputFile::readCreationMask();
    runtime::removeTemporaryFilesWhenStopped();
    return app::runCli(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
