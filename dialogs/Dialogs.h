// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <cstdint>
#include <functional>
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
    // The box of a failure met by a run over many files. Answers true when the user closed it
    // with Esc, which asks the run to stop after it.
    virtual bool showRunFailure(QWidget* owner, const QString& text, const QString& title) {
        showMessage(owner, text, QMessageBox::Critical, title);
        return false;
    }
    // Opens a document in the user's viewer. When the desktop cannot, `failed` is called,
    // maybe later, with the desktop's reason (empty when it gave none), unless `owner` is gone.
    virtual void openDocument(QWidget* owner, const QString& path,
                              std::function<void(const QString& reason)> failed) = 0;
};

} // namespace pixtint
