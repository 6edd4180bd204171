#pragma once

#include <cstdint>

namespace pixtint {

// What converting one file did (or, in a dry run, would do) to its bytes.
struct ConversionResult {
    std::uint64_t pixelsChanged = 0; // pixels the colour walk gave another colour
    bool grown = false;              // a 16 x 15 picture became 16 x 16

    // False when the converted bytes are the file's own: there is nothing to write.
    bool changed() const { return grown || pixelsChanged > 0; }
};

} // namespace pixtint
