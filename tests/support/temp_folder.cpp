#include "tests/support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace testsupport {

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("quenmarl-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
#ifdef _WIN32
    // In the "\\?\" form: a file left in it named like a device ("COM1")
    // is then removed, not opened as the device.
    std::filesystem::remove_all(L"\\\\?\\" + path_.wstring(), ignored);
#else
    std::filesystem::remove_all(path_, ignored);
#endif
}

std::string TempFolder::operator/(const std::string& name) const {
    return text() + static_cast<char>(std::filesystem::path::preferred_separator) + name;
}

std::string TempFolder::text() const {
    const std::u8string u8 = path_.u8string();
    return std::string(u8.begin(), u8.end());
}

}  // namespace testsupport
