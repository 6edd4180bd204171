#pragma once

namespace pixtint {

// Ctrl-C (SIGINT) or SIGTERM asks the run to stop after the files in hand, so that no copy is
// left half-way; a second one ends the program at once, which is still safe for every file.
void catchStopSignals();
bool stopSignalled();

} // namespace pixtint
