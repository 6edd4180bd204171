#include "engine/AppError.h"
#include "engine/FileBytes.h"
#include "mainwindow/PreviewTexts.h"
#include "mainwindow/TemporaryFileGuard.h"
#include "mainwindow/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"

#include <limits>

namespace pixtint {

namespace {

constexpr std::int64_t TwipsPerPreviewPixel = 50;

std::int32_t displaySize(std::int32_t pixels) {
    const std::int64_t twips = static_cast<std::int64_t>(pixels) * TwipsPerPreviewPixel;
    if (twips > std::numeric_limits<std::int32_t>::max() ||
        twips < std::numeric_limits<std::int32_t>::min()) {
        throw AppError(ErrorNumber::Overflow);
    }
    return static_cast<std::int32_t>(twips);
}

// The converted picture keeps the permissions of the one it replaces, where they can be read.
void keepPermissionsOf(const std::filesystem::path& original,
                       const std::filesystem::path& replacement) {
    std::error_code failed;
    const auto permissions = std::filesystem::status(original, failed).permissions();
    if (!failed) {
        std::filesystem::permissions(replacement, permissions, failed);
    }
}

bool isNotConvertible(const QString& iconKey) {
    return iconKey == QLatin1String("NoChg") || iconKey == QLatin1String("NG");
}

} // namespace

void frmMain::ListView1_Click() {
    BusyPointer busy(*this);
    if (ListView1->Count() == 0) {
        StatusBar1->setPanelText(2, QString());
        StatusBar1->setPanelText(3, QString());
        Image1[0]->clearPicture();
        Image1[1]->clearPicture();
        return;
    }
    try {
        const std::optional<ListItem> item = ListView1->SelectedItem();
        if (!item) {
            throw AppError(ErrorNumber::ObjectNotSet);
        }
        const std::filesystem::path source = PathInFolder(Label1->Caption(), item->FileName());
        StatusBar1->setPanelText(2, PreviewTexts::sizeText(FileLen(source)));
        StatusBar1->setPanelText(3, DisplayPath(source));
        if (isNotConvertible(item->SmallIcon())) {
            PreviewNotConvertible(source);
        } else {
            PreviewConvertible(source, *item);
        }
    } catch (const AppError& error) {
        PreviewFailed(error);
    } catch (const std::bad_alloc&) {
        PreviewFailed(AppError(ErrorNumber::OutOfMemory));
    }
}

void frmMain::PreviewNotConvertible(const std::filesystem::path& source) {
    // Loading the picture is what tells a damaged file from one that is merely not 24-bit.
    Image1[0]->LoadPicture(source);
    Image1[1]->clearPicture();
    PlaceImagesAtTheirSize();
    ListView1->Refresh();
    Image1[0]->clearPicture();
    Image1[1]->clearPicture();
    StatusBar1->setPanelText(1, PreviewTexts::NotConvertible);
}

void frmMain::PreviewConvertible(const std::filesystem::path& source, ListItem item) {
    const std::vector<std::uint8_t> header = readFilePrefix(source, HeightOffset + 4);
    if (header.size() < HeightOffset + 4) {
        throw AppError(ErrorNumber::InputPastEndOfFile);
    }
    const std::int32_t width = ReadInt32(header.data(), WidthOffset);
    const std::int32_t height = ReadInt32(header.data(), HeightOffset);
    sixteenByFifteen_ = width == 16 && height == 15;
    StatusBar1->setPanelText(1, PreviewTexts::dimensionText(width, height));
    const std::int32_t displayWidth = displaySize(width);
    const std::int32_t displayHeight = displaySize(height);

    Image1[0]->LoadPicture(source);
    Image1[0]->Refresh();

    TemporaryFileGuard leftover;
    std::filesystem::path path = source;
    if (sixteenByFifteen_ && Check2->Value() == 1) {
        path = MakeBitmap16x16(path, Option1[0]->Value());
        leftover.watch(path);
    }
    if (ReplaceColor(path, width)) {
        const std::filesystem::path temporary = TemporaryPathFor(path);
        leftover.watch(temporary);
        Image1[1]->LoadPicture(temporary);
        DisposeOfTemporaryFile(temporary, source, item);
        leftover.release();
    } else {
        Image1[1]->clearPicture();
        item.setSmallIcon(QStringLiteral("NG"));
    }
    PlacePreviewImages(displayWidth, displayHeight);
    if (!batchRunning_) {
        EnableSizeOptions(sixteenByFifteen_);
    }
}

void frmMain::DisposeOfTemporaryFile(const std::filesystem::path& temporary,
                                     const std::filesystem::path& source, ListItem item) {
    if (!batchRunning_) {
        Kill(temporary);
        return;
    }
    keepPermissionsOf(source, temporary);
    // One rename over the source under its exact name: at every moment the file is either the
    // old picture or the new one.
    renameOver(temporary, source);
    item.setSmallIcon(QStringLiteral("OK"));
}

void frmMain::PreviewFailed(const AppError& error) {
    dialogs_.ShowError(this, error, QStringLiteral("BMPエラー"));
    Image1[0]->clearPicture();
    Image1[1]->clearPicture();
    PlaceImagesAtTheirSize();
    StatusBar1->setPanelText(1, QString());
    StatusBar1->setPanelText(2, QString());
    ListView1->Refresh();
}

} // namespace pixtint
