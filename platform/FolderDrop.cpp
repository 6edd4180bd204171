#include "platform/FolderDrop.h"

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

bool FolderDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (accepting_() && drag->mimeData() && droppedFolder(*drag->mimeData())) {
            drag->acceptProposedAction();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const auto folder =
            accepting_() && drop->mimeData() ? droppedFolder(*drop->mimeData()) : std::nullopt;
        if (!folder) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        emit folderDropped(*folder);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace pixtint
