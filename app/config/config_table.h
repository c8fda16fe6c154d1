#pragma once
// The configuration text as a table: section name to key to value, each level
// in the order of first appearance. Pairs before any section header belong to
// the section named by the empty text.

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "app/config/base_lexer.h"
#include "app/config/byte_source.h"
#include "app/config/ordered_map.h"

namespace app {

using ConfigSection = OrderedMap<std::string>;
using ConfigTable = OrderedMap<ConfigSection>;

// Reads every section and pair of the input into a table. Reading stops
// quietly at the first syntax error: the pairs before it stay, the rest is
// not read. "--key" options are stored under "--key". The file name only
// names the input in the parser's messages. Raises what the input raises.
ConfigTable readConfigStream(std::unique_ptr<ByteSource> input, const std::string& fileName,
                             std::size_t bufferSize = BaseLexer::initialBufferSize);

// The same over a stream that the caller keeps alive.
ConfigTable readConfigStream(std::istream& input, const std::string& fileName);

// Settings files are a few hundred bytes: anything larger than this is not
// one, and is not read.
inline constexpr std::size_t configFileLimit = std::size_t{1} << 20;

// Reads the file at the UTF-8 path, without ever blocking whatever the path
// names. Raises runtime::IOError "cannot open: " and the path when it
// cannot be opened or read, runtime::NotAFileError when it is not a plain
// file (a pipe, a device, a folder), runtime::IOError "larger than ..."
// beyond configFileLimit.
ConfigTable readConfigFile(const std::string& path);

// The value under section and key, or the fallback when there is none.
std::string configValue(const ConfigTable& table, std::string_view section, std::string_view key,
                        std::string_view fallback = {});

}  // namespace app
