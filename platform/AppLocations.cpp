#include "platform/AppLocations.h"

#include "platform/FilePaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <fcntl.h>
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

QString readmeFile(const QString& programFolder) {
    const QString beside = programFolder + QStringLiteral("/Readme.txt");
    // Relative to the program, so that an install under any prefix finds its own guide.
    const QString installed = QDir::cleanPath(
        programFolder + QStringLiteral("/" PIXTINT_DOCDIR_FROM_BINDIR "/Readme.txt"));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed)) {
        return installed;
    }
    return beside;
}

} // namespace AppLocations

} // namespace pixtint
