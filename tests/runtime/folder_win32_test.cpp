// A batch reaches the files of a folder by their exact names: names of
// devices made by another system are files like any other, and a name that is
// no longer a file when it is opened is refused before a byte is read.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <vector>

#include "runtime/errors.h"
#include "runtime/folder.h"
#include "runtime/input_file.h"
#include "runtime/paths.h"
#include "runtime/text.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace runtime {
namespace {

// Files made and removed through the "\\?\" form: a plain path would open
// the device (removing the folder by plain paths waits on "COM1" for ever).
struct ExactFiles {
    std::vector<std::string> paths;
    ~ExactFiles() {
        for (const std::string& path : paths) DeleteFileW(widen("\\\\?\\" + path).c_str());
    }
    void write(const std::string& path, const std::string& bytes) {
        const HANDLE file =
            CreateFileW(widen("\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        paths.push_back(path);
        DWORD written = 0;
        WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
};

std::string readAll(const Folder& folder, const std::string& name) {
    InputFile input(folder, name);
    std::string bytes(input.size(), '\0');
    bytes.resize(input.read(0, bytes.size(), reinterpret_cast<std::uint8_t*>(bytes.data())));
    return bytes;
}

TEST(FolderFiles, NamesOfDevicesAreTheFilesTheyAre) {
    const testsupport::TempFolder temp;
    const std::map<std::string, std::string> files = {{"con.bin", "a"},     {"aux", "bb"},     {"nul.txt", "ccc"},
                                                      {"NUL", "dddd"},      {"COM1", "eeeee"}, {"prn.dat", "ffffff"},
                                                      {"ok.bin", "ggggggg"}};
    ExactFiles made;
    for (const auto& [name, bytes] : files) made.write(temp / name, bytes);
    const Folder folder(temp.text());
    std::map<std::string, std::string> found;
    FolderListing listing(folder);
    while (const auto entry = listing.next()) {
        EXPECT_EQ(entry->kind, FolderEntry::Kind::file) << entry->name;
        EXPECT_EQ(folder.fileSize(entry->name), files.at(entry->name).size()) << entry->name;
        found[entry->name] = readAll(folder, entry->name);
    }
    EXPECT_EQ(found, files);
}

TEST(FolderFiles, ANameThatIsNoLongerAFileWhenOpenedIsRefused) {
    const testsupport::TempFolder temp;
    testsupport::writeFile(temp / "was.bin", {1});
    const Folder folder(temp.text());
    ASSERT_TRUE(DeleteFileW(widen(temp / "was.bin").c_str()));
    ASSERT_TRUE(CreateDirectoryW(widen(temp / "was.bin").c_str(), nullptr));
    try {
        InputFile input(folder, "was.bin");
        ADD_FAILURE() << "a folder was opened as a file";
    } catch (const OSError& error) {
        EXPECT_EQ(error.code(), DWORD(ERROR_INVALID_FUNCTION));
    }
}

}  // namespace
}  // namespace runtime
