#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pixtint {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ColourPair {
    Rgb from;
    Rgb to;
    friend bool operator==(const ColourPair&, const ColourPair&) = default;
};

// The colours a conversion replaces, applied in one pass: every pixel is matched against the
// original colours only, so A=B with B=A swaps them. Where one colour is given twice, the
// first pair wins. Matching is exact: no tolerance, no alpha.
class ColourMap {
public:
    explicit ColourMap(std::vector<ColourPair> pairs);
    ColourMap(Rgb from, Rgb to)
        : ColourMap(std::vector<ColourPair>{{from, to}}) {}

    // Recolours the whole blue-green-red pixels of `pixels` (no padding); a partial pixel at
    // the end is left. Answers how many pixels took a different colour.
    std::uint64_t recolor(std::span<std::uint8_t> pixels) const;

    const std::vector<ColourPair>& pairs() const { return pairs_; }

private:
    std::vector<ColourPair> pairs_; // first of each FROM colour only
};

} // namespace pixtint
