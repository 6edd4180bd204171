// SPDX-License-Identifier: MIT
#pragma once

#include "dialogs/Dialogs.h"

#include <functional>

namespace pixtint {

// The seam as the user meets it: Qt's message box, colour dialog and folder chooser, the
// button-colour dialog it is given, and the desktop's viewer for documents.
class QtDialogs : public Dialogs {
public:
    using ButtonColourDialog = std::function<std::optional<std::int32_t>(QWidget* owner)>;

    explicit QtDialogs(ButtonColourDialog buttonColourDialog);

    void showMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                     const QString& title) override;
    std::optional<QColor> chooseColour(QWidget* owner) override;
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title) override;
    std::optional<std::int32_t> chooseButtonColour(QWidget* owner) override;
    bool showRunFailure(QWidget* owner, const QString& text, const QString& title) override;
    void openDocument(QWidget* owner, const QString& path,
                      std::function<void(const QString& reason)> failed) override;

private:
    ButtonColourDialog buttonColourDialog_;
};

} // namespace pixtint
