#pragma once

#include "engine/ColourMap.h"

#include <optional>
#include <string_view>

namespace pixtint {

// Colours as a person types them: "#RRGGBB" or "RRGGBB" in hex of either case, or "R,G,B" in
// decimal 0-255 (blanks around the numbers allowed). Anything else answers nothing.
std::optional<Rgb> parseColour(std::string_view text);

// "FROM=TO", each side a colour as above.
std::optional<ColourPair> parseColourPair(std::string_view text);

} // namespace pixtint
