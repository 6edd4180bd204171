#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace pixtint {

class AppError;

// Every modal thing the windows show goes through this seam, so that tests can answer it.
class Dialogs {
public:
    enum class Icon { None, Critical, Exclamation };

    virtual ~Dialogs() = default;

    // A modal message box with a single OK button. Without a title it carries "Pixtint".
    virtual void MsgBox(QWidget* owner, const QString& text, Icon icon,
                        const QString& title = {}) = 0;
    // The system colour dialog; nothing when the user cancels.
    virtual std::optional<QColor> ShowColor(QWidget* owner) = 0;
    // The folder chooser; nothing when the user cancels.
    virtual std::optional<QString> BrowseForFolder(QWidget* owner, const QString& title) = 0;
    // The Windows button-colour dialog, modal to `owner`; it writes its answer into `tag`.
    virtual void ShowButtonColorDialog(QWidget* owner, QString& tag) = 0;
    // Opens a document in the user's viewer; the outcome is not reported.
    virtual void OpenDocument(const QString& path) = 0;

    // "[No.<number>]" CR LF <description>, with the critical icon and this title.
    void ShowError(QWidget* owner, const AppError& error, const QString& title);
};

} // namespace pixtint
