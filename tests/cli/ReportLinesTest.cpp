#include "cli/ReportLines.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace pixtint {

namespace {

const FileReport Converted{.path = "icons/a.bmp",
                           .status = ReportStatus::Converted,
                           .pixels = 37,
                           .grown = false,
                           .reason = {}};
const FileReport Grown{.path = "icons/g.bmp",
                       .status = ReportStatus::Converted,
                       .pixels = 1,
                       .grown = true,
                       .reason = {}};
const FileReport Failed{.path = "icons/f.bmp",
                        .status = ReportStatus::Failed,
                        .pixels = std::nullopt,
                        .grown = false,
                        .reason = "permission denied"};

} // namespace

TEST(ReportLines, TextLinesLineUpTheirPathsAndGiveTheDetailsAfter) {
    EXPECT_EQ(textLine(Converted, false), "converted      icons/a.bmp  (37 pixels)");
    EXPECT_EQ(textLine(Converted, true), "would convert  icons/a.bmp  (37 pixels)");
    EXPECT_EQ(textLine(Grown, false), "converted      icons/g.bmp  (1 pixel, grown to 16 x 16)");
    EXPECT_EQ(textLine(Failed, true), "failed         icons/f.bmp  (permission denied)");
    const FileReport unchanged{.path = "u.bmp",
                               .status = ReportStatus::Unchanged,
                               .pixels = 0,
                               .grown = false,
                               .reason = {}};
    EXPECT_EQ(textLine(unchanged, false), "unchanged      u.bmp");
}

TEST(ReportLines, JsonLinesCarryOnlyTheKeysThatApply) {
    EXPECT_EQ(jsonLine(Converted, false),
              R"({"path":"icons/a.bmp","status":"converted","pixels":37})");
    EXPECT_EQ(
        jsonLine(Grown, true),
        R"({"path":"icons/g.bmp","status":"converted","pixels":1,"grown":true,"dry_run":true})");
    EXPECT_EQ(jsonLine(Failed, false),
              R"({"path":"icons/f.bmp","status":"failed","error":"permission denied"})");
}

TEST(ReportLines, JsonStaysValidForNamesThatAreNotUtf8) {
    FileReport report = Failed;
    report.path = std::string("caf\xe9 \"q\"\n.bmp");
    report.reason = "backup name taken by ab\xff.bmp";
    const auto parsed = nlohmann::json::parse(jsonLine(report, false));
    EXPECT_EQ(parsed["path"], "caf\xEF\xBF\xBD \"q\"\n.bmp");
    EXPECT_EQ(parsed["error"], "backup name taken by ab\xEF\xBF\xBD.bmp");
}

TEST(ReportLines, SummaryCountsOnlyTheStatusesMet) {
    EXPECT_EQ(
        summaryLine({.converted = 3, .unchanged = 0, .skipped = 1, .failed = 2, .restored = 0},
                    false),
        "3 converted, 1 skipped, 2 failed");
    EXPECT_EQ(summaryLine(
                  {.converted = 2, .unchanged = 1, .skipped = 0, .failed = 0, .restored = 0}, true),
              "2 to convert, 1 unchanged (dry run: nothing written)");
    EXPECT_EQ(summaryLine({}, false), "no files");
}

} // namespace pixtint
