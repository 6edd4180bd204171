#pragma once

#include <filesystem>

namespace pixtint {

class ByteSource;

// Whether a file counts as convertible: the byte at offset 28 (the bit count) is 24. This is
// the test the window's list marks its items with. Throws Error when the file cannot be
// read (a folder: EISDIR) or ends before that byte (TooShort).
bool isBitmap24Bit(const std::filesystem::path& path);

// The same test for a file taken whatever its name: it must also start with "BM". Throws as
// isBitmap24Bit.
bool isSignedBitmap24Bit(const std::filesystem::path& path);

// The same tests on bytes already open.
bool isBitmap24Bit(const ByteSource& source);
bool isSignedBitmap24Bit(const ByteSource& source);

} // namespace pixtint
