#include "engine/RecolorRun.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pixtint {

namespace {

constexpr std::size_t BytesPerPixel = 3;

void paint(std::uint8_t* pixel, Rgb colour) {
    pixel[0] = colour.blue;
    pixel[1] = colour.green;
    pixel[2] = colour.red;
}

std::uint64_t recolorOneByOne(std::span<std::uint8_t> pixels, Rgb before, Rgb after) {
    std::uint64_t found = 0;
    for (std::size_t offset = 0; offset + BytesPerPixel <= pixels.size(); offset += BytesPerPixel) {
        std::uint8_t* pixel = pixels.data() + offset;
        if (pixel[0] == before.blue && pixel[1] == before.green && pixel[2] == before.red) {
            paint(pixel, after);
            ++found;
        }
    }
    return found;
}

#if defined(__SSE2__)

// Sixteen pixels are 48 bytes, three registers. Each register is compared with the before
// colour repeated from the phase it starts at; a pixel matches when its three byte bits are
// all set. Matches are few, so they are painted one by one.
constexpr std::size_t BlockPixels = 16;
constexpr std::size_t BlockBytes = BlockPixels * BytesPerPixel;
constexpr std::uint64_t FirstByteOfEachPixel = 0x249249249249; // every third bit of 48

__m128i repeatedColour(Rgb colour, std::size_t phase) {
    const std::uint8_t stored[BytesPerPixel] = {colour.blue, colour.green, colour.red};
    alignas(16) std::uint8_t lanes[16];
    for (std::size_t lane = 0; lane < 16; ++lane) {
        lanes[lane] = stored[(lane + phase) % BytesPerPixel];
    }
    return _mm_load_si128(reinterpret_cast<const __m128i*>(lanes));
}

std::uint64_t equalBytes(const std::uint8_t* bytes, __m128i pattern) {
    const __m128i loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    return static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(loaded, pattern)));
}

// Answers the bytes walked; `found` grows by the pixels found among them.
std::size_t recolorBlocks(std::span<std::uint8_t> pixels, Rgb before, Rgb after,
                          std::uint64_t& found) {
    const __m128i patterns[3] = {repeatedColour(before, 0), repeatedColour(before, 1),
                                 repeatedColour(before, 2)};
    std::size_t offset = 0;
    for (; offset + BlockBytes <= pixels.size(); offset += BlockBytes) {
        std::uint8_t* block = pixels.data() + offset;
        const std::uint64_t equal = equalBytes(block, patterns[0]) |
                                    equalBytes(block + 16, patterns[1]) << 16 |
                                    equalBytes(block + 32, patterns[2]) << 32;
        std::uint64_t matches = equal & equal >> 1 & equal >> 2 & FirstByteOfEachPixel;
        found += static_cast<std::uint64_t>(__builtin_popcountll(matches));
        for (; matches != 0; matches &= matches - 1) {
            paint(block + __builtin_ctzll(matches), after);
        }
    }
    return offset;
}

#else

std::size_t recolorBlocks(std::span<std::uint8_t>, Rgb, Rgb, std::uint64_t&) {
    return 0;
}

#endif

} // namespace

std::uint64_t recolorRun(std::span<std::uint8_t> pixels, Rgb before, Rgb after) {
    std::uint64_t found = 0;
    const std::size_t done = recolorBlocks(pixels, before, after, found);
    return found + recolorOneByOne(pixels.subspan(done), before, after);
}

} // namespace pixtint
