// SPDX-License-Identifier: MIT
#include "desktop/FilePaths.h"

#include "engine/Error.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace pixtint {

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::filesystem::path folderPath(const QString& folderText) {
    return folderText.isEmpty() ? std::filesystem::path("/") : nativePath(folderText);
}

QString folderText(const std::filesystem::path& folder) {
    return folder == "/" ? QString() : displayPath(folder);
}

QString displayPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::int64_t fileSize(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw Error::fromErrno(errno, path);
    }
    return static_cast<std::int64_t>(status.st_size);
}

} // namespace pixtint
