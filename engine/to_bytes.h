#pragma once
// The way back: a WAV file's data chunk, its bytes unchanged, as a file of
// its own. Run after a conversion without the filter, it gives back the
// file the WAV was made from, byte for byte; the filter cannot be undone.

#include <memory>
#include <optional>
#include <string>

#include "runtime/output_file.h"

namespace runtime {
class InputFile;
}  // namespace runtime

namespace engine {

class ConversionObserver;

// The name of the bytes taken back from a WAV file of the given name: its
// last extension replaced by "raw" ("zz_cat.wav" gives "zz_cat.raw"), ".raw"
// added to a name without one.
std::string rawFileName(const std::string& wavName);

// Where the bytes taken back go.
struct BytesOutput {
    std::optional<std::string> path;  // none: standard output
    runtime::OutputNaming naming = runtime::OutputNaming::fresh;
};

// Writes the data chunk's bytes of the WAV file input, which the lines call
// inputPath, to output. A data chunk shorter than it says has the bytes it
// holds written all the same. Raises, with its line: RefusalError "You
// cannot set the same input and output file for safety reasons";
// ConversionError "ERROR: Not a WAV file to take back: " + the reason,
// "ERROR: Could not create " + the output + ": " + the reason (for a fresh
// name, "errno: 17 `File exists`" when the name is taken), "ERROR: Could
// not write ...", "ERROR: Input changed during conversion: " + inputPath,
// and "ERROR: N bytes of the data chunk are missing; the M there were
// written" after writing what is there.
void takeBackBytes(std::unique_ptr<runtime::InputFile> input, const std::string& inputPath, const BytesOutput& output,
                   ConversionObserver* observer);

// The same for the file or folder at inputPath: a file's bytes go to
// output (its path, or beside the file under rawFileName, never replacing
// anything); a folder's WAV files each to a fresh file beside it (walked
// like a folder conversion; the files that are no WAV files are left out
// and counted, the size limits do not apply). Raises what checkInput
// raises, and ConversionError "ERROR: N file(s) ... not taken back; the
// first: " + the first one's reason for a folder some of whose WAV files
// were not.
void takeBackPath(const std::string& inputPath, const std::optional<BytesOutput>& output, ConversionObserver* observer);

}  // namespace engine
