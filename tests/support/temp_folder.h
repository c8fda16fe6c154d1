#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <filesystem>
#include <string>

namespace testsupport {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of a name inside the folder, as UTF-8 text.
    std::string operator/(const std::string& name) const;
    std::string text() const;

private:
    std::filesystem::path path_;
};

}  // namespace testsupport
