// A folder's files are reached without following links, whatever has
// taken a listed name by the time it is opened.
#include "runtime/folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/errors.h"
#include "runtime/input_file.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace runtime {
namespace {

namespace fs = std::filesystem;

TEST(FolderEntries, ALinkSwappedInAfterTheListingIsNeitherOpenedNorFollowed) {
    testsupport::TempFolder temp;
    fs::create_directories(testsupport::pathOf(temp / "walked/sub"));
    testsupport::writeFile(temp / "walked/file.bin", {1});
    testsupport::writeFile(temp / "outside.bin", {2});
    const Folder folder(temp / "walked");
    ASSERT_EQ(folder.fileSize("file.bin"), 1u);
    // Another program exchanges both names for links between the listing
    // and the opening.
    fs::remove(testsupport::pathOf(temp / "walked/file.bin"));
    fs::remove(testsupport::pathOf(temp / "walked/sub"));
    if (!testsupport::makeSymbolicLink(temp / "outside.bin", temp / "walked/file.bin") ||
        !testsupport::makeSymbolicLink(temp.text(), temp / "walked/sub", true)) {
        GTEST_SKIP() << "no symbolic links here";
    }
    EXPECT_THROW(InputFile(folder, "file.bin"), NotAFileError);
    EXPECT_THROW(folder.fileSize("file.bin"), NotAFileError);
    EXPECT_THROW(Folder(folder, "sub"), NotAFileError);
}

}  // namespace
}  // namespace runtime
