#pragma once

#include "engine/AppError.h"

#include <cstdint>
#include <initializer_list>
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

// The number of the AppError that `operation` throws, or 0 when it throws none.
int errorNumberOf(auto&& operation) {
    try {
        operation();
    } catch (const AppError& error) {
        return error.number();
    }
    return 0;
}

} // namespace pixtint
