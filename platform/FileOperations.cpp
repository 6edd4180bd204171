#include "platform/FileOperations.h"

#include "engine/AppError.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace pixtint {

std::int64_t FileLen(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw AppError::fromErrno(errno, path);
    }
    return static_cast<std::int64_t>(status.st_size);
}

std::filesystem::path NativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::filesystem::path PathInFolder(const QString& folder, const std::string& rawName) {
    return std::filesystem::path(NativePath(folder).native() + "/" + rawName);
}

QString DisplayPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

} // namespace pixtint
