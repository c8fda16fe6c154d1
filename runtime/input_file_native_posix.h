#pragma once
// What an open input file is on POSIX: its descriptor, what fstat said when
// it was opened, and its mapping once it has one. Shared by the input and
// the output file code (an output copies from an input's descriptor).

#include <sys/mman.h>
#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>

#include "runtime/descriptor_posix.h"
#include "runtime/fault_guard_posix.h"
#include "runtime/input_file.h"

namespace runtime {

struct InputFile::Native {
    Descriptor descriptor;
    std::string path;
    struct stat opened {};
    std::optional<SourceFile> origin;
    void* mapping = nullptr;
    std::unique_ptr<MappingFaultGuard> guard;
    std::uint64_t releasedBefore = 0;

    void unmap() noexcept {
        if (mapping) ::munmap(mapping, static_cast<std::size_t>(opened.st_size));
        mapping = nullptr;
        guard.reset();  // after the unmapping: no fault is left unguarded
    }
    ~Native() { unmap(); }
};

}  // namespace runtime
