// SPDX-License-Identifier: MIT
// Feeds arbitrary files, and pictures of every kind converted made from arbitrary bytes, to
// the conversion core and checks every result against a plain pixel-by-pixel model: the 24-bit
// test, the colour walk with one pair and with several and a tolerance, palette entries, the
// growth of a 16 x 15 picture, the stream in chunks small enough that small files reach their
// edges, and the preview's reads at any offset. Any difference, a changed source or a stray
// file aborts.
//
// The last bytes of an input choose the request; the rest is the file.

#include "conversion/ConvertedPicture.h"
#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"
#include "engine/BmpHeader.h"
#include "engine/BmpLayout.h"
#include "engine/ByteStream.h"
#include "engine/EntryUse.h"
#include "engine/Error.h"
#include "engine/RleRuns.h"
#include "filesafety/FileByteSource.h"
#include "fuzz/ExpectedRecolouring.h"
#include "tests/support/BmpBytes.h"
#include "tests/support/MemoryBytes.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fuzzer/FuzzedDataProvider.h>
#include <iterator>
#include <optional>
#include <random>
#include <span>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

constexpr std::size_t SmallestChunk = 64; // convertFile's floor for largestChunk

// A private folder for one input, in memory where possible, removed after it: the fuzzer
// ends without running static destructors. An input that breaks an invariant leaves its
// folder and file behind.
class WorkFolder {
public:
    WorkFolder() {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string name = (base / "pixtint-fuzz-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        path = name;
    }
    ~WorkFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    std::filesystem::path path;
};

void require(bool condition, const char* invariant) {
    if (!condition) {
        std::fprintf(stderr, "invariant violated: %s\n", invariant);
        std::abort();
    }
}

void writeBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    require(file.good(), "fuzz input written");
}

