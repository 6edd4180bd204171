// SPDX-License-Identifier: MIT
#include "desktop/UiLanguage.h"
#include "dialogs/ButtonColourDialog.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>
#include <filesystem>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

// Punctuation, hiragana and katakana, kanji, and full-width forms such as "＝".
bool hasJapanese(const QString& text) {
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3000}-\\x{30FF}\\x{3400}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    return text.contains(japanese);
}

// Every text a user can meet on `root` and its children: captions, titles, tool tips and the
// texts of their actions (the list's context menu).
QStringList textsOf(const QWidget& root) {
    QList<const QWidget*> widgets{&root};
    for (const QWidget* child : root.findChildren<QWidget*>()) {
        widgets << child;
    }
    QStringList texts;
    for (const QWidget* widget : widgets) {
        texts << widget->toolTip();
        if (widget->isWindow()) {
            texts << widget->windowTitle();
        }
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            texts << label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            texts << button->text();
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
            texts << frame->title();
        }
        for (const QAction* action : widget->actions()) {
            texts << action->text() << action->toolTip();
        }
    }
    texts.removeAll(QString());
    return texts;
}

class WindowLanguage : public MainWindowFixture {
protected:
    void TearDown() override {
        window.reset();
        useUiLanguage(*qApp, UiLanguage::Japanese);
        qDeleteAll(qApp->findChildren<QTranslator*>()); // the source texts, as other tests use
        QLocale::setDefault(QLocale::system());
    }
    void expectNoJapanese(const QStringList& texts, const char* where) {
        for (const QString& text : texts) {
            EXPECT_FALSE(hasJapanese(text)) << where << ": " << text.toStdString();
        }
    }
    void expectWindowInEnglish(const char* where) { expectNoJapanese(textsOf(*window), where); }
    // A picture of each kind the window says something about, and a settings file with a line
    // it cannot read.
    void prepareEverySituation() {
        pictures.write("icon.bmp", makeBmp24(16, 15, Blue));      // offers the size options
        pictures.write("old.bmp", makeBmpWithBitCount(4, 4, 16)); // not convertible
        pictures.write("damaged.bmp", unshowablePicture());       // converted, but not shown
        pictures.write("kept.bmp", makeBmp24(4, 4, Blue));
        fs::create_directory(pictures / "kept.bak"); // its backup cannot be made
        writeSettings({pictureFolderText(), "blue", " 0 ", " 1 ", "True", " 1 "});
        programFolder.write("Readme.txt", {'j'});
        programFolder.write("Readme.en.txt", {'e'});
    }
};

// Walks every control, tool tip and message of both windows in English.
TEST_F(WindowLanguage, TheEnglishWindowHasNoJapaneseLeft) {
    ASSERT_TRUE(useUiLanguage(*qApp, UiLanguage::English));
    prepareEverySituation();
    start(); // the settings error: the first start's folder
    window->useFolder(pictureFolderText());
    settle();
    expectWindowInEnglish("start");
    EXPECT_EQ(fileCountLabel()->text(), "Total files: 4");

    show(1); // icon.bmp, 16 x 15
    EXPECT_EQ(statusText(StatusBar::Field::FileSize), "774 bytes");
    show(3);
    EXPECT_EQ(statusText(StatusBar::Field::Dimensions), "16-bit pictures cannot be converted");
    pickButton(Side::Before)->click();
    expectWindowInEnglish("pick");
    QTest::keyClick(window.get(), Qt::Key_Escape);

    readmeButton()->click();
    EXPECT_TRUE(dialogs.openedDocuments.back().endsWith("/Readme.en.txt"));
    browseButton()->click();
    expectNoJapanese(dialogs.folderTitles, "folder chooser");

    convertAndWait(); // a box for the damaged picture and one for the blocked backup
    fileList()->actions().front()->trigger(); // restore, with files of every outcome
    settle();
    window->resize(Twips::toPixels(1000), window->height());
    settle(20); // the size correction and its message

    expectNoJapanese(messageTexts() + messageTitles(), "message");
    const QStringList titles = messageTitles();
    for (const char* title : {"Settings error", "BMP error", "Conversion error", "Pixtint"}) {
        EXPECT_TRUE(titles.contains(title)) << title << " in " << titles.join(", ").toStdString();
    }

    ButtonColourDialog buttonColours(window.get());
    expectNoJapanese(textsOf(buttonColours), "button-colour dialog");
}

} // namespace

} // namespace pixtint
