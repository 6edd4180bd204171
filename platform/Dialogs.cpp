#include "platform/Dialogs.h"

#include "engine/AppError.h"

namespace pixtint {

void Dialogs::ShowError(QWidget* owner, const AppError& error, const QString& title) {
    MsgBox(owner, QString::fromStdString(error.messageText()), Icon::Critical, title);
}

} // namespace pixtint
