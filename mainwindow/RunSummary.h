// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

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
    RunSummary& count(long long files, const QString& line);
    QString text() const;

private:
    QStringList lines_;
    bool counted_ = false;
};

} // namespace pixtint
