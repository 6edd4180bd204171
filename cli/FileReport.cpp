#include "cli/FileReport.h"

namespace pixtint {

void Tally::count(ReportStatus status) {
    switch (status) {
    case ReportStatus::Converted:
        ++converted;
        break;
    case ReportStatus::Unchanged:
        ++unchanged;
        break;
    case ReportStatus::Skipped:
        ++skipped;
        break;
    case ReportStatus::Failed:
        ++failed;
        break;
    case ReportStatus::Restored:
        ++restored;
        break;
    }
}

} // namespace pixtint
