// SPDX-License-Identifier: MIT
#pragma once

#include "engine/Error.h"

#include <filesystem>
#include <optional>

namespace pixtint {

class ByteSource;

// Whether a file counts as convertible: the byte at offset 28 (the bit count) is 24. This is
// the test the window's list marks its items with. Throws Error when the file cannot be read
// or ends before that byte (TooShort).
bool isBitmap24Bit(const std::filesystem::path& path);

// The same test for a file taken whatever its name: it must also start with "BM". Throws as
// isBitmap24Bit.
bool isSignedBitmap24Bit(const std::filesystem::path& path);

// The same tests on bytes already open.
bool isBitmap24Bit(const ByteSource& source);
bool isSignedBitmap24Bit(const ByteSource& source);

// Whether the file starts with "BM": the test when every kind of picture is converted, whose
// kind is then read from its header.
bool isSignedBitmap(const ByteSource& source);

// Why a conversion that takes every kind of picture refuses the file, or nothing when it
// takes it: what the window's list marks its items with. The same checks as the conversion's
// own: the "BM" signature, the header, and compressed data that must be intact. A picture the
// conversion takes and then fails on (a width of 0) is taken. Throws Error when the file
// cannot be read.
std::optional<Error> refusalOf(const ByteSource& source);
std::optional<Error> refusalOf(const std::filesystem::path& path);

// Whether a conversion's error says the file is not a picture the program converts (a kind
// it does not convert, a header it cannot place), rather than a failure to convert one.
bool meansNotConvertible(const Error& error);

} // namespace pixtint
