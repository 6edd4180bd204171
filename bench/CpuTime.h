// SPDX-License-Identifier: MIT
#pragma once

#include <sys/resource.h>

namespace pixtint {

// The processor time (user and system) used so far by this process (RUSAGE_SELF), or by its
// children that have ended (RUSAGE_CHILDREN). On a busy machine it moves far less than the
// time on the clock, so it tells a slow program from a disturbed one.
inline double cpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace pixtint
