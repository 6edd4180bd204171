#pragma once

#include <cstdint>
#include <filesystem>

namespace pixtint {

// The bitmap engine. It reaches into 24-bit BMP files at fixed byte offsets: the pixel data
// is taken to start at offset 54, stored bottom-up, blue-green-red, rows padded to 4 bytes.
// Every operation reads its source whole (or the part it needs), works on that copy and
// writes its result to the temporary file beside the source; the source is never written.
// The temporary file is written whole but not flushed to disk: whoever puts it in the
// picture's place flushes it first (renameOver).
// Failures are thrown as AppError.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr std::size_t PixelDataOffset = 54;
inline constexpr std::size_t WidthOffset = 18;
inline constexpr std::size_t HeightOffset = 22;
inline constexpr std::size_t BitCountOffset = 28;

// The signed 32-bit little-endian field at `offset` of a header (width, height, ...).
// `bytes` must hold the four bytes.
inline std::int32_t ReadInt32(const std::uint8_t* bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

// True when the byte at offset 28 is 24. Throws when the file cannot be read or ends
// before offset 28.
bool IsBitmap24Bit(const std::filesystem::path& path);

// The temporary file of a bitmap: the path without its last three characters, then "tmp".
std::filesystem::path TemporaryPathFor(const std::filesystem::path& bitmap);
// The backup file of a bitmap: the path without its last three characters, then "bak".
std::filesystem::path BackupPathFor(const std::filesystem::path& bitmap);

// Replaces every pixel of exactly `before` by `after` and writes the result to the temporary
// file of `source` (which may be that temporary file itself). `width` is the picture's width
// from its header. Throws AppError; on failure no temporary file is written.
void ReplaceColor(const std::filesystem::path& source, std::int32_t width, Rgb before, Rgb after);

// Grows a 774-byte 16 x 15 picture to 16 x 16 with one row of `fill` at the top or the
// bottom, writes it to the temporary file and answers that file's path. Throws AppError.
std::filesystem::path MakeBitmap16x16(const std::filesystem::path& source, bool insertAtTop,
                                      Rgb fill);

} // namespace pixtint
