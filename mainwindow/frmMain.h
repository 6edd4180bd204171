#pragma once

#include "engine/BitmapRecolor.h"
#include "platform/CheckBox.h"
#include "platform/CommandButton.h"
#include "platform/Form.h"
#include "platform/Frame.h"
#include "platform/ImageBox.h"
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/OptionButton.h"
#include "platform/StatusBar.h"

#include <array>
#include <cstdint>
#include <filesystem>

namespace pixtint {

class Dialogs;

// The main window. Its controls are the program's state: the current folder is Label1's
// caption, the two colours are the swatches' BackColor, the options are the check boxes and
// option buttons, and the file list is ListView1's items. Handlers read a control's value at
// the moment they need it rather than keeping copies.
class frmMain : public Form {
    Q_OBJECT
public:
    // The settings file and Readme.txt are found from `programFolder` (platform/AppLocations.h).
    frmMain(Dialogs& dialogs, QString programFolder);

    // Loads the window (icons, settings, caption) on first call, then shows it.
    void Show();

    // The public refresh of the file list.
    void Command3_Click();
    // The preview of the selected file; also the per-file step of the batch.
    void ListView1_Click();
    void PlacePreviewImages(std::int32_t width, std::int32_t height);
    void EnableSizeOptions(bool enabled);
    void EnableMainControls(bool enabled, int imageIndex);

    // Window-wide state, read by tests and by the handlers.
    bool pickMode() const { return pickMode_; }
    int pickTarget() const { return pickTarget_; }
    std::int32_t previewWidthLimit() const { return previewWidthLimit_; }
    std::int32_t previewHeightLimit() const { return previewHeightLimit_; }
    std::int32_t previewCentreX() const { return previewCentreX_; }
    std::int32_t previewCentreY() const { return previewCentreY_; }
    bool sixteenByFifteen() const { return sixteenByFifteen_; }
    bool batchRunning() const { return batchRunning_; }

    QString settingsFilePath() const;
    QString readmeFilePath() const;

    // The controls, named as everywhere else in the program (and as their objectName).
    Frame* Frame1;
    std::array<Label*, 2> Label2;
    Label* Label1;
    CommandButton* Command2;
    std::array<ImageBox*, 2> Image2;
    ListView* ListView1;
    CommandButton* Command3;
    Label* Label5;
    Frame* Frame2;
    Frame* Frame3;
    std::array<Label*, 2> Label4;
    std::array<CommandButton*, 6> Command5;
    std::array<Label*, 2> Label3;
    Frame* Frame4;
    CheckBox* Check2;
    std::array<OptionButton*, 2> Option1;
    std::array<ImageBox*, 2> Image1;
    ImageBox* Image3;
    CheckBox* Check1;
    CommandButton* Command7;
    CommandButton* Command4;
    CommandButton* Command1;
    StatusBar* StatusBar1;
    ImageList ImageList1;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Lays the window out again when it comes back from being minimized (Layout.cpp).
    void changeEvent(QEvent* event) override;

private:
    // Building the window (frmMainControls.cpp).
    void CreateControls();
    void CreateFileFrame();
    void CreateConversionFrame();
    void CreatePreviewAndCommands();
    void ConnectEvents();
    void LoadImageList();
    void FitCaptions();

    // Start-up, settings and exit (Settings.cpp).
    void Form_Load();
    bool LoadSettings();
    void ApplySettingsLine(int number, const QString& line);
    void Command1_Click();
    void Command7_Click();
    void SaveSettings();

    // Folder choice (FileList.cpp).
    void Command2_Click();

    // The engine as the window calls it (EngineCalls.cpp): the swatches are read and system
    // colours resolved at the moment of the call.
    bool ReplaceColor(const std::filesystem::path& path, std::int32_t width);
    std::filesystem::path MakeBitmap16x16(const std::filesystem::path& path, bool insertAtTop);
    Rgb ResolvedSwatchColor(int index) const;

    // Preview steps (Preview.cpp).
    void PreviewNotConvertible(const std::filesystem::path& source);
    void PreviewConvertible(const std::filesystem::path& source, ListItem item);
    void DisposeOfTemporaryFile(const std::filesystem::path& temporary,
                                const std::filesystem::path& source, ListItem item);
    void PreviewFailed(const class AppError& error);

    // Batch and size options (Batch.cpp, SizeOptions.cpp).
    void Command4_Click();
    // The loop of the batch; false when the list is empty.
    bool ConvertCheckedItems();
    // Converts one item; answers the backup file written for it, if any.
    void ConvertItem(ListItem item, const QString& folder);
    void Check2_Click();
    void Option1_Click(int index);

    // Colour selection (ColourSelection.cpp).
    void Command5_Click(int index);
    void Image1_MouseUp(int index, int button);
    void ChooseFromColourDialog(int swatch);
    void ArmPick(int imageIndex);
    void ChooseFromButtonColours(int swatch);
    void EndPick(int imageIndex);

    // Window layout (Layout.cpp).
    void Form_Resize();
    void RequestMinimumSizeCorrection();
    void CorrectMinimumSize();
    void LayOutControls();
    void PlaceImagesAtTheirSize();

    Dialogs& dialogs_;
    QString programFolder_;
    bool loaded_ = false;
    bool sizeCorrectionPending_ = false;

    bool pickMode_ = false;
    int pickTarget_ = 0;
    std::int32_t previewWidthLimit_ = 0;
    std::int32_t previewHeightLimit_ = 0;
    std::int32_t previewCentreX_ = 0;
    std::int32_t previewCentreY_ = 0;
    bool sixteenByFifteen_ = false;
    bool batchRunning_ = false;
};

} // namespace pixtint
