#include "engine/ColourMap.h"

#include "engine/RecolorRun.h"

#include <algorithm>

namespace pixtint {

namespace {

constexpr std::size_t BytesPerPixel = 3;

// A pair that maps a colour onto itself changes nothing, but it still shields its colour
// from later pairs, so it stays in the list.
std::vector<ColourPair> firstOfEachColour(std::vector<ColourPair> pairs) {
    std::vector<ColourPair> kept;
    for (const ColourPair& pair : pairs) {
        const bool seen = std::any_of(kept.begin(), kept.end(),
                                      [&](const ColourPair& k) { return k.from == pair.from; });
        if (!seen) {
            kept.push_back(pair);
        }
    }
    return kept;
}

const ColourPair* pairFor(const std::vector<ColourPair>& pairs, const std::uint8_t* pixel) {
    for (const ColourPair& pair : pairs) {
        if (pixel[0] == pair.from.blue && pixel[1] == pair.from.green &&
            pixel[2] == pair.from.red) {
            return &pair;
        }
    }
    return nullptr;
}

// Several pairs: each pixel is looked up once, among the original colours only.
std::uint64_t recolorEachPixel(std::span<std::uint8_t> pixels,
                               const std::vector<ColourPair>& pairs) {
    std::uint64_t changed = 0;
    for (std::size_t offset = 0; offset + BytesPerPixel <= pixels.size(); offset += BytesPerPixel) {
        std::uint8_t* pixel = pixels.data() + offset;
        const ColourPair* pair = pairFor(pairs, pixel);
        if (pair != nullptr && pair->from != pair->to) {
            pixel[0] = pair->to.blue;
            pixel[1] = pair->to.green;
            pixel[2] = pair->to.red;
            ++changed;
        }
    }
    return changed;
}

} // namespace

ColourMap::ColourMap(std::vector<ColourPair> pairs)
    : pairs_(firstOfEachColour(std::move(pairs))) {}

std::uint64_t ColourMap::recolor(std::span<std::uint8_t> pixels) const {
    if (pairs_.size() == 1) {
        const ColourPair& only = pairs_.front();
        const std::uint64_t found = recolorRun(pixels, only.from, only.to);
        return only.from == only.to ? 0 : found;
    }
    return recolorEachPixel(pixels, pairs_);
}

} // namespace pixtint
