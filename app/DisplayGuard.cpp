// SPDX-License-Identifier: MIT
#include "app/DisplayGuard.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace pixtint {

namespace {

std::vector<QString> heldBack;

bool isSet(const char* value) {
    return value != nullptr && *value != '\0';
}

void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const std::string line =
            noDisplayMessage(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
        std::fprintf(stderr, "%s\n", line.c_str());
        std::_Exit(1);
    }
    heldBack.push_back(qFormatLogMessage(type, context, message));
}

} // namespace

DisplayGuard::DisplayGuard()
    : previous_(qInstallMessageHandler(holdOrEnd)) {}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previous_);
    for (const QString& message : heldBack) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
    heldBack.clear();
}

std::string noDisplayMessage(const char* display, const char* waylandDisplay) {
    if (!isSet(display) && !isSet(waylandDisplay)) {
        return "pixtint: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not "
               "set); pixtint-convert works without one";
    }
    const std::string where = isSet(waylandDisplay)
                                  ? std::string("Wayland display ") + waylandDisplay
                                  : std::string("display ") + display;
    return "pixtint: cannot open the window on " + where;
}

} // namespace pixtint
