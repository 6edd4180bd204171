// SPDX-License-Identifier: MIT
#include "conversion/Convertibility.h"

#include "engine/BmpHeader.h"
#include "engine/BmpLayout.h"
#include "engine/ByteSource.h"
#include "engine/EntryUse.h"
#include "engine/Error.h"
#include "filesafety/FileByteSource.h"

#include <array>

namespace pixtint {

namespace {

using HeadThroughBitCount = std::array<std::uint8_t, BmpHeader::BitCountOffset + 1>;

HeadThroughBitCount headThroughBitCount(const ByteSource& source) {
    HeadThroughBitCount head{};
    if (source.readAt(0, head) < head.size()) {
        throw Error(ErrorKind::TooShort, source.path());
    }
    return head;
}

} // namespace

bool isBitmap24Bit(const ByteSource& source) {
    return headThroughBitCount(source)[BmpHeader::BitCountOffset] == BmpHeader::TwentyFourBits;
}

bool isSignedBitmap24Bit(const ByteSource& source) {
    const auto head = headThroughBitCount(source);
    return head[0] == 'B' && head[1] == 'M' &&
           head[BmpHeader::BitCountOffset] == BmpHeader::TwentyFourBits;
}

bool isBitmap24Bit(const std::filesystem::path& path) {
    return isBitmap24Bit(FileByteSource(path));
}

bool isSignedBitmap24Bit(const std::filesystem::path& path) {
    return isSignedBitmap24Bit(FileByteSource(path));
}

bool isSignedBitmap(const ByteSource& source) {
    std::array<std::uint8_t, 2> signature{};
    return source.readAt(0, signature) == signature.size() && signature[0] == 'B' &&
           signature[1] == 'M';
}

std::optional<Error> refusalOf(const ByteSource& source) {
    if (!isSignedBitmap(source)) {
        return Error(ErrorKind::NotAPicture, source.path(), "not a BMP file");
    }
    try {
        const BmpLayout layout = readBmpLayout(source);
        if (layout.colours == ColourLayout::Palette && layout.compressed()) {
            countEntryUse(source, layout); // the walk that finds damaged runs
        }
    } catch (const Error& error) {
        if (meansNotConvertible(error)) {
            return error;
        }
        if (error.kind() == ErrorKind::System) {
            throw;
        }
        // A picture the conversion takes and then fails on (a width of 0): its failure is
        // reported when it is converted.
    }
    return std::nullopt;
}

std::optional<Error> refusalOf(const std::filesystem::path& path) {
    return refusalOf(FileByteSource(path));
}

bool meansNotConvertible(const Error& error) {
    switch (error.kind()) {
    case ErrorKind::NotAPicture:
    case ErrorKind::TooShort:
    case ErrorKind::NoPixels:
    case ErrorKind::Unsupported:
        return true;
    default:
        return false;
    }
}

} // namespace pixtint
