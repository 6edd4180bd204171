// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

namespace pixtint {

// Every modal thing the windows show goes through this seam, so that tests can answer it.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box with a single OK button. Without a title it carries "Pixtint".
    virtual void showMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                             const QString& title = {}) = 0;
    // The colour dialog; nothing when the user cancels.
    virtual std::optional<QColor> chooseColour(QWidget* owner) = 0;
    // The folder chooser; nothing when the user cancels.
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& title) = 0;
    // The button-colour dialog, modal to `owner`: the colour value chosen (a system-colour
    // reference stays one), nothing when it is closed without a choice.
    virtual std::optional<std::int32_t> chooseButtonColour(QWidget* owner) = 0;
    // Opens a document in the user's viewer; the outcome is not reported.
    virtual void openDocument(const QString& path) = 0;
};

} // namespace pixtint
