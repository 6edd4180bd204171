#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

namespace pixtint {

// Small pictures looked up by key, as the file list's icons are.
class ImageList {
public:
    void Add(const QString& key, const QIcon& icon) { icons_.insert(key, icon); }
    QIcon icon(const QString& key) const { return icons_.value(key); }

private:
    QHash<QString, QIcon> icons_;
};

} // namespace pixtint
