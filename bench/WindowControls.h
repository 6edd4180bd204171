// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace pixtint {

// A control of the window found by its control name, as automation finds it. A control that
// is not there ends the benchmark: what it would time does not exist.
template <class ControlType> ControlType& control(const QWidget& window, const char* name) {
    auto* found = window.findChild<ControlType*>(QString::fromLatin1(name));
    if (found == nullptr) {
        std::fprintf(stderr, "the window has no control %s\n", name);
        std::exit(1);
    }
    return *found;
}

} // namespace pixtint
