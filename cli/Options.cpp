// SPDX-License-Identifier: MIT
#include "cli/Options.h"

#include "cli/ColourNames.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>

namespace pixtint {

namespace {

constexpr const char* ProgramName = "pixtint-convert";

// The options as typed, before their values are checked.
struct RawOptions {
    std::string from;
    std::string to;
    std::vector<std::string> maps;
    std::string grow;
    std::string tolerance; // checked here, so that a wrong value is told in our words
    std::string jobs;
    bool noBackup = false;
    bool fromGiven = false; // an empty value is a bad colour, not a missing one
    bool toGiven = false;
};

struct UsageError {
    std::string message;
};

const char* const Footer = R"(
COLOUR is #RRGGBB or #RGB, with or without the hash (hex, either case), R,G,B or
rgb(R,G,B) (decimal 0-255), or a CSS colour name such as magenta, silver or darkslategrey.
Colours have no alpha part: #RGBA and #RRGGBBAA are refused.
24-bit, 32-bit (8-bit colour masks; the alpha or unused bits are kept) and 1-, 4- and 8-bit
palette pictures (their colour table changes, RLE included) are converted; every other kind is
skipped with its reason. A colour matches FROM when no channel differs by more than the
tolerance; a match is replaced outright. Pixels within 8 of FROM that do not match are
reported as near misses.
Several pairs are applied in one pass, each pixel matched against the original colours only,
so -m A=B -m B=A swaps A and B; where a colour matches several pairs, the first one wins.
--from/--to is the first pair, then each --map in order. Two pairs may not replace the same
colour.

Exit status: 0 when no file failed, 1 when a file failed, 2 for a usage error,
130 when stopped by a signal.)";

const char* const TransparencyNote = R"(
TO may be 'transparent': matched pixels become fully transparent (alpha 0, colour 0), every
other pixel stays fully opaque. A 32-bit picture with an alpha mask keeps its layout; every
other kind becomes a 32-bit picture with a V5 header and an alpha mask, stored the same way up.)";

void addOptions(CLI::App& app, RawOptions& raw, CliOptions& options) {
    app.add_option("-f,--from", raw.from, "the colour to replace")->type_name("COLOUR");
    app.add_option("-t,--to", raw.to, "the colour that replaces it, or transparent")
        ->type_name("COLOUR");
    app.add_option("-m,--map", raw.maps, "a colour pair; repeat for several pairs")
        ->type_name("FROM=TO")
        ->allow_extra_args(false); // "-m A=B icons/": icons/ is a path
    app.add_option(
           "-g,--grow", raw.grow,
           "grow 16 x 15 pictures (and strips of them) to 16 high in the first pair's new colour")
        ->type_name("top|bottom");
    app.add_option("--tolerance", raw.tolerance,
                   "match colours whose channels each differ from FROM by at most T (default 0)")
        ->type_name("T");
    app.add_flag("--no-backup", raw.noBackup, "do not keep the original as NAME.bak");
    app.add_flag("-n,--dry-run", options.dryRun, "write nothing; report what would change");
    app.add_flag("--restore", options.restore, "move each picture's NAME.bak back over it");
    app.add_flag("-r,--recursive", options.recursive, "also the pictures in sub-folders");
    app.add_option("-j,--jobs", raw.jobs, "files converted at once (default: one per core)")
        ->type_name("N");
    app.add_flag("--json", options.json, "one JSON object per file on standard output");
    app.add_flag("-q,--quiet", options.quiet, "no per-file lines");
    app.add_option("PATH", options.paths, "pictures, and folders whose *.bmp pictures to take")
        ->type_name("")
        ->required();
    app.set_help_flag("-h,--help", "print this help and exit");
    app.set_version_flag("--version", std::string(ProgramName) + " " + PIXTINT_VERSION,
                         "print the version and exit");
    app.footer(std::string(Footer) + "\n" + TransparencyNote);
}

// Hex digits after an optional hash, as many as a colour with an alpha part has.
bool isHexWithAlpha(std::string_view text) {
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    }
    return (text.size() == 4 || text.size() == 8) &&
           text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

