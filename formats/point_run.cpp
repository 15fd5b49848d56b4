#include "formats/point_run.h"

#include <cmath>
#include <cstdio>
#include <variant>

#include "formats/poi_record.h"

namespace velorin {

namespace {

constexpr double kMaxAngle = 180.0;

std::string AngleWords(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

}  // namespace

std::optional<std::pair<SkipKind, std::string>> CheckPoint(const Point& point,
                                                           UntitledRule untitled) {
  if (point.title.empty() && untitled == UntitledRule::kSkip) {
    return std::pair{SkipKind::kUntitled, std::string("no title")};
  }
  if (const auto* units = std::get_if<DecodedPosition>(&point.position)) {
    if (!IsWithinNviRange(*units)) {
      return std::pair{SkipKind::kOutOfRange, std::string("position beyond 180 degrees")};
    }
    return std::nullopt;
  }
  const Degrees& degrees = std::get<Degrees>(point.position);
  for (const auto& [name, value] :
       {std::pair{"longitude", degrees.longitude}, std::pair{"latitude", degrees.latitude}}) {
    if (!(value >= 0.0 && value <= kMaxAngle)) {
      return std::pair{SkipKind::kOutOfRange, std::string(name) + " " + AngleWords(value) +
                                                  " is outside 0 to 180 degrees"};
    }
  }
  return std::nullopt;
}

PointRunOutcome RunPoints(PointReader& reader, PointWriter& writer, const BufferedWriter& out,
                          const PointRunOptions& options) {
  PointRunOutcome outcome;
  PointTally& tally = outcome.tally;
  const auto finish = [&](PointRunEnd end) {
    outcome.end = end;
    tally.ignored = reader.ignored();
    tally.titlesAdjusted = writer.titlesAdjusted();
    return outcome;
  };
  const auto skip = [&](SkipKind kind, std::int64_t line, std::string_view reason) {
    switch (kind) {
      case SkipKind::kMalformed:
        ++tally.malformed;
        break;
      case SkipKind::kUntitled:
        ++tally.untitled;
        break;
      case SkipKind::kOutOfRange:
        ++tally.outOfRange;
        break;
    }
    if (options.onSkipped) options.onSkipped(line, reason);
  };

  writer.Begin();
  ReadEntry entry;
  for (;;) {
    if (!out.ok()) return finish(PointRunEnd::kWriteFailed);
    if (options.cancelRequested && options.cancelRequested()) {
      writer.End();
      return finish(out.ok() ? PointRunEnd::kCancelled : PointRunEnd::kWriteFailed);
    }
    if (!reader.Next(entry)) break;
    if (!entry.isPoint) {
      skip(entry.skip, entry.point.line, entry.reason);
      continue;
    }
    if (const auto problem = CheckPoint(entry.point, options.untitled)) {
      skip(problem->first, entry.point.line, problem->second);
      continue;
    }
    if (options.recordLimit > 0 && tally.written >= options.recordLimit) {
      outcome.firstLineNotConverted = entry.point.line;
      writer.End();
      return finish(out.ok() ? PointRunEnd::kLimitReached : PointRunEnd::kWriteFailed);
    }
    writer.Write(entry.point.title.empty() ? kNoTitle : std::string_view(entry.point.title),
                 entry.point.position);
    ++tally.written;
    if (entry.point.titleApproximated) {
      ++tally.titlesApproximated;
      if (options.onTitleApproximated) options.onTitleApproximated(entry.point);
    }
  }
  if (reader.failure()) {
    outcome.readFailure = reader.failure();
    return finish(PointRunEnd::kReadFailed);
  }
  writer.End();
  return finish(out.ok() ? PointRunEnd::kFinished : PointRunEnd::kWriteFailed);
}

}  // namespace velorin
