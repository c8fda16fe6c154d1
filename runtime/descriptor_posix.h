#pragma once
// The owner of a POSIX file descriptor.

#include <unistd.h>

#include "runtime/unique_handle.h"

namespace runtime {

struct DescriptorTraits {
    using Handle = int;
    static Handle invalid() noexcept { return -1; }
    static void close(Handle descriptor) noexcept { ::close(descriptor); }
};

using Descriptor = UniqueHandle<DescriptorTraits>;

}  // namespace runtime
