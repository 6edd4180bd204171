// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

class QCoreApplication;

namespace pixtint {

// The languages the window speaks. Its texts are written in Japanese; English is their
// translation.
enum class UiLanguage { Japanese, English };

// English when the desktop's first user-interface language is English, Japanese for every
// other language and where none is set: a messages locale of "C" or "POSIX" (with or without a
// character set, "C.UTF-8") names no language, whatever $LANGUAGE says, as gettext has it.
UiLanguage uiLanguageFor(const QString& messagesLocale, const QStringList& uiLanguages);
// The same for the desktop the program runs on: the messages locale from LC_ALL, LC_MESSAGES
// or LANG, the languages as QLocale::uiLanguages() lists them.
UiLanguage desktopUiLanguage();

// "ja" or "en", the codes `pixtint --language` takes; nothing for any other text.
std::optional<UiLanguage> uiLanguageNamed(std::string_view code);

// Makes `language` the program's language for the life of `application`: the default QLocale,
// the window's translation, and the toolkit's own dialogs in the same language (Qt's Japanese
// translation when it is installed). A second call replaces what the first installed. Answers
// false when a translation could not be loaded; the program runs all the same.
bool useUiLanguage(QCoreApplication& application, UiLanguage language);

} // namespace pixtint
