// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>

namespace pixtint {

// The closing message of a run over many files (the batch, the restore), in one shape: a
// heading that says how the run ended, then one line per count, in the order they are added.
// The first count, what the run was for, is said even when it is none; every other count only
// when some file ended that way. Lines end in CR LF, as every message of the window does.
class RunSummary {
public:
    // `heading` may be empty: the counts then stand alone.
    explicit RunSummary(QString heading);

    // `line` is the count's translated text, the number already in it.
    RunSummary& count(std::size_t files, const QString& line);
    // A count as the number a translation's "%n" takes; a run's files always fit.
    static int pluralNumber(std::size_t files) { return static_cast<int>(files); }
    QString text() const;

private:
    QStringList lines_;
    bool counted_ = false;
};

} // namespace pixtint
