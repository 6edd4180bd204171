// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <string>

namespace pixtint {

// Qt ends a program it cannot open a display for with an abort, which leaves a core dump
// behind several lines of advice about platform plugins. While it lives, a DisplayGuard turns
// that end into one line on standard error and exit status 1. The platform's own messages are
// held back meanwhile, and passed on if the application starts after all.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

private:
    QtMessageHandler previous_;
};

// The line said when no window can be opened, for these values of DISPLAY and WAYLAND_DISPLAY
// (null when unset).
std::string noDisplayMessage(const char* display, const char* waylandDisplay);

} // namespace pixtint
