#pragma once
// The exit codes of velorin-cli; scripts rely on them.

namespace velorin {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
/// The command was refused before anything was written (same file, or an
/// existing output without --force).
inline constexpr int kExitRefused = 3;
/// Stopped by Ctrl-C (128 + SIGINT, as shells report it).
inline constexpr int kExitInterrupted = 130;

}  // namespace velorin
