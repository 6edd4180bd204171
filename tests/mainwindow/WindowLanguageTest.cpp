// SPDX-License-Identifier: MIT
#include "desktop/UiLanguage.h"
#include "dialogs/ButtonColourDialog.h"
#include "engine/Error.h"
#include "mainwindow/RefusalReasons.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTranslator>
#include <filesystem>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

bool isJapanese(QChar c) {
    const char16_t code = c.unicode();
    return (code >= 0x3000 && code <= 0x30FF) || // punctuation, hiragana, katakana
           (code >= 0x3400 && code <= 0x9FFF) || // kanji
           (code >= 0xFF00 && code <= 0xFFEF);   // full-width forms such as "＝"
}

bool hasJapanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), isJapanese);
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

// The captions that do not fit their controls: a label's text in its width, a box's or
// option's caption beside its indicator, a button's caption inside its frame, a frame's title.
// The folder and the status bar show data, shortened as they must be, and are left out.
QStringList overflowingCaptions(const QWidget& root) {
    QStringList overflowing;
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        const QFontMetrics metrics = widget->fontMetrics();
        int needed = 0;
        int room = widget->width();
        QString caption;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (label->objectName() == "Label1" || label->objectName().isEmpty()) {
                continue;
            }
            caption = label->text();
            needed = metrics.horizontalAdvance(caption);
            room = label->contentsRect().width();
        } else if (qobject_cast<const QCheckBox*>(widget) ||
                   qobject_cast<const QRadioButton*>(widget)) {
            caption = static_cast<const QAbstractButton*>(widget)->text();
            needed = widget->sizeHint().width();
        } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            caption = button->text();
            needed = metrics.horizontalAdvance(caption) + 4;
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
            caption = frame->title();
            needed = metrics.horizontalAdvance(caption);
        }
        if (!caption.isEmpty() && needed > room) {
            overflowing << QStringLiteral("%1 \"%2\" needs %3 of %4")
                               .arg(widget->objectName(), caption)
                               .arg(needed)
                               .arg(room);
        }
    }
    return overflowing;
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

// In both languages every caption fits its control. Each kind of picture the conversion refuses
// has words of its own, none of them the words for a kind the window does not know, and each
// shows whole in the status bar of a window at its design size.
TEST_F(WindowLanguage, EveryCaptionAndEveryRefusalShowsWhole) {
    const Refused named[] = {Refused::NotABmp,     Refused::BitCount,    Refused::JpegInside,
                             Refused::PngInside,   Refused::Compression, Refused::HeaderSize,
                             Refused::ColourMasks, Refused::Damaged};
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        ASSERT_TRUE(useUiLanguage(*qApp, language));
        start();
        const char* name = language == UiLanguage::English ? "English" : "Japanese";
        EXPECT_EQ(overflowingCaptions(*window).join("; ").toStdString(), "") << name;
        {
            ButtonColourDialog buttonColours(window.get()); // gone before the window
            EXPECT_EQ(overflowingCaptions(buttonColours).join("; ").toStdString(), "") << name;
        }

        auto* statusBar = control<StatusBar>("StatusBar1");
        const QString unknown = refusalReason(Error(ErrorKind::Unsupported));
        QStringList reasons;
        for (const Refused what : named) {
            const ErrorKind kind = what == Refused::NotABmp || what == Refused::Damaged
                                       ? ErrorKind::NotAPicture
                                       : ErrorKind::Unsupported;
            const QString reason = refusalReason(Error(kind, {}, {}, Refusal(what, 16, "RLE24")));
            EXPECT_NE(reason, unknown) << static_cast<int>(what);
            EXPECT_FALSE(reasons.contains(reason)) << reason.toStdString();
            reasons.append(reason);
            statusBar->setText(StatusBar::Field::FileSize, "1,234,567バイト");
            statusBar->setText(StatusBar::Field::Dimensions, reason);
            settle();
            EXPECT_EQ(statusBar->findChild<QLabel*>("Panel1")->text(), reason);
        }
        if (language == UiLanguage::English) {
            expectNoJapanese(reasons, "refusal reasons");
        }
        window.reset();
    }
}

} // namespace

} // namespace pixtint
