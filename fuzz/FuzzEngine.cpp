// Feeds arbitrary files to the conversion core and checks every result against a plain
// byte-by-byte model: the 24-bit test, the colour walk with one pair and with several, the
// growth of a 16 x 15 picture, the stream in chunks small enough that small files reach their
// edges, and the preview's reads at any offset. Any difference, a changed source or a stray
// file aborts.
//
// The last bytes of an input choose the request; the rest is the file.

#include "conversion/ConvertedPicture.h"
#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"
#include "engine/AppError.h"
#include "engine/BmpHeader.h"
#include "engine/Error.h"
#include "tests/support/BmpBytes.h"

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

using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr std::size_t HeaderSize = 54;
constexpr std::size_t GrownSize = 822;
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

std::int32_t int32At(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{bytes[offset + i]} << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

// ---- The model: the conversion done the slow way, one byte and one pixel at a time. ----

struct Converted {
    std::optional<int> error;
    Bytes bytes;
    std::uint64_t changed = 0;
    bool grown = false;
};

// Every whole pixel from the row start `from` to `to`, rows of `width` pixels each followed by
// the padding that brings it to a multiple of 4 bytes; a pixel takes the colour of the first
// pair for its own colour.
std::uint64_t modelWalk(Bytes& bytes, std::int64_t width, const std::vector<ColourPair>& pairs,
                        std::int64_t from, std::int64_t to) {
    const std::int64_t padding = (4 - (width * 3) % 4) % 4;
    std::uint64_t changed = 0;
    std::int64_t column = 0;
    for (std::int64_t offset = from; offset + 3 <= to; offset += 3) {
        std::uint8_t* pixel = bytes.data() + offset;
        const Rgb colour{pixel[2], pixel[1], pixel[0]};
        const auto pair = std::find_if(pairs.begin(), pairs.end(),
                                       [&](const ColourPair& p) { return p.from == colour; });
        if (pair != pairs.end() && pair->to != colour) {
            pixel[0] = pair->to.blue;
            pixel[1] = pair->to.green;
            pixel[2] = pair->to.red;
            ++changed;
        }
        if (++column == width) {
            offset += padding;
            column = 0;
        }
    }
    return changed;
}

// The first 822 bytes (zeros past the end), single header bytes patched, and a row of `fill`
// at the top, or at the bottom with every stored row moved up by one.
Bytes modelGrow(Bytes bytes, bool top, Rgb fill) {
    bytes[2] = 0x36;
    bytes[22] = 16;
    bytes[34] = 0;
    bytes[35] = 3;
    bytes.resize(GrownSize, 0);
    if (!top) {
        for (std::size_t offset = GrownSize - 1; offset >= HeaderSize; --offset) {
            bytes[offset] = bytes[offset - 48];
        }
    }
    const std::size_t row = top ? GrownSize - 48 : HeaderSize;
    for (std::size_t offset = row; offset < row + 48; offset += 3) {
        bytes[offset] = fill.blue;
        bytes[offset + 1] = fill.green;
        bytes[offset + 2] = fill.red;
    }
    return bytes;
}

Converted failing(int number) {
    Converted result;
    result.error = number;
    return result;
}

Converted modelConversion(const Bytes& file, const ConversionRequest& request) {
    if (file.size() < 26) {
        return failing(ErrorNumber::InputPastEndOfFile);
    }
    const std::int32_t width = int32At(file, 18);
    if (width <= 0) {
        return failing(ErrorNumber::InvalidArgument);
    }
    Converted result;
    result.grown = request.growth != Growth::None && width == 16 && int32At(file, 22) == 15;
    if (result.grown && request.pairs.empty()) {
        return failing(ErrorNumber::InvalidArgument); // no colour to fill the new row with
    }
    if (result.grown ? file.size() < 36 : file.size() <= HeaderSize) {
        return failing(ErrorNumber::SubscriptOutOfRange);
    }
    if (!result.grown) {
        result.bytes = file;
        result.changed = modelWalk(result.bytes, width, request.pairs, HeaderSize, file.size());
        return result;
    }
    // The new row keeps its colour: only the picture's own rows are walked.
    const bool top = request.growth == Growth::Top;
    result.bytes = modelGrow(file, top, request.pairs.front().to);
    const std::int64_t ownRows = top ? HeaderSize : HeaderSize + 48;
    result.changed = modelWalk(result.bytes, 16, request.pairs, ownRows, ownRows + 15 * 48);
    return result;
}

// ---- What the input asks. ----

enum class Shape {
    AsItIs,           // the bytes as they came
    Patched,          // the same with the width and height of a 16 x 15 picture
    SixteenByFifteen, // a true 16 x 15 picture with the bytes as its pixels
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

Bytes shaped(Bytes bytes, Shape shape) {
    if (shape == Shape::Patched && bytes.size() >= 26) {
        BmpHeader::writeInt32(bytes.data(), BmpHeader::WidthOffset, 16);
        BmpHeader::writeInt32(bytes.data(), BmpHeader::HeightOffset, 15);
    }
    if (shape == Shape::SixteenByFifteen) {
        Bytes picture = makeBmp24(16, 15, {});
        std::copy_n(bytes.begin(), std::min(bytes.size(), picture.size() - HeaderSize),
                    picture.begin() + HeaderSize);
        return picture;
    }
    return bytes;
}

// Colours the file really holds, so that pairs match; the pairs include a swap, a colour given
// twice (the first pair wins) and one mapped onto itself (it shields its colour).
std::vector<ColourPair> severalPairsFor(const Bytes& file, Rgb after, std::size_t count) {
    const Rgb first = colourAt(file, HeaderSize, {});
    const Rgb second = colourAt(file, HeaderSize + 3, after);
    const Rgb third = colourAt(file, HeaderSize + 6, first);
    const std::vector<ColourPair> candidates{
        {first, second}, {second, first}, {first, after}, {third, third}, {after, first}};
    return {candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(count)};
}

Input interpret(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto flags = provider.ConsumeIntegral<std::uint8_t>();
    const Rgb after{provider.ConsumeIntegral<std::uint8_t>(),
                    provider.ConsumeIntegral<std::uint8_t>(),
                    provider.ConsumeIntegral<std::uint8_t>()};
    const auto pairCount = provider.ConsumeIntegralInRange<std::size_t>(0, 5);
    Input input;
    // Below 64 as well, which convertFile takes as 64.
    input.smallChunk = provider.ConsumeIntegralInRange<std::size_t>(1, 320);
    input.readSeed = provider.ConsumeIntegral<std::uint32_t>();
    const auto growth = static_cast<Growth>(std::min(flags & 3, 2));
    const auto shape = static_cast<Shape>(std::min((flags >> 2) & 3, 2));
    input.file = shaped(provider.ConsumeRemainingBytes<std::uint8_t>(), shape);
    input.onePair = {{{colourAt(input.file, HeaderSize, {}), after}}, growth, false};
    input.severalPairs = {severalPairsFor(input.file, after, pairCount), growth, false};
    return input;
}

template <typename Operation> std::optional<int> errorOf(Operation&& operation) {
    try {
        operation();
    } catch (const Error& error) {
        return AppError::fromError(error).number(); // the numbers the window shows
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
        require(error == ErrorNumber::InputPastEndOfFile, "a short file fails with 62");
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
                require(expected.grown || chunk.size() <= std::max(largestChunk, SmallestChunk),
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
    require(result.pixelsChanged == expected.changed, "the changed pixels are counted");
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
