#pragma once
// What a scratch file is on Windows: a handle open for reading and writing,
// whose file the system deletes when it is closed. Shared by the scratch
// file and the input file code.

#include "runtime/handles_win32.h"
#include "runtime/scratch_file.h"

namespace runtime {

struct ScratchFile::Native {
    FileHandle handle;
};

}  // namespace runtime
