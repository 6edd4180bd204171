#include "engine/AppError.h"
#include "engine/FileBytes.h"
#include "mainwindow/SettingsFile.h"
#include "mainwindow/frmMain.h"
#include "platform/AppLocations.h"
#include "platform/Dialogs.h"
#include "platform/FileOperations.h"
#include "platform/ProgramInfo.h"

namespace pixtint {

// Start-up, settings file and exit.

namespace {

const QString SettingsErrorTitle = QStringLiteral("環境設定エラー");

QString windowCaption() {
    return QStringLiteral("Pixtint (Ver%1.%2)")
        .arg(ProgramInfo::MajorVersion())
        .arg(ProgramInfo::MinorVersion());
}

// A settings folder in the user's configuration folder that is not made yet (path not found)
// is a first start too, like a missing file.
bool isSilentSettingsError(int number) {
    return number == ErrorNumber::FileNotFound || number == ErrorNumber::PathNotFound ||
           number == ErrorNumber::InputPastEndOfFile;
}

} // namespace

void frmMain::Form_Load() {
    ListView1->setSmallIcons(&ImageList1);
    if (!LoadSettings()) {
        // Replaces a folder that an incomplete file may already have put there.
        Label1->setCaption(programFolder_);
    }
    setCaption(windowCaption());
}

bool frmMain::LoadSettings() {
    try {
        const std::vector<std::uint8_t> bytes = readWholeFile(NativePath(settingsFilePath()));
        const QStringList lines = SettingsFile::splitLines(
            QByteArray(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes)));
        // Each line reaches its control before the next is read, so that a bad line keeps
        // the values before it.
        for (int number = 1; number <= SettingsFile::LineCount; ++number) {
            if (number > lines.size()) {
                throw AppError(ErrorNumber::InputPastEndOfFile);
            }
            ApplySettingsLine(number, lines[number - 1]);
        }
        return true;
    } catch (const AppError& error) {
        if (!isSilentSettingsError(error.number())) {
            dialogs_.ShowError(this, error, SettingsErrorTitle);
        }
        return false;
    }
}

void frmMain::ApplySettingsLine(int number, const QString& line) {
    switch (number) {
    case 1:
        Label1->setCaption(line);
        break;
    case 2:
        Label3[0]->setBackColor(SettingsFile::parseLong(line));
        break;
    case 3:
        Label3[1]->setBackColor(SettingsFile::parseLong(line));
        break;
    case 4:
        Check2->setValue(SettingsFile::parseInteger(line));
        break;
    case 5:
        // Only Option1(0) is kept: "False" leaves both options showing unselected.
        Option1[0]->setValue(SettingsFile::parseBoolean(line));
        break;
    case 6:
        Check1->setValue(SettingsFile::parseInteger(line));
        break;
    default:
        break;
    }
}

void frmMain::Command1_Click() {
    SaveSettings();
    close();
}

void frmMain::Command7_Click() {
    dialogs_.OpenDocument(readmeFilePath());
}

void frmMain::SaveSettings() {
    const SettingsFile::Values values{
        .folder = Label1->Caption(),
        .beforeColor = Label3[0]->BackColor(),
        .afterColor = Label3[1]->BackColor(),
        .resizeTo16x16 = Check2->Value(),
        .insertAtTop = Option1[0]->Value(),
        .keepBackup = Check1->Value(),
    };
    const QByteArray bytes = SettingsFile::format(values);
    const QString path = settingsFilePath();
    AppLocations::CreateFolderFor(path);
    try {
        // Written whole or not at all: a failed exit leaves the previous settings intact.
        writeFileAtomically(NativePath(path),
                            {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())});
    } catch (const AppError& error) {
        dialogs_.ShowError(this, error, SettingsErrorTitle);
    }
}

} // namespace pixtint
