// Feeds arbitrary files to the engine and checks every result against a plain byte-by-byte
// model of the three operations. Any difference, a changed source or a stray file aborts.
#include "engine/AppError.h"
#include "engine/BitmapRecolor.h"
#include "engine/ColorReplacement.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <unistd.h>
#include <vector>

using namespace pixtint;

using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr std::size_t LargestChunk = std::size_t{1} << 20; // what ReplaceColor itself uses

// A private folder in memory where possible: every engine write ends in an fsync.
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
    std::filesystem::path path;
};

const WorkFolder& work() {
    static const WorkFolder folder;
    return folder;
}

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
    require(file.good(), "result readable");
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::size_t entryCount() {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(work().path),
                                                  std::filesystem::directory_iterator()));
}

// The colour walk done the slow way: one pixel at a time, whole pixels only.
Bytes modelReplace(Bytes bytes, std::int64_t width, Rgb before, Rgb after) {
    const std::int64_t padding = (width * 3) % 4 == 0 ? 0 : 4 - (width * 3) % 4;
    const auto length = static_cast<std::int64_t>(bytes.size());
    std::int64_t column = 0;
    for (std::int64_t offset = 54; offset + 3 <= length; offset += 3) {
        auto* pixel = bytes.data() + offset;
        if (pixel[0] == before.blue && pixel[1] == before.green && pixel[2] == before.red) {
            pixel[0] = after.blue;
            pixel[1] = after.green;
            pixel[2] = after.red;
        }
        if (++column == width) {
            offset += padding;
            column = 0;
        }
    }
    return bytes;
}

Bytes modelInsert(Bytes bytes, bool top, Rgb fill) {
    bytes[2] = 0x36;
    bytes[22] = 16;
    bytes[34] = 0;
    bytes[35] = 3;
    bytes.resize(822, 0);
    if (!top) {
        for (std::size_t offset = 821; offset >= 54; --offset) {
            bytes[offset] = bytes[offset - 48];
        }
    }
    const std::size_t row = top ? 774 : 54;
    for (std::size_t offset = row; offset < row + 48; offset += 3) {
        bytes[offset] = fill.blue;
        bytes[offset + 1] = fill.green;
        bytes[offset + 2] = fill.red;
    }
    return bytes;
}

template <typename Operation> std::optional<int> errorOf(Operation&& operation) {
    try {
        operation();
    } catch (const AppError& error) {
        return error.number();
    }
    return std::nullopt;
}

struct Input {
    Bytes bytes;
    std::int32_t width;
    Rgb before;
    Rgb after;
    bool top;
    std::size_t smallChunk; // small files then reach the edges of the read chunks too
};

Input interpret(const std::uint8_t* data, std::size_t size) {
    Input input{Bytes(data, data + size), 16, Rgb{}, Rgb{1, 2, 3}, false, 64};
    const auto& b = input.bytes;
    if (size >= 22) {
        input.width =
            static_cast<std::int32_t>(std::uint32_t{b[18]} | std::uint32_t{b[19]} << 8 |
                                      std::uint32_t{b[20]} << 16 | std::uint32_t{b[21]} << 24);
    }
    if (size >= 57) {
        input.before = Rgb{b[56], b[55], b[54]}; // the first pixel always matches
    }
    if (size >= 6) {
        input.after = Rgb{b[3], b[4], b[5]};
        input.top = (b[0] & 1) != 0;
    }
    if (size >= 8) {
        input.smallChunk = 64 + std::size_t{b[7]};
    }
    return input;
}

void checkBitCount(const std::filesystem::path& source, const Input& input) {
    bool answer = false;
    const auto error = errorOf([&] { answer = IsBitmap24Bit(source); });
    if (input.bytes.size() < 29) {
        require(error == ErrorNumber::InputPastEndOfFile, "short file fails with 62");
    } else {
        require(!error && answer == (input.bytes[28] == 24), "byte 28 decides");
    }
}

void checkReplace(const std::filesystem::path& source, const Bytes& bytes, std::int32_t width,
                  const Input& input, std::size_t chunk) {
    const auto temporary = TemporaryPathFor(source);
    const auto error =
        errorOf([&] { ReplaceColorInChunks(source, width, input.before, input.after, chunk); });
    if (width <= 0) {
        require(error == ErrorNumber::InvalidArgument, "width <= 0 fails with 5");
    } else if (bytes.size() <= 54) {
        require(error == ErrorNumber::SubscriptOutOfRange, "no pixel data fails with 9");
    } else {
        require(!error, "replacement succeeds");
        require(readBytes(temporary) == modelReplace(bytes, width, input.before, input.after),
                "replacement matches the model");
    }
    if (error && source != temporary) {
        require(!std::filesystem::exists(temporary), "failure writes no temporary file");
    }
}

void checkReplace(const std::filesystem::path& source, const Input& input) {
    for (const std::size_t chunk : {LargestChunk, input.smallChunk}) {
        checkReplace(source, input.bytes, input.width, input, chunk);
        std::filesystem::remove(TemporaryPathFor(source));
    }
}

void checkInsertion(const std::filesystem::path& source, const Input& input) {
    std::filesystem::path temporary;
    const auto error =
        errorOf([&] { temporary = MakeBitmap16x16(source, input.top, input.after); });
    if (input.bytes.size() < 36) {
        require(error == ErrorNumber::SubscriptOutOfRange, "short file fails with 9");
        require(!std::filesystem::exists(TemporaryPathFor(source)), "no file after failure");
        return;
    }
    require(!error && temporary == TemporaryPathFor(source), "insertion succeeds");
    const Bytes inserted = readBytes(temporary);
    require(inserted == modelInsert(input.bytes, input.top, input.after),
            "insertion matches the model");
    // The source is its own temporary file here.
    checkReplace(temporary, inserted, 16, input, input.smallChunk);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input = interpret(data, size);
    const auto source = work().path / "in.bmp";
    writeBytes(source, input.bytes);

    checkBitCount(source, input);
    checkReplace(source, input);
    checkInsertion(source, input);
    std::filesystem::remove(TemporaryPathFor(source));

    require(readBytes(source) == input.bytes, "the source is never changed");
    require(entryCount() == 1, "no stray files");
    return 0;
}
