#pragma once
// What a scratch file is on POSIX: a descriptor open for reading and
// writing. Shared by the scratch file and the input file code.

#include "runtime/descriptor_posix.h"
#include "runtime/scratch_file.h"

namespace runtime {

struct ScratchFile::Native {
    Descriptor descriptor;
};

}  // namespace runtime
