#include "platform/QtTranslation.h"

#include "tests/support/TestFolder.h"

#include <QApplication>
#include <QColorDialog>
#include <QTranslator>
#include <algorithm>
#include <gtest/gtest.h>

namespace pixtint {

namespace {

bool hasJapaneseLetters(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.script() == QChar::Script_Han || c.script() == QChar::Script_Hiragana ||
               c.script() == QChar::Script_Katakana;
    });
}

} // namespace

TEST(QtTranslation, TheColourDialogSpeaksJapaneseAndWithoutTheTranslationEnglish) {
    QApplication& application = *qApp;
    TestFolder noTranslations;
    EXPECT_FALSE(installQtTranslation(application, QString::fromStdString(noTranslations.path())));
    EXPECT_EQ(QColorDialog().windowTitle(), "Select Color");

    ASSERT_TRUE(installQtTranslation(application))
        << "Qt's translations (Debian qt6-translations-l10n, installed by scripts/test.sh)";
    const QString title = QColorDialog().windowTitle();
    EXPECT_TRUE(hasJapaneseLetters(title)) << title.toStdString();

    qDeleteAll(application.findChildren<QTranslator*>()); // back to English for the next test
}

} // namespace pixtint
