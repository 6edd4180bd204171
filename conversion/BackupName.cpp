#include "conversion/BackupName.h"

#include "engine/AppError.h"

#include <string>

namespace pixtint {

std::filesystem::path backupPathFor(const std::filesystem::path& picture) {
    constexpr std::string_view Ending = "bak";
    std::string name = picture.native();
    if (name.size() < Ending.size()) {
        throw AppError(ErrorNumber::InvalidArgument);
    }
    name.replace(name.size() - Ending.size(), Ending.size(), Ending);
    return name;
}

} // namespace pixtint