Bytes readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    require(file.good(), "source readable");
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::size_t entryCount(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

// ---- The model: the conversion done the slow way, one pixel and one entry at a time. ----
//
// Where the header puts things is read by the engine's own reader (its checks are exercised
// by every input, and it must never read outside the file); what the conversion does with
// them is worked out by a reader written apart from the program's (ExpectedRecolouring.h),
// and the growth is modelled here.

struct Converted : ExpectedRecolouring::Counts {
    std::optional<ErrorKind> error;
    Bytes bytes;
    bool grown = false;
};

std::uint32_t get(const Bytes& bytes, std::uint64_t at, std::uint32_t size);
void put(Bytes& bytes, std::uint64_t at, std::uint32_t size, std::uint32_t value);

std::uint32_t shiftedValue(Rgb colour, const ChannelShifts& shifts) {
    return std::uint32_t{colour.red} << shifts.red | std::uint32_t{colour.green} << shifts.green |
           std::uint32_t{colour.blue} << shifts.blue;
}

ExpectedRecolouring::Rows rowsOf(const BmpLayout& layout) {
    return {layout.pixelOffset, layout.stride, layout.rowCount,
            static_cast<std::uint64_t>(layout.width), layout.bitsPerPixel / 8u};
}

// Where the pixels' channels are, as masks of a little-endian pixel.
ExpectedRecolouring::Masks masksOf(const BmpLayout& layout) {
    const auto mask = [](unsigned shift) {
        return std::uint32_t{0xFF} << shift;
    };
    if (layout.shifts) {
        return {mask(layout.shifts->red), mask(layout.shifts->green), mask(layout.shifts->blue)};
    }
    const ChannelBytes channels = layout.bitsPerPixel == 24 ? ChannelBytes{} : layout.channels;
    return {mask(8u * channels.red), mask(8u * channels.green), mask(8u * channels.blue)};
}

void put(Bytes& bytes, std::uint64_t at, std::uint32_t size, std::uint32_t value) {
    for (std::uint32_t i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t get(const Bytes& bytes, std::uint64_t at, std::uint32_t size) {
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < size; ++i) {
        value |= std::uint32_t{bytes[at + i]} << (8 * i);
    }
    return value;
}

Converted failing(ErrorKind kind) {
    Converted result;
    result.error = kind;
    return result;
}

// The grown file: the new row inserted where the top (bottom) row is, one more palette entry
// when none holds the colour (in a full table, the last entry no pixel draws takes it), and
// the header fields that depend on them.
Converted modelGrowth(Converted result, const Bytes& original, const BmpLayout& layout,
                      const ConversionRequest& request, const std::vector<std::uint64_t>& use) {
    const bool top = request.growth == Growth::Top;
    const bool afterLast = top == (layout.height > 0);
    std::uint64_t rowAt = afterLast ? layout.rowsEnd() : layout.pixelOffset;
    const Rgb fill = request.pairs.front().to;
    Bytes row(layout.stride, 0);
    Bytes codes; // a compressed picture's: what brings its data to the new row
    if (layout.compressed()) {
        rowAt = layout.pixelOffset;
        if (top) {
            const MemorySource source(original);
            ByteStream stream(source, layout.pixelOffset);
            const RleEnd end = walkRle(stream, layout, [](auto, auto, auto) {});
            const std::uint64_t reached = end.row + (end.column > 0 ? 1 : 0);
            if (reached > 15) {
                return failing(ErrorKind::Truncated);
            }
            if (end.column > 0) {
                codes.insert(codes.end(), {0, 0});
            }
            if (reached < 15) {
                codes.insert(codes.end(), {0, 2, 0, static_cast<std::uint8_t>(15 - reached)});
            }
            rowAt = end.codeOffset;
        }
    }
    bool added = false;
    if (layout.colours == ColourLayout::Palette) {
        std::uint32_t index = layout.entryCount;
        for (std::uint32_t i = 0; i < layout.entryCount && index == layout.entryCount; ++i) {
            const std::uint64_t at = layout.paletteOffset + std::uint64_t{i} * layout.entrySize;
            if (Rgb{result.bytes[at + 2], result.bytes[at + 1], result.bytes[at]} == fill) {
                index = i;
            }
        }
        if (index == layout.entryCount && layout.entryCount >= layout.entryCapacity) {
            // A full table lends the new row its last entry that no pixel draws.
            for (std::uint32_t i = layout.entryCount; i-- > 0 && index == layout.entryCount;) {
                if (use[i] == 0) {
                    index = i;
                }
            }
            if (index == layout.entryCount) {
                return failing(ErrorKind::NoPaletteRoom);
            }
            const std::uint64_t at = layout.paletteOffset + std::uint64_t{index} * layout.entrySize;
            result.bytes[at] = fill.blue;
            result.bytes[at + 1] = fill.green;
            result.bytes[at + 2] = fill.red;
        }
        added = index == layout.entryCount;
        for (int x = 0; x < 16; ++x) {
            const int bit = x * layout.bitsPerPixel;
            row[static_cast<std::size_t>(bit / 8)] |=
                static_cast<std::uint8_t>(index << (8 - layout.bitsPerPixel - bit % 8));
        }
        if (layout.compressed()) { // one run of 16, then the end of the row
            const auto value = layout.bitsPerPixel == 4 ? index << 4 | index : index;
            codes.insert(codes.end(), {16, static_cast<std::uint8_t>(value), 0, 0});
            row = codes;
        }
    } else {
        const std::uint64_t size = layout.bitsPerPixel / 8;
        const ChannelBytes channels = size == 3 ? ChannelBytes{} : layout.channels;
        const std::uint64_t neighbour = afterLast ? rowAt - layout.stride : rowAt;
        for (std::uint64_t x = 0; x < 16 && layout.shifts; ++x) {
            const std::uint32_t kept = get(original, neighbour + x * 4, 4);
            put(row, x * 4, 4,
                (kept & ~layout.shifts->colourBits()) | shiftedValue(fill, *layout.shifts));
        }
        for (std::uint64_t x = 0; x < 16 && !layout.shifts; ++x) {
            row[x * size + channels.red] = fill.red;
            row[x * size + channels.green] = fill.green;
            row[x * size + channels.blue] = fill.blue;
            if (size == 4) {
                row[x * 4 + channels.fourth] = original[neighbour + x * 4 + channels.fourth];
            }
        }
    }
    Bytes& bytes = result.bytes;
    const std::uint64_t grownSize = bytes.size() + row.size() + (added ? layout.entrySize : 0);
    const bool core = layout.headerSize == 12;
    put(bytes, core ? 20 : 22, core ? 2 : 4,
        static_cast<std::uint32_t>(layout.height > 0 ? 16 : -16));
    put(bytes, 2, 4, static_cast<std::uint32_t>(grownSize));
    if (layout.headerSize >= 24 && !layout.compressed()) {
        put(bytes, 34, 4, static_cast<std::uint32_t>(16 * layout.stride));
    } else if (layout.headerSize >= 24 && get(bytes, 34, 4) != 0) {
        put(bytes, 34, 4, get(bytes, 34, 4) + static_cast<std::uint32_t>(row.size()));
    }
    const std::uint32_t profile = layout.headerSize == 124 ? get(bytes, 126, 4) : 0;
    std::uint32_t movedProfile = profile;
    if (profile != 0 && 14 + std::uint64_t{profile} >= rowAt) {
        movedProfile += static_cast<std::uint32_t>(row.size());
    }
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(rowAt), row.begin(), row.end());
    if (added) {
        put(bytes, 46, 4, layout.entryCount + 1);
        put(bytes, 10, 4, static_cast<std::uint32_t>(layout.pixelOffset + 4));
        if (profile != 0 && 14 + std::uint64_t{profile} >= layout.paletteEnd()) {
            movedProfile += 4;
        }
        const Bytes entry{fill.blue, fill.green, fill.red, 0};
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(layout.paletteEnd()),
                     entry.begin(), entry.end());
    }
    if (profile != 0) {
        put(bytes, 126, 4, movedProfile);
    }
    result.grown = true;
    return result;
}

