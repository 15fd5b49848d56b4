#pragma once
// The exit codes of velorin-cli; scripts rely on them.
#include "platform/interrupt.h"

namespace velorin {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
/// The command was refused before anything was written (same file, or an
/// existing output without --force).
inline constexpr int kExitRefused = 3;
/// The record limit stopped the run with input lines left unconverted.
inline constexpr int kExitLimitReached = 4;
/// Stopped by Ctrl-C (128 + SIGINT, as shells report it); SIGTERM gives 143
/// and SIGHUP 129 the same way.
inline constexpr int kExitInterrupted = 130;
inline constexpr int kExitSignalBase = kSignalExitBase;

}  // namespace velorin
