#pragma once

#include "engine/Error.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace pixtint {

using Bytes = std::vector<std::uint8_t>;

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const auto& part : parts) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

// The Error that `operation` throws, if any.
std::optional<Error> errorOf(auto&& operation) {
    try {
        operation();
    } catch (const Error& error) {
        return error;
    }
    return std::nullopt;
}

// The kind of the Error that `operation` throws; System also when it throws none.
ErrorKind errorKindOf(auto&& operation) {
    const auto error = errorOf(operation);
    return error ? error->kind() : ErrorKind::System;
}

// The errno of the failed system call `operation` throws, or 0.
int errnoOf(auto&& operation) {
    const auto error = errorOf(operation);
    return error ? error->systemError() : 0;
}

} // namespace pixtint
