#include "engine/AppError.h"
#include "engine/BitmapRecolor.h"
#include "engine/FileBytes.h"

#include <string>
#include <string_view>

namespace pixtint {

namespace {

constexpr std::uint8_t TwentyFourBits = 24;

// Works on the native bytes, so a name in any encoding keeps everything but its ending.
std::filesystem::path withLastThreeBytesReplaced(const std::filesystem::path& path,
                                                 std::string_view ending) {
    std::string name = path.native();
    if (name.size() < ending.size()) {
        throw AppError(ErrorNumber::InvalidArgument);
    }
    name.replace(name.size() - ending.size(), ending.size(), ending);
    return name;
}

} // namespace

bool IsBitmap24Bit(const std::filesystem::path& path) {
    const auto head = readFilePrefix(path, BitCountOffset + 1);
    if (head.size() <= BitCountOffset) {
        throw AppError(ErrorNumber::InputPastEndOfFile);
    }
    return head[BitCountOffset] == TwentyFourBits;
}

std::filesystem::path TemporaryPathFor(const std::filesystem::path& bitmap) {
    return withLastThreeBytesReplaced(bitmap, "tmp");
}

std::filesystem::path BackupPathFor(const std::filesystem::path& bitmap) {
    return withLastThreeBytesReplaced(bitmap, "bak");
}

} // namespace pixtint
