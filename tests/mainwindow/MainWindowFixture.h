// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/FilePaths.h"
#include "mainwindow/FileListWidget.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StartUp.h"
#include "mainwindow/StatusBar.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestFolder.h"
#include "widgets/PictureView.h"
#include "widgets/Swatch.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

namespace pixtint {

constexpr Pixel Blue{0, 0, 255};
constexpr Pixel Green{0, 255, 0};
constexpr Pixel Red{255, 0, 0};

// A picture the conversion takes but no reader can show: 65536 x 65536 declared over the rows
// of a 4 x 4 one, far past what a preview may decode.
inline std::vector<std::uint8_t> unshowablePicture() {
    auto bytes = makeBmp24(4, 4, Blue);
    for (const std::size_t field : {18, 22}) {
        bytes[field] = 0;
        bytes[field + 1] = 0;
        bytes[field + 2] = 1;
    }
    return bytes;
}

// The real main window on the offscreen platform, started the way the program starts, with
// its own program folder (settings file, Readme.txt) and a folder of pictures. The controls
// are found by their control names, as automation finds them.
class MainWindowFixture : public testing::Test {
protected:
    // Writes the settings file the next start will read; lines end in CR LF.
    void writeSettings(const QStringList& lines) const {
        QByteArray bytes;
        for (const QString& line : lines) {
            bytes += line.toUtf8() + "\r\n";
        }
        programFolder.write("Pixtint.ini", {bytes.begin(), bytes.end()});
    }
    // A settings file naming the picture folder, with the program's defaults otherwise.
    void rememberPictureFolder(std::int32_t before = -2147483638, std::int32_t after = -2147483633,
                               const QString& insertAtTop = "True",
                               const QString& backups = " 1 ") const {
        // Numbers as the file holds them: a blank in place of a plus sign, one after.
        const auto number = [](std::int32_t value) {
            return (value >= 0 ? " " : "") + QString::number(value) + " ";
        };
        writeSettings(
            {pictureFolderText(), number(before), number(after), " 1 ", insertAtTop, backups});
    }
    QString pictureFolderText() const { return displayPath(pictures.path()); }

    // Runs the start-up procedure and waits until the window has been laid out.
    MainWindow& start() {
        window = startMainWindow(dialogs, displayPath(programFolder.path()));
        settle();
        return *window;
    }
    // Starts on the picture folder converting blue to red.
    MainWindow& startBlueToRed(const QString& insertAtTop = "True",
                               const QString& backups = " 1 ") {
        rememberPictureFolder(0xFF0000, 0x0000FF, insertAtTop, backups);
        return start();
    }
    // Waits for the work beside the window (a batch's excepted), then runs what is queued; more
    // rounds also run what those queue in turn (size corrections).
    void settle(int rounds = 5) const {
        QElapsedTimer waited;
        waited.start();
        do {
            while (window && window->working() && waited.elapsed() < 120000) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
            for (int i = 0; i < rounds; ++i) {
                QCoreApplication::processEvents();
            }
        } while (window && window->working() && waited.elapsed() < 120000);
    }
    QStringList messageTexts() const { return messageParts(&FakeDialogs::Message::text); }
    QStringList messageTitles() const { return messageParts(&FakeDialogs::Message::title); }
    QStringList messageParts(QString FakeDialogs::Message::*part) const {
        QStringList parts;
        for (const FakeDialogs::Message& message : dialogs.messages) {
            parts << message.*part;
        }
        return parts;
    }
    QByteArray savedSettings(const TestFolder& folder,
                             const std::string& name = "Pixtint.ini") const {
        const auto bytes = folder.read(name);
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
    }
    static bool busyPointerShown() { return QGuiApplication::overrideCursor() != nullptr; }

    template <class Widget> Widget* control(const QString& name) const {
        auto* found = window->findChild<Widget*>(name);
        if (found == nullptr) {
            ADD_FAILURE() << "no control " << name.toStdString();
        }
        return found;
    }
    QGroupBox* fileFrame() const { return control<QGroupBox>("Frame1"); }
    QLabel* folderLabel() const { return control<QLabel>("Label1"); }
    QPushButton* browseButton() const { return control<QPushButton>("Command2"); }
    FileListWidget* fileList() const { return control<FileListWidget>("ListView1"); }
    QPushButton* refreshButton() const { return control<QPushButton>("Command3"); }
    QLabel* fileCountLabel() const { return control<QLabel>("Label5"); }
    Swatch* swatch(Side side) const {
        return control<Swatch>(side == Side::Before ? "Label3(0)" : "Label3(1)");
    }
    QPushButton* colourDialogButton(Side side) const {
        return control<QPushButton>(side == Side::Before ? "Command5(0)" : "Command5(1)");
    }
    QPushButton* pickButton(Side side) const {
        return control<QPushButton>(side == Side::Before ? "Command5(2)" : "Command5(3)");
    }
    QPushButton* buttonColourButton(Side side) const {
        return control<QPushButton>(side == Side::Before ? "Command5(4)" : "Command5(5)");
    }
    QGroupBox* sizeFrame() const { return control<QGroupBox>("Frame4"); }
    QCheckBox* resizeBox() const { return control<QCheckBox>("Check2"); }
    QRadioButton* topRowOption() const { return control<QRadioButton>("Option1(0)"); }
    QRadioButton* bottomRowOption() const { return control<QRadioButton>("Option1(1)"); }
    PictureView* image(Side side) const {
        return control<PictureView>(side == Side::Before ? "Image1(0)" : "Image1(1)");
    }
    QImage picture(Side side) const { return image(side)->picture(); }
    QCheckBox* backupBox() const { return control<QCheckBox>("Check1"); }
    QPushButton* readmeButton() const { return control<QPushButton>("Command7"); }
    QPushButton* convertButton() const { return control<QPushButton>("Command4"); }
    QPushButton* exitButton() const { return control<QPushButton>("Command1"); }
    QString statusText(StatusBar::Field field) const {
        return control<StatusBar>("StatusBar1")->text(field);
    }

    // Presses "変換実行" and waits until the batch has ended, its closing box included.
    void convertAndWait() {
        convertButton()->click();
        QElapsedTimer waited;
        waited.start();
        while (window->batchRunning() && waited.elapsed() < 120000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        EXPECT_FALSE(window->batchRunning()) << "the batch did not end";
        settle(); // the closing preview
    }

    // Selects a row as the program does, and previews it.
    void show(int row) {
        fileList()->selectRow(row);
        window->previewSelectedFile();
        settle();
    }
    // Every item in list order as "name mark", followed by " ticked" when it is ticked.
    QStringList listing() const {
        const char* const marks[] = {"BMP", "NoChg", "OK", "NG"}; // in the order of ItemMark
        QStringList lines;
        const FileListWidget& list = *fileList();
        for (int row = 0; row < list.count(); ++row) {
            lines << list.item(row)->text() + ' ' + marks[static_cast<int>(list.mark(row))] +
                         (list.isTicked(row) ? " ticked" : "");
        }
        return lines;
    }

    TestFolder programFolder;
    TestFolder pictures;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

} // namespace pixtint
