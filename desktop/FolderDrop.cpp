// SPDX-License-Identifier: MIT
#include "desktop/FolderDrop.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace pixtint {

std::optional<QString> droppedFolder(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) {
        return std::nullopt;
    }
    const QFileInfo dropped(urls.front().toLocalFile());
    if (!dropped.exists()) {
        return std::nullopt;
    }
    QString folder =
        QDir::cleanPath(dropped.isDir() ? dropped.absoluteFilePath() : dropped.absolutePath());
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

FolderDropTarget::FolderDropTarget(QWidget& window, std::function<bool()> accepting)
    : QObject(&window)
    , accepting_(std::move(accepting)) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

// The drop only names a folder: it is taken as a link or a copy, never as a move, which would
// tell a file manager that its file now lives here and may go from where it was.
std::optional<QString> FolderDropTarget::acceptedFolder(QDropEvent& drop) const {
    const Qt::DropActions offered = drop.possibleActions();
    const Qt::DropAction action = offered.testFlag(Qt::LinkAction)   ? Qt::LinkAction
                                  : offered.testFlag(Qt::CopyAction) ? Qt::CopyAction
                                                                     : Qt::IgnoreAction;
    const auto folder = action != Qt::IgnoreAction && accepting_() && drop.mimeData()
                            ? droppedFolder(*drop.mimeData())
                            : std::nullopt;
    if (!folder) {
        drop.ignore();
        return std::nullopt;
    }
    drop.setDropAction(action);
    drop.accept();
    return folder;
}

bool FolderDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        acceptedFolder(*static_cast<QDropEvent*>(event));
        return true;
    case QEvent::Drop:
        if (const auto folder = acceptedFolder(*static_cast<QDropEvent*>(event))) {
            emit folderDropped(*folder);
        }
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace pixtint
