#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>

#include "runtime/errors.h"

namespace runtime {
namespace {

// Known answers of the C runtime's mapping, so that a line names the same
// errno whichever layer met the failure.
TEST(ErrnoOf, SystemErrorsGiveTheErrnoThatMeansTheSame) {
    EXPECT_EQ(errnoOf(ERROR_DISK_FULL), 28);
    EXPECT_EQ(errnoOf(ERROR_HANDLE_DISK_FULL), 28);
    EXPECT_EQ(errnoOf(ERROR_BROKEN_PIPE), 32);
    EXPECT_EQ(errnoOf(ERROR_NO_DATA), 32);
    EXPECT_EQ(errnoOf(ERROR_FILE_NOT_FOUND), 2);
    EXPECT_EQ(errnoOf(ERROR_BAD_NETPATH), ENOENT);
    EXPECT_EQ(errnoOf(ERROR_FILENAME_EXCED_RANGE), ENOENT);
    EXPECT_EQ(errnoOf(ERROR_ACCESS_DENIED), 13);
    EXPECT_EQ(errnoOf(ERROR_SHARING_VIOLATION), EACCES);
    EXPECT_EQ(errnoOf(ERROR_WRITE_PROTECT), EACCES);
    EXPECT_EQ(errnoOf(ERROR_ALREADY_EXISTS), EEXIST);
    EXPECT_EQ(errnoOf(ERROR_DIR_NOT_EMPTY), ENOTEMPTY);
    EXPECT_EQ(errnoOf(ERROR_TOO_MANY_OPEN_FILES), EMFILE);
    EXPECT_EQ(errnoOf(ERROR_OUTOFMEMORY), ENOMEM);
    EXPECT_EQ(errnoOf(ERROR_INVALID_HANDLE), EBADF);
    EXPECT_EQ(errnoOf(ERROR_INVALID_NAME), EINVAL);
}

}  // namespace
}  // namespace runtime
