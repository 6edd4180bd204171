#include "Dialogs.h"

#include "AppError.h"

void Dialogs::ShowError(QWidget* owner, const AppError& error, const QString& title) {
    MsgBox(owner, QString::fromStdString(error.messageText()), Icon::Critical, title);
}
