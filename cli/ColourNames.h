// SPDX-License-Identifier: MIT
#pragma once

#include "engine/ColourMap.h"

#include <optional>
#include <string_view>

namespace pixtint {

// The colour of a CSS named colour ("magenta", "silver", "rebeccapurple"; "gray" and "grey"
// alike), in any letter case. Anything else answers nothing.
std::optional<Rgb> namedColour(std::string_view name);

} // namespace pixtint
