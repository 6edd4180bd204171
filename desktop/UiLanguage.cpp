// SPDX-License-Identifier: MIT
#include "desktop/UiLanguage.h"

#include "desktop/QtTranslation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace pixtint {

namespace {

// Built into the program from resources/translations/pixtint_en.ts.
const QString EnglishTranslation = QStringLiteral(":/i18n/pixtint_en.qm");

bool isEnglish(const QString& languageTag) {
    return languageTag == QLatin1String("en") || languageTag.startsWith(QLatin1String("en-")) ||
           languageTag.startsWith(QLatin1String("en_"));
}

// "C", "POSIX" and their forms with a character set ("C.UTF-8") set no language.
bool namesNoLanguage(const QString& locale) {
    return locale.isEmpty() || locale == QLatin1String("C") || locale == QLatin1String("POSIX") ||
           locale.startsWith(QLatin1String("C.")) || locale.startsWith(QLatin1String("POSIX."));
}

// The locale of messages as the C library takes it from the environment. (Qt's own name for
// the system locale is "en_US" when LANG=C.UTF-8 and LANGUAGE=en.)
QString messagesLocale() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) {
            return value;
        }
    }
    return {};
}

void removeTranslators(QCoreApplication& application) {
    // A translator removes itself from the application when it is deleted.
    qDeleteAll(application.findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
}

} // namespace

UiLanguage uiLanguageFor(const QString& messagesLocale, const QStringList& uiLanguages) {
    if (namesNoLanguage(messagesLocale) || uiLanguages.isEmpty()) {
        return UiLanguage::Japanese;
    }
    return isEnglish(uiLanguages.front()) ? UiLanguage::English : UiLanguage::Japanese;
}

UiLanguage desktopUiLanguage() {
    return uiLanguageFor(messagesLocale(), QLocale::system().uiLanguages());
}

std::optional<UiLanguage> uiLanguageNamed(std::string_view code) {
    if (code == "ja") {
        return UiLanguage::Japanese;
    }
    if (code == "en") {
        return UiLanguage::English;
    }
    return std::nullopt;
}

bool useUiLanguage(QCoreApplication& application, UiLanguage language) {
    removeTranslators(application);
    if (language == UiLanguage::English) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return installTranslation(application, EnglishTranslation);
    }
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    return installQtTranslation(application);
}

} // namespace pixtint
