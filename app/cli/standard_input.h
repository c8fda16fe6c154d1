#pragma once
// Standard input as an input to convert. The header needs the size before
// the data, so all of it is read first, into a scratch file that no ending
// of the process leaves behind.

#include <cstdint>
#include <memory>

namespace runtime {
class InputFile;
}  // namespace runtime

namespace app {

// Reads standard input to its end (at most limit bytes) into a scratch file
// and returns it as the input, which the lines call "-". When standard input is a plain file, the
// input takes that file's identity and permissions: an output that would
// replace it is refused as the same file. An empty one is refused like an
// empty file (engine::RefusalError "Input file is 0 bytes!"); one larger
// than a WAV file can hold, or one that cannot be saved, raises
// engine::ConversionError. Prints nothing.
std::unique_ptr<runtime::InputFile> readStandardInputWhole(std::uint64_t limit);

}  // namespace app