std::string notAColour(std::string_view text) {
    if (isHexWithAlpha(text)) {
        return " is not a colour: colours here have no alpha part (use #RRGGBB or #RGB)";
    }
    return " is not a colour (use #RRGGBB, #RGB, R,G,B, rgb(R,G,B) or a name such as magenta)";
}

Rgb colourOf(const std::string& text, const char* option) {
    const auto colour = parseColour(text);
    if (!colour && isTransparentColour(text)) {
        throw UsageError{"'" + text + "' given to " + option +
                         " is not a colour: only a new colour (TO) can be transparent"};
    }
    if (!colour) {
        throw UsageError{"'" + text + "' given to " + option + notAColour(text)};
    }
    return *colour;
}

ColourPair mapPairOf(const std::string& map) {
    if (const auto pair = parseColourPair(map)) {
        return *pair;
    }
    if (const auto equals = map.find('='); equals != std::string::npos) {
        for (const auto& side : {map.substr(0, equals), map.substr(equals + 1)}) {
            if (isHexWithAlpha(side)) {
                throw UsageError{"'" + side + "' given to --map" + notAColour(side)};
            }
        }
    }
    throw UsageError{"'" + map + "' given to --map is not FROM=TO with two colours"};
}

std::string hexText(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

// A colour replaced by two pairs would take the first one's colour only, which the user
// cannot have meant. `given` says how each pair was typed, for the message.
void checkEachColourReplacedOnce(const std::vector<ColourPair>& pairs,
                                 const std::vector<std::string>& given) {
    for (std::size_t later = 1; later < pairs.size(); ++later) {
        for (std::size_t earlier = 0; earlier < later; ++earlier) {
            if (pairs[earlier].from == pairs[later].from) {
                throw UsageError{given[earlier] + " and " + given[later] + " both replace " +
                                 hexText(pairs[later].from) + ": give each colour one pair"};
            }
        }
    }
}

std::vector<ColourPair> pairsOf(const RawOptions& raw) {
    std::vector<ColourPair> pairs;
    std::vector<std::string> given;
    if (raw.fromGiven != raw.toGiven) {
        throw UsageError{raw.fromGiven ? "--from needs --to" : "--to needs --from"};
    }
    if (raw.fromGiven) {
        const Rgb from = colourOf(raw.from, "--from");
        pairs.push_back(isTransparentColour(raw.to) ? ColourPair{from, {}, true}
                                                    : ColourPair{from, colourOf(raw.to, "--to")});
        given.push_back("--from '" + raw.from + "'");
    }
    for (const auto& map : raw.maps) {
        pairs.push_back(mapPairOf(map));
        given.push_back("--map '" + map + "'");
    }
    checkEachColourReplacedOnce(pairs, given);
    return pairs;
}

// A whole number from `least` to `most`, in decimal digits only.
unsigned wholeNumber(const std::string& text, const char* option, unsigned least, unsigned most) {
    unsigned value = 0;
    const auto end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        error != std::errc{} || stop != end || value < least || value > most) {
        throw UsageError{std::string(option) + " takes a whole number from " +
                         std::to_string(least) + " to " + std::to_string(most) + ", not '" + text +
                         "'"};
    }
    return value;
}

void checkRestore(const RawOptions& raw) {
    if (raw.fromGiven || raw.toGiven || !raw.maps.empty() || !raw.grow.empty() || raw.noBackup ||
        (!raw.tolerance.empty() && wholeNumber(raw.tolerance, "--tolerance", 0, 255) != 0)) {
        throw UsageError{"--restore takes no colours, --grow, --tolerance or --no-backup"};
    }
}