Converted modelConversion(const Bytes& file, const ConversionRequest& request) {
    BmpLayout layout;
    try {
        layout = readBmpLayout(MemorySource(file));
    } catch (const Error& error) {
        return failing(error.kind());
    }
    if (!request.everyKind && layout.colours != ColourLayout::Bgr24) {
        return failing(ErrorKind::Unsupported);
    }
    const bool rle = layout.compressed();
    const bool grow = request.growth != Growth::None && layout.width == 16 &&
                      layout.rowCount == 15 && !request.pairs.empty();
    if (grow && !rle && file.size() < layout.rowsEnd()) {
        return failing(ErrorKind::Truncated);
    }
    Converted result;
    result.bytes = file;
    const ExpectedRecolouring oracle(request.pairs, request.tolerance);
    std::vector<std::uint64_t> use;
    if (layout.colours == ColourLayout::Palette) {
        try {
            use = rle ? countEntryUse(MemorySource(file), layout)
                      : ExpectedRecolouring::entryUse(file, rowsOf(layout), layout.bitsPerPixel,
                                                      layout.entryCount);
        } catch (const Error& error) {
            return failing(error.kind());
        }
        for (std::uint32_t i = 0; i < layout.entryCount; ++i) {
            if (use[i] > 0) { // an entry no pixel draws keeps its colour
                oracle.recolour(result.bytes,
                                layout.paletteOffset + std::uint64_t{i} * layout.entrySize, 3,
                                ExpectedRecolouring::Masks{}, result, use[i], true);
            }
        }
    } else {
        oracle.recolourRows(result.bytes, rowsOf(layout), masksOf(layout), result);
    }
    if (request.nearMisses == NearMisses::Ignored) {
        result.nearMisses = 0; // a walk not asked for them reports none
    }
    return grow ? modelGrowth(std::move(result), file, layout, request, use) : result;
}

// ---- What the input asks. ----

enum class Shape {
    AsItIs,  // the bytes as they came
    Patched, // the same with the width and height of a 16 x 15 picture
    Made,    // a picture of a kind the input chooses, with the bytes as its pixels
};

struct Input {
    Bytes file;
    ConversionRequest onePair;
    ConversionRequest severalPairs;
    std::size_t smallChunk = SmallestChunk;
    std::uint32_t readSeed = 0;
};

Rgb colourAt(const Bytes& file, std::size_t offset, Rgb otherwise) {
    if (offset + 3 > file.size()) {
        return otherwise;
    }
    return {file[offset + 2], file[offset + 1], file[offset]};
}

