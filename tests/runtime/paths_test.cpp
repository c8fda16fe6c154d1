#include "runtime/paths.h"

#include <gtest/gtest.h>

namespace runtime {
namespace {

constexpr PathStyle win = PathStyle::windows;
constexpr PathStyle posix = PathStyle::posix;

TEST(WindowsPaths, JoinInsertsOneBackslashAndNormalises) {
    EXPECT_EQ(joinPath("C:\\music", "album", win), "C:\\music\\album");
    EXPECT_EQ(joinPath("C:\\music\\", "album", win), "C:\\music\\album");
    EXPECT_EQ(joinPath("C:/music//a/./b", "c", win), "C:\\music\\a\\b\\c");
    EXPECT_EQ(joinPath("C:\\music", "", win), "C:\\music");
    EXPECT_EQ(joinPath("", "x.wav", win), "x.wav");
    EXPECT_EQ(joinPath("C:\\", "zz_x", win), "C:\\zz_x");
    EXPECT_EQ(joinPath("C:", "zz_x", win), "C:\\zz_x");
}

TEST(WindowsPaths, DotDotRemovesThePreviousComponentOnlyWhereThereIsOne) {
    EXPECT_EQ(normalizePath("C:\\a\\b\\..\\c", win), "C:\\a\\c");
    EXPECT_EQ(normalizePath("a\\..\\..\\b", win), "..\\b");
    EXPECT_EQ(normalizePath("..\\..\\x", win), "..\\..\\x");
    EXPECT_EQ(normalizePath("\\..\\x", win), "\\..\\x");
}

TEST(WindowsPaths, RootsSurviveNormalisation) {
    EXPECT_EQ(normalizePath("C:\\", win), "C:\\");
    EXPECT_EQ(normalizePath("c:/", win), "c:\\");
    EXPECT_EQ(normalizePath("C:", win), "C:");
    EXPECT_EQ(normalizePath("/", win), "\\");
    EXPECT_EQ(normalizePath("\\\\server\\share\\\\x\\", win), "\\\\server\\share\\x");
    EXPECT_EQ(normalizePath(".", win), "");
}

TEST(WindowsPaths, FolderPartIsEverythingBeforeTheLastSeparator) {
    EXPECT_EQ(folderPart("C:\\music\\song.mp3", win), "C:\\music");
    EXPECT_EQ(folderPart("C:/music/album/", win), "C:\\music");
    EXPECT_EQ(folderPart("song.mp3", win), "");
    EXPECT_EQ(folderPart("C:\\song.mp3", win), "C:\\");
    EXPECT_EQ(folderPart("\\song.mp3", win), "\\");
}

TEST(WindowsPaths, LastComponentIgnoresTrailingSeparators) {
    EXPECT_EQ(lastComponent("C:\\music\\album", win), "album");
    EXPECT_EQ(lastComponent("C:\\music\\album\\\\", win), "album");
    EXPECT_EQ(lastComponent("C:\\", win), "");
    EXPECT_EQ(lastComponent("report.pdf", win), "report.pdf");
}

TEST(WindowsPaths, AbsoluteMeansSeparatorOrDriveLetterFirst) {
    EXPECT_TRUE(isAbsolutePath("\\x", win));
    EXPECT_TRUE(isAbsolutePath("/x", win));
    EXPECT_TRUE(isAbsolutePath("d:x", win));
    EXPECT_FALSE(isAbsolutePath("x\\y", win));
    EXPECT_FALSE(isAbsolutePath("1:x", win));
    EXPECT_FALSE(isAbsolutePath("", win));
    EXPECT_EQ(absolutePath("C:/a/../b", "D:\\cwd", win), "C:/a/../b");
    EXPECT_EQ(absolutePath("a\\..\\b", "D:\\cwd", win), "D:\\cwd\\b");
}

TEST(WindowsPaths, PrefixesServersAndSharesBelongToTheRoot) {
    EXPECT_EQ(folderPart(R"(\\?\C:\d d\a.bin)", win), R"(\\?\C:\d d)");
    EXPECT_EQ(folderPart(R"(\\.\C:\a.bin)", win), R"(\\.\C:\)");
    EXPECT_EQ(folderPart(R"(\\server\share\a.bin)", win), R"(\\server\share\)");
    EXPECT_EQ(folderPart(R"(\\?\UNC\server\share\a.bin)", win), R"(\\?\UNC\server\share\)");
    EXPECT_EQ(lastComponent(R"(\\?\UNC\server\share\)", win), "");
    EXPECT_EQ(joinPath(R"(\\?\C:)", "zz_a.wav", win), R"(\\?\C:\zz_a.wav)");
    EXPECT_EQ(joinPath(R"(\)", "zz_a.wav", win), R"(\zz_a.wav)");  // not the network path "\\zz_a.wav"
    EXPECT_EQ(normalizePath(R"(\\server\share\..\x)", win), R"(\\server\share\..\x)");
    EXPECT_TRUE(isAbsolutePath(R"(\\?\C:\x)", win));
}

TEST(WindowsPaths, OnlyVerbatimPathsKeepDotsAndSlashesAsWritten) {
    // The system resolves neither in a "\\?\" path: they name other files.
    EXPECT_EQ(normalizePath(R"(\\?\C:\a\.\b\..\c/d\\)", win), R"(\\?\C:\a\.\b\..\c/d)");
    EXPECT_EQ(lastComponent(R"(\\?\C:\a/b)", win), "a/b");
    // What is joined to one is a name or relative path, read as such.
    EXPECT_EQ(joinPath(R"(\\?\C:\d)", "sub/../zz_a.wav", win), R"(\\?\C:\d\zz_a.wav)");
    // Any other spelling of the device prefix is normalised below its device.
    EXPECT_EQ(normalizePath("//?/C:/a/./b/../c", win), R"(\\.\C:\a\c)");
    EXPECT_EQ(normalizePath(R"(\\.\C:\..\x)", win), R"(\\.\C:\..\x)");
}

TEST(WindowsPaths, VerbatimFormOfFullyQualifiedPathsOnly) {
    EXPECT_EQ(verbatimPath("C:/a/./b/../con.bin"), R"(\\?\C:\a\con.bin)");
    EXPECT_EQ(verbatimPath(R"(\\server\share\x)"), R"(\\?\UNC\server\share\x)");
    EXPECT_EQ(verbatimPath(R"(\\.\UNC\server\share\x)"), R"(\\?\UNC\server\share\x)");
    EXPECT_EQ(verbatimPath(R"(\\?\C:\x\..\y)"), R"(\\?\C:\x\..\y)");  // never prefixed twice
    for (const char* unqualified : {R"(\x)", "C:x", "x", R"(C:\..\x)", R"(\\server)"}) {
        EXPECT_EQ(verbatimPath(unqualified), "") << unqualified;
    }
}

TEST(PosixPaths, OnlySlashSeparates) {
    EXPECT_EQ(joinPath("/music", "a\\b", posix), "/music/a\\b");
    EXPECT_EQ(normalizePath("//music/./x/../y/", posix), "/music/y");
    EXPECT_EQ(folderPart("/music/song.mp3", posix), "/music");
    EXPECT_EQ(folderPart("/song.mp3", posix), "/");
    EXPECT_EQ(lastComponent("/music/album/", posix), "album");
    EXPECT_TRUE(isAbsolutePath("/x", posix));
    EXPECT_FALSE(isAbsolutePath("C:\\x", posix));
    EXPECT_FALSE(isAbsolutePath("\\x", posix));
}

}  // namespace
}  // namespace runtime
