// SPDX-License-Identifier: MIT
#include "dialogs/QtDialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace pixtint {

QtDialogs::QtDialogs(ButtonColourDialog buttonColourDialog)
    : buttonColourDialog_(std::move(buttonColourDialog)) {}

void QtDialogs::showMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                            const QString& title) {
    QMessageBox box(icon, title.isEmpty() ? QStringLiteral("Pixtint") : title, text,
                    QMessageBox::Ok, owner);
    box.exec();
}

std::optional<QColor> QtDialogs::chooseColour(QWidget* owner) {
    QColorDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* owner, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(owner, title);
    if (folder.isNull()) {
        return std::nullopt;
    }
    return folder;
}

std::optional<std::int32_t> QtDialogs::chooseButtonColour(QWidget* owner) {
    return buttonColourDialog_ ? buttonColourDialog_(owner) : std::nullopt;
}

void QtDialogs::openDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace pixtint
