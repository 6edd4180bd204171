#include "platform/QtDialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace pixtint {

namespace {

QMessageBox::Icon messageIcon(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QtDialogs::QtDialogs(ButtonColorDialog buttonColorDialog)
    : buttonColorDialog_(std::move(buttonColorDialog)) {}

void QtDialogs::MsgBox(QWidget* owner, const QString& text, Icon icon, const QString& title) {
    QMessageBox box(messageIcon(icon), title.isEmpty() ? QStringLiteral("Pixtint") : title, text,
                    QMessageBox::Ok, owner);
    box.exec();
}

std::optional<QColor> QtDialogs::ShowColor(QWidget* owner) {
    QColorDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

std::optional<QString> QtDialogs::BrowseForFolder(QWidget* owner, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(owner, title);
    if (folder.isNull()) {
        return std::nullopt;
    }
    return folder;
}

void QtDialogs::ShowButtonColorDialog(QWidget* owner, QString& tag) {
    if (buttonColorDialog_) {
        buttonColorDialog_(owner, tag);
    }
}

void QtDialogs::OpenDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace pixtint
