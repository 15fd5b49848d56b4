#pragma once
// A monotonic clock that is cheap to read and coarse: for deciding whether
// something is due, many times a second. Under Wine the precise clock
// (std::chrono::steady_clock) costs some hundred times as much.
#include <cstdint>

namespace velorin {

/// Milliseconds since some fixed moment; it moves in steps of a few
/// milliseconds (up to 16 on Windows) and never backwards.
std::int64_t CoarseMilliseconds();

}  // namespace velorin
