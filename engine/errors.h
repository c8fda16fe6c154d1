#pragma once

#include "runtime/errors.h"

namespace engine {

// An input refused before anything is converted (the same path twice, a
// path that names nothing, an empty file). The message is the line the
// engine printed.
class RefusalError : public runtime::Error {
public:
    using Error::Error;
    const char* typeName() const noexcept override { return "RefusalError"; }
};

}  // namespace engine