void completeRequest(const RawOptions& raw, CliOptions& options) {
    if (!raw.jobs.empty()) {
        options.jobs = wholeNumber(raw.jobs, "--jobs", 1, 1024);
    }
    if (options.restore) {
        checkRestore(raw);
        return;
    }
    options.request.pairs = pairsOf(raw);
    if (options.request.pairs.empty()) {
        throw UsageError{"no colour pair: give --from and --to, or --map FROM=TO"};
    }
    if (!raw.grow.empty() && raw.grow != "top" && raw.grow != "bottom") {
        throw UsageError{"--grow takes top or bottom, not '" + raw.grow + "'"};
    }
    options.request.growth = raw.grow.empty()    ? Growth::None
                             : raw.grow == "top" ? Growth::Top
                                                 : Growth::Bottom;
    options.request.keepBackup = !raw.noBackup;
    options.request.tolerance = static_cast<std::uint8_t>(
        raw.tolerance.empty() ? 0 : wholeNumber(raw.tolerance, "--tolerance", 0, 255));
    options.request.nearMisses = NearMisses::Counted; // the report shows them
}

EarlyExit usageError(const std::string& message) {
    return {ExitStatus::UsageError,
            {},
            std::string(ProgramName) + ": " + message + "\nTry '" + ProgramName +
                " --help' for more information.\n"};
}

} // namespace

std::variant<CliOptions, EarlyExit> parseCommandLine(std::span<const char* const> arguments) {
    CLI::App app("Recolours BMP pictures in place: 24-bit, 32-bit and palette pictures.",
                 ProgramName);
    RawOptions raw;
    CliOptions options;
    addOptions(app, raw, options);
    try {
        app.parse(static_cast<int>(arguments.size()), arguments.data());
        raw.fromGiven = app.count("--from") > 0;
        raw.toGiven = app.count("--to") > 0;
        completeRequest(raw, options);
    } catch (const CLI::CallForHelp&) {
        return EarlyExit{ExitStatus::Success, app.help(), {}};
    } catch (const CLI::CallForVersion& version) {
        return EarlyExit{ExitStatus::Success, std::string(version.what()) + "\n", {}};
    } catch (const CLI::ParseError& error) {
        return usageError(error.what());
    } catch (const UsageError& error) {
        return usageError(error.message);
    }
    return options;
}

namespace {

constexpr std::size_t HexDigits = 6;
constexpr std::size_t ShortHexDigits = 3;

std::optional<std::uint8_t> hexByte(std::string_view digits) {
    unsigned value = 0;
    const auto end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, 16);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

// "RRGGBB", or CSS's short "RGB", each digit standing for itself twice ("f0f": "ff00ff").
std::optional<Rgb> parseHex(std::string_view digits) {
    std::string full(digits);
    if (digits.size() == ShortHexDigits) {
        full = {digits[0], digits[0], digits[1], digits[1], digits[2], digits[2]};
    }
    if (full.size() != HexDigits) {
        return std::nullopt;
    }
    const std::string_view text = full;
    const auto red = hexByte(text.substr(0, 2));
    const auto green = hexByte(text.substr(2, 2));
    const auto blue = hexByte(text.substr(4, 2));
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

// "rgb(" in any letter case.
bool startsWithRgbCall(std::string_view text) {
    constexpr std::string_view Call = "rgb(";
    return text.size() >= Call.size() &&
           std::equal(Call.begin(), Call.end(), text.begin(), [](char call, char c) {
               return call == (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
           });
}

} // namespace

std::optional<Rgb> parseColour(std::string_view text) {
    if (startsWithRgbCall(text)) {
        if (!text.ends_with(')')) {
            return std::nullopt;
        }
        return parseDecimal(text.substr(4, text.size() - 5));
    }
    if (text.find(',') != std::string_view::npos) {
        return parseDecimal(text);
    }
    if (text.starts_with('#')) {
        return parseHex(text.substr(1));
    }
    if (const auto hex = parseHex(text)) {
        return hex;
    }
    return namedColour(text);
}

bool isTransparentColour(std::string_view text) {
    constexpr std::string_view Word = "transparent";
    return text.size() == Word.size() &&
           std::equal(Word.begin(), Word.end(), text.begin(), [](char word, char c) {
               return word == (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
           });
}

std::optional<ColourPair> parseColourPair(std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const auto from = parseColour(text.substr(0, equals));
    if (from && isTransparentColour(text.substr(equals + 1))) {
        return ColourPair{*from, {}, true};
    }
    const auto to = parseColour(text.substr(equals + 1));
    if (!from || !to) {
        return std::nullopt;
    }
    return ColourPair{*from, *to};
}

} // namespace pixtint
