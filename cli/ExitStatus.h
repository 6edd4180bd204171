#pragma once

namespace pixtint::ExitStatus {

inline constexpr int Success = 0;       // no file failed (skipped files do not fail)
inline constexpr int FileFailed = 1;    // at least one file failed, a missing path included
inline constexpr int UsageError = 2;    // nothing was done
inline constexpr int Interrupted = 130; // stopped by SIGINT or SIGTERM; files done are in place

} // namespace pixtint::ExitStatus
