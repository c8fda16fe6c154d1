#include "engine/wav_file_name.h"

namespace engine {

std::string wavFileName(std::string_view name, runtime::PathStyle style) {
    if (!name.empty() && name.front() == '.') name.remove_prefix(1);
    std::size_t stem = name.size();
    // Back from the last character to the second: a separator met first
    // means the dot belongs to a folder, not to the name.
    for (std::size_t i = name.size(); i-- > 1;) {
        if (runtime::isSeparator(name[i], style)) break;
        if (name[i] == '.') {
            stem = i;
            break;
        }
    }
    return std::string(name.substr(0, stem)) + ".wav";
}

}  // namespace engine