// A picture of 16 x 15 (or 5 x 15) of one of the kinds converted, its palette and pixel data
// taken from `bytes`; RLE data is taken as it comes, so most of it is damaged.
Bytes madePicture(const Bytes& bytes, std::uint8_t kind) {
    static constexpr int Bits[] = {1, 4, 8, 24, 32, 4, 8, 32};
    static constexpr std::uint32_t Headers[] = {40, 12, 52, 56, 108, 124, 64, 40};
    const int bits = Bits[kind & 7];
    BmpRecipe recipe{.width = (kind & 0x80) != 0 ? 5 : 16,
                     .height = (kind & 0x40) != 0 ? -15 : 15,
                     .bitCount = bits,
                     .headerSize = Headers[(kind >> 3) & 7]};
    if (recipe.headerSize == 12) {
        recipe.height = 15;
        recipe.bitCount = bits == 32 ? 24 : bits;
    }
    std::size_t used = 0;
    if (recipe.bitCount <= 8) {
        const std::size_t entries = std::min<std::size_t>(std::size_t{1} << recipe.bitCount,
                                                          1 + (bytes.empty() ? 0 : bytes[0] % 16));
        for (std::size_t i = 0; i < entries; ++i) {
            const Rgb colour = colourAt(bytes, 1 + 3 * i, Rgb{});
            recipe.palette.push_back({colour.red, colour.green, colour.blue});
        }
        used = 1 + 3 * entries;
        const bool rle = (kind & 7) >= 5 && recipe.headerSize != 12 && recipe.height > 0;
        recipe.compression = rle ? (recipe.bitCount == 8 ? 1u : 2u) : 0u;
    } else if (recipe.bitCount == 32 && (kind & 7) == 7 && (kind & 0x40) == 0) {
        recipe.compression = 3; // bit fields, red and blue swapped, alpha in the first byte
        recipe.masks[0] = 0x0000FF00;
        recipe.masks[1] = 0x00FF0000;
        recipe.masks[2] = 0xFF000000;
        recipe.masks[3] = 0x000000FF;
    } else if (recipe.bitCount == 32 && (kind & 7) == 7) {
        recipe.compression = 3; // bit fields that are not whole bytes
        recipe.masks[0] = 0xFF000000;
        recipe.masks[1] = 0x00000FF0;
        recipe.masks[2] = 0x000FF000;
        recipe.masks[3] = 0;
    }
    recipe.pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(used, bytes.size())),
                         bytes.end());
    if (recipe.compression == 0) {
        recipe.pixels.resize(strideFor(recipe.width, recipe.bitCount) * 15, 0x5A);
    }
    if (recipe.headerSize == 124) {
        recipe.tail = {'P', 'R', 'O', 'F'};
    }
    Bytes picture = makeBmp(recipe);
    if (recipe.headerSize == 124) {
        put(picture, 126, 4, static_cast<std::uint32_t>(picture.size() - 4 - 14));
    }
    return picture;
}

Bytes shaped(Bytes bytes, Shape shape, std::uint8_t kind) {
    if (shape == Shape::Patched && bytes.size() >= 26) {
        BmpHeader::writeInt32(bytes.data(), BmpHeader::WidthOffset, 16);
        BmpHeader::writeInt32(bytes.data(), BmpHeader::HeightOffset, 15);
    }
    if (shape == Shape::Made) {
        return madePicture(bytes, kind);
    }
    return bytes;
}

// Colours the file really holds, so that pairs match; the pairs include a swap, a colour given
// twice (the first pair wins) and one mapped onto itself (it shields its colour).
std::vector<ColourPair> severalPairsFor(const Bytes& file, Rgb after, std::size_t count) {
    const std::size_t at = file.size() > 60 ? file.size() - 60 : 0;
    const Rgb first = colourAt(file, at, {});
    const Rgb second = colourAt(file, at + 3, after);
    const Rgb third = colourAt(file, at + 6, first);
    const std::vector<ColourPair> candidates{
        {first, second}, {second, first}, {first, after}, {third, third}, {after, first}};
    return {candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(count)};
}

Input interpret(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto flags = provider.ConsumeIntegral<std::uint8_t>();
    const auto kind = provider.ConsumeIntegral<std::uint8_t>();
    const Rgb after{provider.ConsumeIntegral<std::uint8_t>(),
                    provider.ConsumeIntegral<std::uint8_t>(),
                    provider.ConsumeIntegral<std::uint8_t>()};
    const auto pairCount = provider.ConsumeIntegralInRange<std::size_t>(0, 5);
    const auto tolerance = provider.ConsumeIntegral<std::uint8_t>();
    Input input;
    // Below 64 as well, which convertFile takes as 64.
    input.smallChunk = provider.ConsumeIntegralInRange<std::size_t>(1, 320);
    input.readSeed = provider.ConsumeIntegral<std::uint32_t>();
    const auto growth = static_cast<Growth>(std::min(flags & 3, 2));
    const auto shape = static_cast<Shape>(std::min((flags >> 2) & 3, 2));
    const bool everyKind = (flags & 0x10) != 0;
    const auto nearMisses = (flags & 0x40) != 0 ? NearMisses::Ignored : NearMisses::Counted;
    // Mostly tolerances around the near-miss reach, sometimes any.
    const auto chosenTolerance =
        static_cast<std::uint8_t>((flags & 0x20) != 0 ? tolerance : tolerance % 10);
    input.file = shaped(provider.ConsumeRemainingBytes<std::uint8_t>(), shape, kind);
    const Rgb first = colourAt(input.file, input.file.size() > 60 ? input.file.size() - 60 : 0, {});
    input.onePair = {{{first, after}}, growth, false, chosenTolerance, everyKind, nearMisses};
    input.severalPairs = {severalPairsFor(input.file, after, pairCount),
                          growth,
                          false,
                          chosenTolerance,
                          everyKind,
                          nearMisses};
    return input;
}

