#include "platform/UiLanguage.h"

#include "platform/QtTranslation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace pixtint {

namespace {

// Built into the program from resources/translations/pixtint_en.ts.
const QString EnglishTranslation = QStringLiteral(":/i18n/pixtint_en.qm");

bool isEnglish(const QString& languageTag) {
    return languageTag == QLatin1String("en") || languageTag.startsWith(QLatin1String("en-")) ||
           languageTag.startsWith(QLatin1String("en_"));
}

void removeTranslators(QCoreApplication& application) {
    // A translator removes itself from the application when it is deleted.
    qDeleteAll(application.findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
}

bool installTranslation(QCoreApplication& application, const QString& file) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file)) {
        return false;
    }
    application.installTranslator(translator.get());
    translator.release()->setParent(&application); // the application owns it from here on
    return true;
}

} // namespace

UiLanguage uiLanguageFor(const QString& messagesLocale, const QStringList& uiLanguages) {
    if (messagesLocale == QLatin1String("C") || messagesLocale == QLatin1String("POSIX") ||
        uiLanguages.isEmpty()) {
        return UiLanguage::Japanese;
    }
    return isEnglish(uiLanguages.front()) ? UiLanguage::English : UiLanguage::Japanese;
}

UiLanguage desktopUiLanguage() {
    const QLocale desktop = QLocale::system();
    return uiLanguageFor(desktop.name(), desktop.uiLanguages());
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
