// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace pixtint {

// The window benchmarks act on a window that is on the screen, as a user does.

// Waits until `window` is mapped and has painted itself. Ends the benchmark when no display
// shows it within a few seconds.
void waitUntilShown(QWidget& window);

// Handles what the window has waiting, its painting included.
void settle();

} // namespace pixtint
