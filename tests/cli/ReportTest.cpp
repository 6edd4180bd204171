// SPDX-License-Identifier: MIT
#include "cli/Report.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace pixtint {

// A folder that takes no new file is named with the system's reason; a read-only mount is
// not available to the tests, so its words are checked here.
TEST(Report, AFolderThatTakesNoFileIsNamedWithItsReason) {
    const auto reasonOf = [](int error) {
        FileOutcome outcome;
        outcome.path = "ro/a.bmp";
        outcome.status = FileStatus::Failed;
        outcome.failure = FileFailure{
            FileFailure::Kind::FolderNotWritable, Error::fromErrno(error, "ro"), {}, {}};
        return reportOf(outcome).reason;
    };
    EXPECT_EQ(reasonOf(EROFS), "folder ro is read-only");
    EXPECT_EQ(reasonOf(EACCES), "no permission to write in folder ro");
    EXPECT_EQ(reasonOf(ENOENT), "cannot write in folder ro: no such file or directory");
}

} // namespace pixtint
