// SPDX-License-Identifier: MIT
#include "filesafety/OwnNames.h"

#include <array>
#include <charconv>
#include <climits>
#include <random>

namespace pixtint {

namespace {

constexpr std::string_view Marker = ".pixtint-";
constexpr std::size_t RandomLength = 6;
constexpr std::string_view RandomAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string_view roleWord(OwnRole role) {
    return role == OwnRole::Copy ? "copy" : "held";
}

std::string hex(std::uint64_t value) {
    std::array<char, 16> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value, 16).ptr;
    return {text.data(), end};
}

#ifdef _WIN32
// Windows names are UTF-16, at most 255 units; the program holds them as UTF-8, which takes at
// least as many bytes as UTF-16 takes units, so 255 bytes always fit.
constexpr std::size_t NameMax = 255;

// Cut where a character starts, so that the shortened name is still UTF-8.
std::string_view shortened(std::string_view name, std::size_t room) {
    if (name.size() <= room) {
        return name;
    }
    while (room > 0 && (static_cast<unsigned char>(name[room]) & 0xC0) == 0x80) {
        --room;
    }
    return name.substr(0, room);
}
#else
constexpr std::size_t NameMax = NAME_MAX;

std::string_view shortened(std::string_view name, std::size_t room) {
    return name.substr(0, room);
}
#endif

// "." NAME MARKER TAIL, with NAME shortened so that the whole fits in one name.
std::string hiddenBeside(std::string_view belongsTo, const std::string& tail) {
    const std::size_t room = NameMax - 1 - Marker.size() - tail.size();
    std::string name(".");
    name.append(shortened(belongsTo, room)).append(Marker).append(tail);
    return name;
}

// Takes "HEX-" from the front of `text`.
std::optional<std::uint64_t> takeHex(std::string_view& text) {
    const std::size_t end = text.find('-');
    if (end == 0 || end == std::string_view::npos || end > 16) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + end, value, 16);
    if (error != std::errc() || stop != text.data() + end) {
        return std::nullopt;
    }
    text.remove_prefix(end + 1);
    return value;
}

bool isRandomPart(std::string_view text) {
    return text.size() == RandomLength &&
           text.find_first_not_of(RandomAlphabet) == std::string_view::npos;
}

} // namespace

std::uint64_t nameKey(std::string_view name) {
    std::uint64_t hash = 0xcbf29ce484222325u; // FNV-1a
    for (const char c : name) {
#ifdef _WIN32
        // Windows names compare without case: a.BAK and a.bak are one backup.
        const char folded = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        hash = (hash ^ static_cast<unsigned char>(folded)) * 0x100000001b3u;
#else
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
#endif
    }
    return hash;
}

std::string randomPart() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, RandomAlphabet.size() - 1);
    std::string part;
    while (part.size() < RandomLength) {
        part += RandomAlphabet[pick(generator)];
    }
    return part;
}

std::string ownName(std::string_view belongsTo, OwnRole role, FileNumber file, FileNumber other) {
    return hiddenBeside(belongsTo, std::string(roleWord(role)) + "-" + hex(nameKey(belongsTo)) +
                                       "-" + hex(file) + "-" + hex(other) + "-" + randomPart());
}

std::string transientName(std::string_view belongsTo) {
    return hiddenBeside(belongsTo, "new-" + randomPart());
}

std::optional<OwnName> parseOwnName(std::string_view name) {
    const std::size_t marker = name.rfind(Marker);
    if (name.size() < 2 || name.front() != '.' || marker == std::string_view::npos || marker < 1) {
        return std::nullopt;
    }
    std::string_view tail = name.substr(marker + Marker.size());
    OwnName parsed;
    if (tail.starts_with("copy-")) {
        parsed.role = OwnRole::Copy;
    } else if (tail.starts_with("held-")) {
        parsed.role = OwnRole::Held;
    } else {
        return std::nullopt;
    }
    tail.remove_prefix(5);
    const auto key = takeHex(tail);
    const auto file = takeHex(tail);
    const auto other = takeHex(tail);
    if (!key || !file || !other || *file == 0 || !isRandomPart(tail)) {
        return std::nullopt;
    }
    parsed.key = *key;
    parsed.file = *file;
    parsed.other = *other;
    return parsed;
}

} // namespace pixtint
