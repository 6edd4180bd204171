// SPDX-License-Identifier: MIT
#include "bench/PeakMemory.h"

#include <fstream>
#include <string>

namespace pixtint {

long peakResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

} // namespace pixtint
