#include "cli/ColourText.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace pixtint {

namespace {

constexpr std::size_t HexDigits = 6;

std::optional<std::uint8_t> hexByte(std::string_view digits) {
    unsigned value = 0;
    const auto end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, 16);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<Rgb> parseHex(std::string_view digits) {
    if (digits.size() != HexDigits) {
        return std::nullopt;
    }
    const auto red = hexByte(digits.substr(0, 2));
    const auto green = hexByte(digits.substr(2, 2));
    const auto blue = hexByte(digits.substr(4, 2));
    if (!red || !green || !blue) {
        return std::nullopt;
    }
    return Rgb{*red, *green, *blue};
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Digits only: from_chars alone would let a sign or a blank inside the number through.
std::optional<std::uint8_t> decimalByte(std::string_view text) {
    const auto digits = trimmed(text);
    if (digits.empty() || digits.size() > 3 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    unsigned value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<Rgb> parseDecimal(std::string_view text) {
    std::array<std::optional<std::uint8_t>, 3> parts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto comma = text.find(',');
        const bool last = i + 1 == parts.size();
        if (last != (comma == std::string_view::npos)) {
            return std::nullopt;
        }
        parts[i] = decimalByte(text.substr(0, comma));
        if (!parts[i]) {
            return std::nullopt;
        }
        text.remove_prefix(last ? text.size() : comma + 1);
    }
    return Rgb{*parts[0], *parts[1], *parts[2]};
}

} // namespace

std::optional<Rgb> parseColour(std::string_view text) {
    if (text.find(',') != std::string_view::npos) {
        return parseDecimal(text);
    }
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    }
    return parseHex(text);
}

std::optional<ColourPair> parseColourPair(std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const auto from = parseColour(text.substr(0, equals));
    const auto to = parseColour(text.substr(equals + 1));
    if (!from || !to) {
        return std::nullopt;
    }
    return ColourPair{*from, *to};
}

} // namespace pixtint
