#pragma once
// The lines the programs print about one input: what the engine reports on
// its way (an output folder made, files of a folder not converted or left
// out) and the line of an input not converted. Each line about an input
// that is not converted ends in " - " and the input as given, and every
// line has its control characters escaped, so that one input is always
// one line whatever its name holds.

#include <string>

#include "engine/conversion_observer.h"

namespace app {

class InputLines : public engine::ConversionObserver {
public:
    // quiet: notices (a folder made, files left out) are not printed; lines
    // about what is not converted always are.
    InputLines(std::string input, bool quiet);

    void outputFolderCreated(const std::string& folder) override;
    void fileNotConverted(const std::string& path, const std::string& line) override;
    void folderFinished(const engine::LeftOutFiles& leftOut) override;

    // Prints line + " - " + the input, for the input not converted.
    void inputNotConverted(const std::string& line) const;

    // line + " - " + the input: how a line names the input it is about.
    std::string aboutInput(const std::string& line) const;

protected:
    const std::string& input() const { return input_; }
    bool quiet() const { return quiet_; }

private:
    std::string input_;
    bool quiet_;
};

// Prints a line, its control characters escaped, where the lines go
// (standard output, or standard error when that carries the audio).
void printEscapedLine(const std::string& line);

}  // namespace app
