// SPDX-License-Identifier: MIT
#include "desktop/UiLanguage.h"

#include "desktop/QtTranslation.h"
#include "tests/support/TestFolder.h"

#include <QApplication>
#include <QColorDialog>
#include <QLocale>
#include <QTranslator>
#include <algorithm>
#include <gtest/gtest.h>

namespace pixtint {

namespace {

TEST(UiLanguage, EnglishOnlyWhenTheDesktopsFirstLanguageIsEnglish) {
    struct Desktop {
        QString messagesLocale;
        QStringList uiLanguages;
        UiLanguage expected;
    };
    const Desktop desktops[] = {
        {"en_US", {"en-US", "en-Latn-US", "en"}, UiLanguage::English},
        {"ja_JP", {"en", "en-Latn-US"}, UiLanguage::English}, // LANGUAGE=en on a Japanese LANG
        {"ja_JP", {"ja-JP", "ja-Jpan-JP", "ja"}, UiLanguage::Japanese},
        {"en_US", {"ja", "en"}, UiLanguage::Japanese}, // LANGUAGE=ja:en
        {"de_DE", {"de-DE", "en-US"}, UiLanguage::Japanese},
        {"C", {"en", "en-US"}, UiLanguage::Japanese}, // no locale set: LANGUAGE is not read
        {"C.UTF-8", {"en", "en-US"}, UiLanguage::Japanese},
        {"en_US", {}, UiLanguage::Japanese},
    };
    for (const Desktop& desktop : desktops) {
        EXPECT_EQ(uiLanguageFor(desktop.messagesLocale, desktop.uiLanguages), desktop.expected)
            << desktop.messagesLocale.toStdString() << " "
            << desktop.uiLanguages.join(',').toStdString();
    }
}

// The toolkit's own dialogs follow: a Japanese session's colour dialog must not stay Japanese
// when the program turns to English, nor Japanese without Qt's translations.
TEST(UiLanguage, EachChoiceReplacesTheOneBeforeAndQtsDialogsFollow) {
    QApplication& application = *qApp;
    TestFolder noTranslations;
    EXPECT_FALSE(installQtTranslation(application, QString::fromStdString(noTranslations.path())));
    EXPECT_EQ(QColorDialog().windowTitle(), "Select Color");

    ASSERT_TRUE(useUiLanguage(application, UiLanguage::Japanese))
        << "Qt's translations (Debian qt6-translations-l10n, installed by scripts/test.sh)";
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
    const QString title = QColorDialog().windowTitle();
    EXPECT_TRUE(std::any_of(title.begin(), title.end(), [](QChar c) {
        return c.script() == QChar::Script_Han || c.script() == QChar::Script_Katakana;
    })) << title.toStdString();

    ASSERT_TRUE(useUiLanguage(application, UiLanguage::English)) << "the built-in translation";
    EXPECT_EQ(QLocale().language(), QLocale::English);
    EXPECT_EQ(QColorDialog().windowTitle(), "Select Color");
    EXPECT_EQ(application.findChildren<QTranslator*>().size(), 1);
    qDeleteAll(application.findChildren<QTranslator*>());
    QLocale::setDefault(QLocale::system());
}

} // namespace

} // namespace pixtint
