// SPDX-License-Identifier: MIT
#include "filesafety/FileContents.h"

#include "filesafety/PosixFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pixtint {

bool sameContents(int one, int other, const std::filesystem::path& onePath,
                  const std::filesystem::path& otherPath) {
    std::vector<std::uint8_t> left(1 << 16);
    std::vector<std::uint8_t> right(1 << 16);
    for (std::uint64_t offset = 0;; offset += left.size()) {
        const std::size_t count = readFullyAt(one, offset, left, onePath);
        if (readFullyAt(other, offset, right, otherPath) != count ||
            !std::equal(left.begin(), left.begin() + count, right.begin())) {
            return false;
        }
        if (count < left.size()) {
            return true;
        }
    }
}

} // namespace pixtint
