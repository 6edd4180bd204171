// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QDropEvent;
class QMimeData;
class QWidget;

namespace pixtint {

// The folder a drag carries: its first local URL when that is a folder, the folder holding it
// when it is a file; absolute, without a trailing separator (the root is the empty text).
// Nothing for a drag of text, of a remote URL or of a name that does not exist.
std::optional<QString> droppedFolder(const QMimeData& data);

// Lets the user drop a folder, or a file standing for its folder, anywhere on `window`, while
// `accepting` answers true. The window owns it.
class FolderDropTarget : public QObject {
    Q_OBJECT

public:
    FolderDropTarget(QWidget& window, std::function<bool()> accepting);

signals:
    void folderDropped(const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The folder of a drag or drop this target takes, accepted as such; nothing, and the event
    // ignored, otherwise.
    std::optional<QString> acceptedFolder(QDropEvent& drop) const;

    std::function<bool()> accepting_;
};

} // namespace pixtint
