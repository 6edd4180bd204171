// SPDX-License-Identifier: MIT
#include "engine/Error.h"

#include "engine/PathText.h"

#include <cctype>
#include <cstring>
#include <utility>

namespace pixtint {

namespace {

std::string systemReason(int errnoValue) {
    std::string text = std::strerror(errnoValue);
    // strerror capitalises its sentence; inside ours it reads as a clause.
    if (text.size() > 1 && std::isupper(static_cast<unsigned char>(text[0])) &&
        std::islower(static_cast<unsigned char>(text[1]))) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
}

std::string kindReason(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::System:
        return "system error";
    case ErrorKind::OutOfMemory:
        return "out of memory";
    case ErrorKind::NotAPicture:
        return "not a valid picture";
    case ErrorKind::TooShort:
        return "the file ends too early";
    case ErrorKind::NoPixels:
        return "too short to hold a picture";
    case ErrorKind::Truncated:
        return "truncated picture";
    case ErrorKind::InvalidWidth:
        return "invalid picture width";
    case ErrorKind::Unsupported:
        return "a kind of picture that is not converted";
    case ErrorKind::NoPaletteRoom:
        return "no palette entry for the new row's colour";
    case ErrorKind::ChangedDuringRun:
        return "changed during the run";
    case ErrorKind::NotABackup:
        return "not a backup";
    case ErrorKind::AttributeNotKept:
        return "its owner or attributes cannot be kept";
    case ErrorKind::ReadOnlyFile:
        return "read-only file";
    }
    return "unknown error";
}

std::string reasonText(ErrorKind kind, int systemError, const std::string& detail) {
    if (kind == ErrorKind::AttributeNotKept && !detail.empty()) {
        return "its " + detail; // "its group cannot be kept: operation not permitted"
    }
    std::string text = kind == ErrorKind::System ? systemReason(systemError) : kindReason(kind);
    if (!detail.empty()) {
        text += " (" + detail + ")";
    }
    return text;
}

std::string describe(ErrorKind kind, int systemError, const std::filesystem::path& path,
                     const std::string& detail) {
    const std::string reason = reasonText(kind, systemError, detail);
    return path.empty() ? reason : textOf(path) + ": " + reason;
}

} // namespace

Error::Error(ErrorKind kind, std::filesystem::path path, std::string detail, Refusal refusal)
    : Error(kind, 0, std::move(path), std::move(detail), std::move(refusal)) {}

Error::Error(ErrorKind kind, int systemError, std::filesystem::path path, std::string detail,
             Refusal refusal)
    : std::runtime_error(describe(kind, systemError, path, detail))
    , kind_(kind)
    , systemError_(systemError)
    , path_(std::move(path))
    , detail_(std::move(detail))
    , refusal_(std::move(refusal)) {}

Error Error::fromErrno(int errnoValue, std::filesystem::path path) {
    return Error(ErrorKind::System, errnoValue, std::move(path), {}, {});
}

std::string Error::reason() const {
    return reasonText(kind_, systemError_, detail_);
}

} // namespace pixtint
