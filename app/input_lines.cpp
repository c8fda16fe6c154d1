#include "app/input_lines.h"

#include "runtime/console.h"
#include "runtime/text.h"

namespace app {

namespace {

void addCount(std::string& text, std::uint64_t count, const char* what) {
    if (count == 0) return;
    if (text.back() != ':') text += ",";
    text += " " + std::to_string(count) + " " + what;
}

}  // namespace

void printEscapedLine(const std::string& line) { runtime::printLine(runtime::escapeControlCharacters(line)); }

InputLines::InputLines(std::string input, bool quiet) : input_(std::move(input)), quiet_(quiet) {}

void InputLines::outputFolderCreated(const std::string& folder) {
    if (!quiet_) printEscapedLine(folder + " did not exist and was created for you.");
}

void InputLines::fileNotConverted(const std::string&, const std::string& line) { inputNotConverted(line); }

void InputLines::folderFinished(const engine::LeftOutFiles& leftOut) {
    if (quiet_ || leftOut.total() == 0) return;
    std::string text = input_ + ": " + std::to_string(leftOut.total()) +
                       (leftOut.total() == 1 ? " file left out:" : " files left out:");
    addCount(text, leftOut.empty, "empty");
    addCount(text, leftOut.overLimit, "over a size limit");
    addCount(text, leftOut.special, "links or special files");
    addCount(text, leftOut.notWav, "not WAV");
    runtime::printErrorLine(runtime::escapeControlCharacters(text));
}

void InputLines::inputNotConverted(const std::string& line) const { printEscapedLine(aboutInput(line)); }

std::string InputLines::aboutInput(const std::string& line) const { return line + " - " + input_; }

}  // namespace app
