// SPDX-License-Identifier: MIT
#include "desktop/UiLanguage.h"

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

} // namespace

} // namespace pixtint
