// SPDX-License-Identifier: MIT
#include "engine/RecolourRun.h"

#include "engine/BmpLayout.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pixtint {

namespace {

// A pixel's stored bytes for `colour`; the fourth byte of a four-byte pixel is not compared.
struct StoredColour {
    std::uint8_t bytes[4] = {};
};

StoredColour storedColour(Rgb colour, const ChannelBytes& channels) {
    StoredColour stored;
    stored.bytes[channels.red] = colour.red;
    stored.bytes[channels.green] = colour.green;
    stored.bytes[channels.blue] = colour.blue;
    return stored;
}

class OnePair {
public:
    OnePair(std::size_t pixelSize, const ChannelBytes& channels, Rgb from, Rgb to,
            std::uint8_t tolerance, bool transparent)
        : pixelSize_(pixelSize)
        , channels_(channels)
        , from_(storedColour(from, channels))
        , to_(storedColour(to, channels))
        , tolerance_(tolerance)
        , transparent_(transparent) {}

    // Paints a matched pixel; answers whether its colour changed.
    bool paint(std::uint8_t* pixel) const {
        if (transparent_) {
            if ((pixel[0] | pixel[1] | pixel[2] | pixel[3]) == 0) {
                return false;
            }
            std::fill_n(pixel, 4, std::uint8_t{0});
            return true;
        }
        const std::uint8_t red = channels_.red, green = channels_.green, blue = channels_.blue;
        if (pixel[red] == to_.bytes[red] && pixel[green] == to_.bytes[green] &&
            pixel[blue] == to_.bytes[blue]) {
            return false;
        }
        pixel[red] = to_.bytes[red];
        pixel[green] = to_.bytes[green];
        pixel[blue] = to_.bytes[blue];
        return true;
    }

    int distance(const std::uint8_t* pixel) const {
        int largest = 0;
        for (const std::uint8_t channel : {channels_.red, channels_.green, channels_.blue}) {
            const int difference = pixel[channel] - from_.bytes[channel];
            largest = std::max(largest, difference < 0 ? -difference : difference);
        }
        return largest;
    }

    template <bool CountNearMisses>
    void walkOneByOne(std::span<std::uint8_t> pixels, RunCounts& counts) const {
        for (std::size_t offset = 0; offset + pixelSize_ <= pixels.size(); offset += pixelSize_) {
            std::uint8_t* pixel = pixels.data() + offset;
            const int distance = this->distance(pixel);
            if (distance <= tolerance_) {
                counts.pixelsChanged += paint(pixel) ? 1 : 0;
            } else if (CountNearMisses && distance <= NearMissReach) {
                ++counts.nearMisses;
            }
        }
    }

