#pragma once
// One conversion from a reader to a writer: every point held to what an NVI
// file can hold (a title in CP932, longitude and latitude 0 to 180), the
// untitled rule applied, skips counted and told, the record limit of NVI
// output kept, a cancel honoured between points.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "formats/point_reader.h"
#include "formats/point_writer.h"
#include "platform/buffered_writer.h"

namespace velorin {

enum class UntitledRule { kSkip, kKeep };

struct PointRunOptions {
  UntitledRule untitled = UntitledRule::kSkip;
  /// Most points written; 0 for no limit (only NVI files have one).
  std::int32_t recordLimit = 0;
  /// Asked between points; true stops the run as cancelled.
  std::function<bool()> cancelRequested;
  /// Told about every skipped entry: its line (0 when unknown) and why.
  std::function<void(std::int64_t line, std::string_view reason)> onSkipped;
  /// Told about every point written whose title had characters replaced.
  std::function<void(const Point& point)> onTitleApproximated;
};

struct PointTally {
  std::int64_t written = 0;
  std::int64_t malformed = 0;
  std::int64_t untitled = 0;
  std::int64_t outOfRange = 0;
  std::int64_t titlesApproximated = 0;  ///< written titles with replaced characters
  std::int64_t titlesAdjusted = 0;      ///< titles the output format made change
  IgnoredItems ignored;
};

enum class PointRunEnd { kFinished, kCancelled, kLimitReached, kReadFailed, kWriteFailed };

struct PointRunOutcome {
  PointRunEnd end = PointRunEnd::kFinished;
  PointTally tally;
  std::optional<ReadFailure> readFailure;
  /// kLimitReached: the line of the first point not converted (0: unknown).
  std::int64_t firstLineNotConverted = 0;
};

/// Why `point` cannot be written, or nothing when it can: no title under
/// the skip rule, a coordinate below 0 or above 180 (or not a number).
std::optional<std::pair<SkipKind, std::string>> CheckPoint(const Point& point,
                                                           UntitledRule untitled);

/// Reads every entry of `reader` into `writer` (Begin, the points, End),
/// which appends to `out`; stops at the first write failure of `out`. A
/// cancel, like the record limit, ends the file properly (End) after the
/// points written so far. Closing `out` is the caller's.
PointRunOutcome RunPoints(PointReader& reader, PointWriter& writer, const BufferedWriter& out,
                          const PointRunOptions& options);

}  // namespace velorin
