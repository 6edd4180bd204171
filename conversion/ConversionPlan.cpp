// SPDX-License-Identifier: MIT
#include "conversion/ConversionPlan.h"

#include "engine/Error.h"

namespace pixtint {

std::vector<std::uint8_t> readExactly(const ByteSource& source, std::uint64_t offset,
                                      std::uint64_t count) {
    std::vector<std::uint8_t> bytes(count);
    if (source.readAt(offset, bytes) < count) {
        throw Error(ErrorKind::TooShort, source.path());
    }
    return bytes;
}

} // namespace pixtint
