#pragma once

#include "platform/Dialogs.h"

#include <functional>

namespace pixtint {

// The seam as the user meets it: Qt's message box, colour dialog and folder chooser, and the
// desktop's viewer for documents.
class QtDialogs : public Dialogs {
public:
    using ButtonColorDialog = std::function<void(QWidget* owner, QString& tag)>;

    explicit QtDialogs(ButtonColorDialog buttonColorDialog);

    void MsgBox(QWidget* owner, const QString& text, Icon icon, const QString& title) override;
    std::optional<QColor> ShowColor(QWidget* owner) override;
    std::optional<QString> BrowseForFolder(QWidget* owner, const QString& title) override;
    void ShowButtonColorDialog(QWidget* owner, QString& tag) override;
    void OpenDocument(const QString& path) override;

private:
    ButtonColorDialog buttonColorDialog_;
};

} // namespace pixtint
