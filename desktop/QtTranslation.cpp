// SPDX-License-Identifier: MIT
#include "desktop/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace pixtint {

bool installQtTranslation(QCoreApplication& application) {
    return installQtTranslation(application, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool installQtTranslation(QCoreApplication& application, const QString& folder) {
    return installTranslation(application, QStringLiteral("qtbase_ja"), folder);
}

bool installTranslation(QCoreApplication& application, const QString& file, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder)) {
        return false;
    }
    application.installTranslator(translator.get());
    translator.release()->setParent(&application); // the application owns it from here on
    return true;
}

} // namespace pixtint
