#include "engine/AppError.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialogs.h"

#include <new>

namespace pixtint {

Rgb frmMain::ResolvedSwatchColor(int index) const {
    // What the swatch shows: a system colour in it stands for this window's background.
    const QColor colour = Label3[index]->ShownColor();
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

bool frmMain::ReplaceColor(const std::filesystem::path& path, std::int32_t width) {
    try {
        pixtint::ReplaceColor(path, width, ResolvedSwatchColor(0), ResolvedSwatchColor(1));
        return true;
    } catch (const AppError& error) {
        dialogs_.ShowError(this, error, QStringLiteral("変換エラー"));
    } catch (const std::bad_alloc&) {
        dialogs_.ShowError(this, AppError(ErrorNumber::OutOfMemory), QStringLiteral("変換エラー"));
    }
    return false;
}

std::filesystem::path frmMain::MakeBitmap16x16(const std::filesystem::path& path,
                                               bool insertAtTop) {
    return pixtint::MakeBitmap16x16(path, insertAtTop, ResolvedSwatchColor(1));
}

} // namespace pixtint
