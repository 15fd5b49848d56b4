#pragma once
// The points of a point file as a map shows them: read with the readers
// and rules of a conversion (the format table, the untitled rule, the
// encoding, the record limit, the check against what the output holds),
// writing nothing. A point that would become a record is kept with its
// title (UTF-8), its position and its line; a point the conversion would
// skip is kept as its line and why. A million points fit in a few tens of
// megabytes: the titles share one arena.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "convert/conversion_run.h"
#include "formats/format_table.h"
#include "map/map_point_sink.h"
#include "map/map_view.h"
#include "platform/file_system.h"

namespace velorin {

/// One point the conversion would skip.
struct MapSkip {
  std::int64_t line = 0;
  SkipKind kind = SkipKind::kMalformed;
  std::uint32_t reasonOffset = 0;  ///< into MapPoints' reason arena
  std::uint32_t reasonSize = 0;
};

/// How to read, as the conversion would.
struct MapReadOptions {
  /// The input format; InputFormatOfFile (extension, then content) when absent.
  std::optional<PointFormat> format;
  /// The format a conversion would write: its range decides which positions
  /// are skipped, its record limit where the records end. DefaultOutputFormat
  /// of the input when absent.
  std::optional<PointFormat> output;
  UntitledRule untitled = UntitledRule::kKeep;
  std::optional<TextEncoding> encoding;
  std::int32_t recordLimit = kRecordLimit;
  /// Asked now and then; reading stops (cancelled) when it says false.
  std::function<bool()> keepGoing;
  /// The input's size in bytes when known (0 otherwise): room for its points
  /// is set aside at once rather than grown step by step.
  std::uint64_t sizeHint = 0;
};

/// The texts a person is shown for one point.
struct MapPointTexts {
  std::string longitudeDms;      ///< D'M'S'T, "-" before a west longitude
  std::string latitudeDms;       ///< "-" before a south latitude
  std::string longitudeDecimal;  ///< "139.767125"
  std::string latitudeDecimal;
  std::string nviCode;  ///< "$..." or empty when NVI cannot hold the position
};

class MapPoints : public MapPointSink {
 public:
  std::span<const MapPoint> points() const { return points_; }
  std::span<const MapSkip> skips() const { return skips_; }
  std::size_t size() const { return points_.size(); }
  std::string_view Title(const MapPoint& point) const {
    return std::string_view(titles_).substr(point.titleOffset, point.titleSize);
  }
  std::string_view Title(std::size_t index) const { return Title(points_[index]); }
  std::string_view Reason(const MapSkip& skip) const {
    return std::string_view(reasons_).substr(skip.reasonOffset, skip.reasonSize);
  }
  MapPointTexts Texts(std::size_t index) const;
  /// The smallest box holding every point (across 180 degrees when smaller).
  FitBounds Bounds() const;

  // Filled by the reader.
  void Add(const MapPoint& point, std::string_view title) override;
  void AddSkip(std::int64_t line, SkipKind kind, std::string_view reason) override;
  void Reserve(std::size_t points, std::size_t titleBytes);

 private:
  std::vector<MapPoint> points_;
  std::string titles_;
  std::vector<MapSkip> skips_;
  std::string reasons_;
};

/// What reading the file gave: the points, and what a conversion run would
/// say about it (skip counts, ignored items, encoding, a failure).
struct MapReadResult {
  MapPoints points;
  PointFormat format = PointFormat::kPot;
  PointFormat output = PointFormat::kNvi;
  /// The counts as a conversion run reports them; `records` is the points kept.
  RunOutcome outcome;
  bool cancelled = false;
};

/// Reads the file at `path` (opened through `files`).
MapReadResult ReadMapPoints(FileSystem& files, const std::string& path,
                            const MapReadOptions& options = {});

/// Reads points of `format` from `source`.
MapReadResult ReadMapPointsFrom(ByteSource& source, PointFormat format,
                                const MapReadOptions& options = {});

/// Reads the file at `path`, handing each point and skip to `sink` rather
/// than keeping them: the result's `points` stay empty, its counts are
/// those of ReadMapPoints.
MapReadResult ReadMapPointsInto(FileSystem& files, const std::string& path,
                                const MapReadOptions& options, MapPointSink& sink);

}  // namespace velorin
