#pragma once

#include "mainwindow/MainWindow.h"
#include "mainwindow/StartUp.h"
#include "platform/CheckBox.h"
#include "platform/CommandButton.h"
#include "platform/FileOperations.h"
#include "platform/Frame.h"
#include "platform/ImageBox.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/OptionButton.h"
#include "platform/StatusBar.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace pixtint {

constexpr Pixel Blue{0, 0, 255};
constexpr Pixel Green{0, 255, 0};
constexpr Pixel Red{255, 0, 0};

// The real main window on the offscreen platform, started the way the program starts, with
// its own program folder (settings file, Readme.txt) and a folder of pictures.
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
    QString pictureFolderText() const { return DisplayPath(pictures.path()); }

    // Runs the start-up procedure and waits until the window has been laid out.
    MainWindow& start() {
        window = Main(dialogs, DisplayPath(programFolder.path()));
        settle();
        return *window;
    }
    // Starts on the picture folder converting blue to red.
    MainWindow& startBlueToRed(const QString& insertAtTop = "True",
                               const QString& backups = " 1 ") {
        rememberPictureFolder(0xFF0000, 0x0000FF, insertAtTop, backups);
        return start();
    }
    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
        }
    }

    // A control of the window found by its control name, as automation finds it.
    template <class ControlType> ControlType* control(const QString& name) const {
        auto* found = window->findChild<ControlType*>(name);
        if (found == nullptr) {
            ADD_FAILURE() << "no control " << name.toStdString();
        }
        return found;
    }
    ListItem item(int index) const { return control<ListView>("ListView1")->Item(index); }
    QString panel(int number) const { return control<StatusBar>("StatusBar1")->PanelText(number); }
    // Every item in list order as "name icon", followed by " ticked" when it is ticked.
    QStringList listing() const {
        QStringList lines;
        for (int i = 1; i <= control<ListView>("ListView1")->Count(); ++i) {
            lines << item(i).Text() + ' ' + item(i).SmallIcon() +
                         (item(i).Checked() ? " ticked" : "");
        }
        return lines;
    }

    TestFolder programFolder;
    TestFolder pictures;
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

} // namespace pixtint