template <typename Operation> std::optional<ErrorKind> errorOf(Operation&& operation) {
    try {
        operation();
    } catch (const Error& error) {
        return error.kind();
    }
    return std::nullopt;
}

// ---- The checks. ----

void checkConvertibility(const std::filesystem::path& source, const Bytes& file) {
    bool plain = false;
    bool signedToo = false;
    const auto error = errorOf([&] {
        plain = isBitmap24Bit(source);
        signedToo = isSignedBitmap24Bit(source);
    });
    if (file.size() < 29) {
        require(error == ErrorKind::TooShort, "a short file is too short");
        return;
    }
    require(!error && plain == (file[28] == 24), "byte 28 decides");
    require(signedToo == (plain && file[0] == 'B' && file[1] == 'M'), "BM and byte 28 decide");
}

void checkStream(const ByteSource& source, const ConversionRequest& request,
                 const Converted& expected, std::size_t largestChunk) {
    Bytes streamed;
    ConversionResult result;
    const auto error = errorOf([&] {
        result = convertFile(
            source, request,
            [&](std::span<const std::uint8_t> chunk) {
                require(chunk.size() <= std::max(largestChunk, SmallestChunk),
                        "chunks stay within the largest chunk");
                streamed.insert(streamed.end(), chunk.begin(), chunk.end());
            },
            largestChunk);
    });
    require(error == expected.error, "the conversion fails as the model does");
    if (error) {
        return;
    }
    require(streamed == expected.bytes, "the streamed bytes are the model's");
    require(result.counts.pixelsChanged() == expected.pixelsChanged,
            "the changed pixels are counted");
    require(result.counts.entriesChanged() == expected.entriesChanged,
            "the changed entries are counted");
    require(result.counts.nearMisses() == expected.nearMisses, "the near misses are counted");
    require(result.grown == expected.grown, "the growth is reported");
}

// The converted bytes from `offset` on, as many as `length` asks and the picture holds.
std::span<const std::uint8_t> expectedRead(const Bytes& bytes, std::uint64_t offset,
                                           std::size_t length) {
    const std::size_t from = std::min<std::uint64_t>(offset, bytes.size());
    return std::span(bytes).subspan(from, std::min(length, bytes.size() - from));
}

// Reads the whole picture, then at offsets anywhere in it and a little past its end, of
// lengths that start and end inside pixels, inside padding and inside the header.
void checkPreview(const std::filesystem::path& path, const ConversionRequest& request,
                  const Converted& expected, std::uint32_t seed) {
    std::optional<ConvertedPicture> picture;
    const auto error = errorOf([&] { picture.emplace(path, request); });
    require(error == expected.error, "the preview fails as the conversion does");
    if (error) {
        return;
    }
    const Bytes& bytes = expected.bytes;
    require(picture->size() == bytes.size(), "the preview has the converted size");
    require(picture->grown() == expected.grown, "the preview knows it grew");
    std::minstd_rand random(seed + 1);
    for (int read = 0; read < 8; ++read) {
        const std::uint64_t offset = read == 0 ? 0 : random() % (bytes.size() + 16);
        Bytes buffer(read == 0 ? bytes.size() + 8 : random() % 300);
        const std::size_t count = picture->readAt(offset, buffer);
        const auto wanted = expectedRead(bytes, offset, buffer.size());
        require(count == wanted.size(), "a read stops only at the end");
        require(std::equal(wanted.begin(), wanted.end(), buffer.begin()),
                "a read gives the streamed bytes");
    }
}

void checkConversion(const std::filesystem::path& path, const Input& input,
                     const ConversionRequest& request) {
    const Converted expected = modelConversion(input.file, request);
    std::optional<FileByteSource> source;
    require(!errorOf([&] { source.emplace(path); }), "the source opens");
    for (const std::size_t chunk : {ConversionChunkSize, input.smallChunk}) {
        checkStream(*source, request, expected, chunk);
    }
    checkPreview(path, request, expected, input.readSeed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input = interpret(data, size);
    const WorkFolder work;
    const auto path = work.path / "in.bmp";
    writeBytes(path, input.file);

    checkConvertibility(path, input.file);
    checkConversion(path, input, input.onePair);
    checkConversion(path, input, input.severalPairs);

    require(readBytes(path) == input.file, "the source is never changed");
    require(entryCount(work.path) == 1, "nothing else is written");
    return 0;
}
