#pragma once
// Standard input as an input to convert. The header needs the size before
// the data, so all of it is read first, into a temporary file.

#include <string>

#include "runtime/stop_cleanup.h"

namespace app {

class StandardInputCopy {
public:
    // Reads standard input to its end into a temporary file. An empty one
    // is refused like an empty file (engine::RefusalError "Input file is 0
    // bytes!"); one larger than a WAV file can hold, or one that cannot be
    // saved, raises engine::ConversionError. Prints nothing.
    StandardInputCopy();
    // Removes the temporary file.
    ~StandardInputCopy();
    StandardInputCopy(const StandardInputCopy&) = delete;
    StandardInputCopy& operator=(const StandardInputCopy&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    runtime::TemporaryFileEntry entry_;
};

}  // namespace app
