// SPDX-License-Identifier: MIT
#include "desktop/AppLocations.h"

#include "desktop/FilePaths.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace pixtint {

namespace AppLocations {

namespace {

// access(2) alone would call every folder writable for the superuser; a folder whose mode lets
// nobody write has been made read-only on purpose, and is treated so for everyone.
bool isWritableFolder(const QString& folder) {
    const std::string path = nativePath(folder.isEmpty() ? QStringLiteral("/") : folder).native();
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return false;
    }
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return false; // a read-only mount says so here, for the superuser too
    }
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool isSameFolder(const QString& one, const QString& other) {
    const QString canonical = QFileInfo(one).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(other).canonicalFilePath();
}

// The guide's names in the order they are looked for: the English one first for English.
QStringList guideNames() {
    QStringList names;
    if (QLocale().language() == QLocale::English) {
        names << QStringLiteral("Readme.en.txt");
    }
    return names << QStringLiteral("Readme.txt");
}

// Beside the program, then the installed guide, relative to the program so that an install
// under any prefix finds its own.
QStringList placesOf(const QString& programFolder, const QString& name) {
    return {
        programFolder + QLatin1Char('/') + name,
        QDir::cleanPath(programFolder + QStringLiteral("/" PIXTINT_DOCDIR_FROM_BINDIR "/") + name)};
}

// The root becomes the empty text: a file's path is the folder, "/" and its name.
QString withoutTrailingSeparator(const QString& folder) {
    QString held = QDir::cleanPath(folder);
    while (held.endsWith(QLatin1Char('/'))) {
        held.chop(1);
    }
    return held;
}

} // namespace

QString installedProgramFolder() {
    return QStringLiteral(PIXTINT_INSTALL_BINDIR);
}

bool isPortableFolder(const QString& programFolder) {
    return isWritableFolder(programFolder) &&
           !isSameFolder(programFolder, installedProgramFolder());
}

QString settingsFolder(const QString& programFolder, bool portable, const QString& configHome) {
    return portable ? programFolder : configHome + QStringLiteral("/Pixtint");
}

QString settingsFile(const QString& programFolder) {
    const QString configHome =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return settingsFolder(programFolder, isPortableFolder(programFolder), configHome) +
           QStringLiteral("/Pixtint.ini");
}

void createFolderFor(const QString& file) {
    QDir().mkpath(QFileInfo(file).absolutePath());
}

QStringList readmePlaces(const QString& programFolder) {
    QStringList places;
    for (const QString& name : guideNames()) {
        places << placesOf(programFolder, name);
    }
    return places;
}

std::optional<QString> readmeFile(const QString& programFolder) {
    for (const QString& guide : readmePlaces(programFolder)) {
        if (QFileInfo::exists(guide)) {
            return guide;
        }
    }
    return std::nullopt;
}

QString firstStartFolder(const QString& programFolder) {
    if (isPortableFolder(programFolder)) {
        return programFolder;
    }
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) {
        return withoutTrailingSeparator(pictures);
    }
    return withoutTrailingSeparator(QDir::homePath());
}

} // namespace AppLocations

} // namespace pixtint
