#include "cli/StopSignal.h"

#include <csignal>

namespace pixtint {

namespace {

volatile std::sig_atomic_t stopAsked = 0;

extern "C" void askStop(int) {
    stopAsked = 1;
}

} // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = askStop;
    action.sa_flags = SA_RESETHAND; // the second signal takes its default course
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopSignalled() {
    return stopAsked != 0;
}

} // namespace pixtint
