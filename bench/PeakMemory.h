// SPDX-License-Identifier: MIT
#pragma once

namespace pixtint {

// The most memory this process has held at once so far (VmHWM), in KiB; 0 where the system
// does not say.
long peakResidentKiB();

} // namespace pixtint
