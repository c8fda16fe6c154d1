// The Windows side of the runtime: errno values of system errors, and the
// files of a folder reached by their exact names.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <map>

#include "runtime/errors.h"
#include "runtime/folder.h"
#include "runtime/input_file.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace runtime {
namespace {

// The C runtime's answers, its ranges and its default included.
TEST(ErrnoOf, SystemErrorsGiveTheErrnoThatMeansTheSame) {
    EXPECT_EQ(errnoOf(ERROR_DISK_FULL), 28);
    EXPECT_EQ(errnoOf(ERROR_HANDLE_DISK_FULL), 28);
    EXPECT_EQ(errnoOf(ERROR_BROKEN_PIPE), 32);
    EXPECT_EQ(errnoOf(ERROR_NO_DATA), 32);
    EXPECT_EQ(errnoOf(ERROR_FILE_NOT_FOUND), 2);
    EXPECT_EQ(errnoOf(ERROR_FILENAME_EXCED_RANGE), ENOENT);
    EXPECT_EQ(errnoOf(ERROR_ACCESS_DENIED), 13);
    EXPECT_EQ(errnoOf(ERROR_SHARING_VIOLATION), EACCES);
    EXPECT_EQ(errnoOf(ERROR_ALREADY_EXISTS), EEXIST);
    EXPECT_EQ(errnoOf(ERROR_INVALID_NAME), EINVAL);
}

TEST(FolderFiles, NamesOfDevicesAreTheFilesTheyAre) {
    const testsupport::TempFolder temp;
    // Made through the "\\?\" form: a plain path opens the device.
    const std::map<std::string, std::string> files = {{"con.bin", "a"}, {"aux", "bb"},    {"nul.txt", "ccc"},
                                                      {"NUL", "dddd"},  {"COM1", "eeee"}, {"prn.dat", "ff"},
                                                      {"ok.bin", "g"}};
    for (const auto& [name, bytes] : files) testsupport::writeText("\\\\?\\" + (temp / name), bytes);
    const Folder folder(temp.text());
    std::map<std::string, std::string> found;
    FolderListing listing(folder);
    while (const auto entry = listing.next()) {
        EXPECT_EQ(folder.fileSize(entry->name), files.at(entry->name).size()) << entry->name;
        InputFile input(folder, entry->name);
        std::string& bytes = found[entry->name] = std::string(input.size(), '\0');
        input.read(0, bytes.size(), reinterpret_cast<std::uint8_t*>(bytes.data()));
    }
    EXPECT_EQ(found, files);
}

TEST(FolderFiles, ANameThatIsNoLongerAFileWhenOpenedIsRefused) {
    const testsupport::TempFolder temp;
    testsupport::writeFile(temp / "was.bin", {1});
    const Folder folder(temp.text());
    std::filesystem::remove(temp.path() / "was.bin");
    std::filesystem::create_directory(temp.path() / "was.bin");
    EXPECT_THROW(InputFile(folder, "was.bin"), NotAFileError);
    EXPECT_THROW(folder.fileSize("was.bin"), NotAFileError);
}

}  // namespace
}  // namespace runtime
