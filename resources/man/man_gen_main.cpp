// quenmarl-man-gen SETTINGS.roff OUTPUT.1: writes the manual page of
// quenmarl-cli from the program's own --help text, with the description of
// the settings file (SETTINGS.roff) after the options. Run by the build, so
// the page follows the help text whenever the program changes.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "app/cli/cli_options.h"
#include "quenmarl_version.h"
#include "resources/man/man_page.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quenmarl-man-gen SETTINGS.roff OUTPUT.1\n";
        return 2;
    }
    std::ifstream settingsFile(argv[1], std::ios::binary);
    if (!settingsFile.is_open()) {
        std::cerr << "quenmarl-man-gen: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string settings((std::istreambuf_iterator<char>(settingsFile)), std::istreambuf_iterator<char>());
    try {
        const std::string page = resources::cliManPage(
            app::cliUsageText(),
            {QUENMARL_VERSION_TEXT, "turn any file's bytes into WAV files", QUENMARL_LICENSE, settings});
        // Written beside the target and renamed over it, so a failed run
        // never leaves a half page that the build would take as up to date.
        const std::filesystem::path target = argv[2];
        std::filesystem::path partial = target;
        partial += ".partial";
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << page;
        out.close();
        if (!out) {
            std::cerr << "quenmarl-man-gen: cannot write " << partial.string() << "\n";
            return 1;
        }
        std::filesystem::rename(partial, target);
    } catch (const std::filesystem::filesystem_error& error) {
        std::cerr << "quenmarl-man-gen: " << error.what() << "\n";
        return 1;
    } catch (const std::invalid_argument& error) {
        std::cerr << "quenmarl-man-gen: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