    std::size_t pixelSize() const { return pixelSize_; }
    const StoredColour& from() const { return from_; }
    std::uint8_t tolerance() const { return tolerance_; }

private:
    std::size_t pixelSize_;
    ChannelBytes channels_;
    StoredColour from_;
    StoredColour to_;
    std::uint8_t tolerance_;
    bool transparent_;
};

#if defined(__SSE2__)

// Sixteen pixels are three registers (four for four-byte pixels). Each register is compared
// with the FROM colour repeated from the phase it starts at; a pixel matches when the bits
// of all its bytes are set, the fourth byte's always. Matches are few, so they are painted
// one by one.
constexpr std::size_t BlockPixels = 16;

class Blocks {
public:
    // `fourthByte`: the byte of a four-byte pixel that is never compared.
    Blocks(const OnePair& pair, std::size_t fourthByte)
        : size_(pair.pixelSize())
        , exact_(pair.tolerance() == 0) {
        for (std::size_t r = 0; r < size_; ++r) {
            alignas(16) std::uint8_t lanes[16];
            std::uint64_t ignored = 0;
            for (std::size_t lane = 0; lane < 16; ++lane) {
                const std::size_t byte = (r * 16 + lane) % size_;
                lanes[lane] = pair.from().bytes[byte];
                if (size_ == 4 && byte == fourthByte) {
                    ignored |= std::uint64_t{1} << lane;
                }
            }
            patterns_[r] = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes));
            ignoredBits_ |= ignored << (16 * r);
        }
        tolerance_ = _mm_set1_epi8(static_cast<char>(pair.tolerance()));
        reach_ = _mm_set1_epi8(static_cast<char>(NearMissReach));
    }

    std::size_t blockBytes() const { return BlockPixels * size_; }

    // Bits, one per byte of the block, set where the byte is within `limit` of the pattern.
    std::uint64_t withinBits(const std::uint8_t* block, __m128i limit, bool exact) const {
        std::uint64_t bits = ignoredBits_;
        for (std::size_t r = 0; r < size_; ++r) {
            const __m128i loaded =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * r));
            __m128i within;
            if (exact) {
                within = _mm_cmpeq_epi8(loaded, patterns_[r]);
            } else {
                const __m128i difference = _mm_or_si128(_mm_subs_epu8(loaded, patterns_[r]),
                                                        _mm_subs_epu8(patterns_[r], loaded));
                within = _mm_cmpeq_epi8(_mm_subs_epu8(difference, limit), _mm_setzero_si128());
            }
            bits |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(within))}
                    << (16 * r);
        }
        return bits;
    }

    // One bit per pixel, at its first byte, where every byte of the pixel is set.
    std::uint64_t wholePixels(std::uint64_t bits) const {
        if (size_ == 3) {
            return bits & bits >> 1 & bits >> 2 & 0x249249249249;
        }
        return bits & bits >> 1 & bits >> 2 & bits >> 3 & 0x1111111111111111;
    }

    // Answers the bytes walked. Counting near misses compares every block a second time, so
    // a walk that is not asked for them is a walk without that code.
    template <bool CountNearMisses>
    std::size_t walk(std::span<std::uint8_t> pixels, const OnePair& pair, RunCounts& counts) const {
        const std::size_t step = blockBytes();
        std::size_t offset = 0;
        for (; offset + step <= pixels.size(); offset += step) {
            std::uint8_t* block = pixels.data() + offset;
            std::uint64_t matches = wholePixels(withinBits(block, tolerance_, exact_));
            if constexpr (CountNearMisses) {
                const std::uint64_t near = wholePixels(withinBits(block, reach_, false));
                counts.nearMisses +=
                    static_cast<std::uint64_t>(__builtin_popcountll(near & ~matches));
            }
            for (; matches != 0; matches &= matches - 1) {
                counts.pixelsChanged += pair.paint(block + __builtin_ctzll(matches)) ? 1 : 0;
            }
        }
        return offset;
    }

private:
    std::size_t size_;
    bool exact_;
    __m128i patterns_[4];
    std::uint64_t ignoredBits_ = 0;
    __m128i tolerance_;
    __m128i reach_;
};

template <bool CountNearMisses>
std::size_t walkBlocks(std::span<std::uint8_t> pixels, const OnePair& pair,
                       const ChannelBytes& channels, RunCounts& counts) {
    return Blocks(pair, channels.fourth).walk<CountNearMisses>(pixels, pair, counts);
}

#else

template <bool CountNearMisses>
std::size_t walkBlocks(std::span<std::uint8_t>, const OnePair&, const ChannelBytes&, RunCounts&) {
    return 0;
}

#endif

template <bool CountNearMisses>
RunCounts walk(std::span<std::uint8_t> pixels, const ChannelBytes& channels, const OnePair& pair) {
    RunCounts counts;
    const std::size_t done = walkBlocks<CountNearMisses>(pixels, pair, channels, counts);
    pair.walkOneByOne<CountNearMisses>(pixels.subspan(done), counts);
    return counts;
}

} // namespace

RunCounts recolourRun(std::span<std::uint8_t> pixels, std::size_t pixelSize,
                      const ChannelBytes& channels, Rgb from, Rgb to, std::uint8_t tolerance,
                      NearMisses nearMisses, bool transparent) {
    const OnePair pair(pixelSize, channels, from, to, tolerance, transparent);
    // A tolerance of the reach or more matches every pixel that could be a near miss.
    if (nearMisses == NearMisses::Counted && tolerance < NearMissReach) {
        return walk<true>(pixels, channels, pair);
    }
    return walk<false>(pixels, channels, pair);
}

} // namespace pixtint
