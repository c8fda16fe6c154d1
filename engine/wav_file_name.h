#pragma once

#include <string>
#include <string_view>

#include "runtime/paths.h"

namespace engine {

// The output file name for an input file name: one leading dot dropped, then
// the extension (from the last dot that is not the first character) replaced
// by "wav", or ".wav" appended when there is none.
std::string wavFileName(std::string_view name, runtime::PathStyle style = runtime::nativePathStyle);

}  // namespace engine
