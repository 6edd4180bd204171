// SPDX-License-Identifier: MIT
#pragma once

#include "bench/SilentDialogs.h"

#include <filesystem>

namespace pixtint {

// Seconds on the clock, and of processor time.
struct Timing {
    double seconds = 0;
    double cpu = 0;
};

// The window's batch on `pictures`, with the settings that BenchFiles::writeSettings writes
// into `programFolder` (blue made red, 16 x 15 pictures grown at the top, backups on): from
// the click on 変換実行, once the listing has found every mark, to the closing message 変換終了！.
// Any other message ends the benchmark: the run did not do what is timed.
Timing timeWindowBatch(SilentDialogs& dialogs, const std::filesystem::path& programFolder,
                       const std::filesystem::path& pictures);

} // namespace pixtint
