// quenmarl-cli: the conversion engine without the window.
#include <string>
#include <vector>

#include "app/cli/cli_run.h"

#ifdef _WIN32
#include "runtime/text.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(runtime::narrow(argv[i]));
    return app::runCli(arguments);
}
#else
int main(int argc, char** argv) { return app::runCli(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
