// SPDX-License-Identifier: MIT
#include "cli/Report.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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

namespace {

FileOutcome failedWith(FileFailure failure) {
    FileOutcome outcome;
    outcome.path = "pics/a.bmp";
    outcome.status = FileStatus::Failed;
    outcome.failure = std::move(failure);
    return outcome;
}

} // namespace

// Each failure says what happened and where anything kept is. (The words of the common ones,
// a read-only file, a header without a width, are heard from the program itself.)
TEST(Report, AFailureSaysWhyAndWhereWhatItKeptIs) {
    FileFailure changed(FileFailure::Kind::Conversion,
                        Error(ErrorKind::ChangedDuringRun, "pics/a.bmp"), {}, "pics/.a.bak.held");
    changed.otherSave = "pics/.a.bmp.copy";
    const auto report = reportOf(failedWith(changed));
    const std::string said = "changed during the run; the other program's save is kept as "
                             "pics/.a.bmp.copy; the original is kept as pics/.a.bak.held";
    EXPECT_EQ(report.reason, said);
    EXPECT_EQ(nlohmann::json::parse(jsonLine(report, false))["error"], said);

    EXPECT_EQ(reportOf(failedWith({FileFailure::Kind::BackupNameShared,
                                   Error::fromErrno(EEXIST, "pics/a.bak"), "pics/a.BMP"}))
                  .reason,
              "its backup name a.bak is also that of pics/a.BMP");
}

// A dry run's statuses are not the real run's, in JSON as in text; a name that would break
// or turn the line is escaped.
TEST(Report, ADryRunAndAStrangeNameAreToldUnmistakably) {
    FileReport report;
    report.path = std::string("pics/a\nb\xe2\x80\xae\\\xff.bmp");
    report.status = ReportStatus::Converted;
    EXPECT_EQ(nlohmann::json::parse(jsonLine(report, true))["status"], "would_convert");
    report.status = ReportStatus::Restored;
    EXPECT_EQ(nlohmann::json::parse(jsonLine(report, true))["status"], "would_restore");
    EXPECT_EQ(nlohmann::json::parse(jsonLine(report, false))["status"], "restored");
#ifndef _WIN32 // a name of any bytes, not valid UTF-8 and with a backslash, is Linux's
    EXPECT_EQ(textLine(report, false), "restored       pics/a\\nb\\u202e\\\\\\xff.bmp");
#endif
}

} // namespace pixtint
