// SPDX-License-Identifier: MIT
#include "mainwindow/RunSummary.h"

#include <utility>

namespace pixtint {

RunSummary::RunSummary(QString heading) {
    if (!heading.isEmpty()) {
        lines_ << std::move(heading);
    }
}

RunSummary& RunSummary::count(std::size_t files, const QString& line) {
    if (files > 0 || !counted_) {
        lines_ << line;
    }
    counted_ = true;
    return *this;
}

QString RunSummary::text() const {
    return lines_.join(QStringLiteral("\r\n"));
}

} // namespace pixtint
