#pragma once
// The points of a point file as a map shows them: read by the conversion
// engine with a conversion's rules (the format table, the title rule, the
// untitled rule, the encoding, the record limit, the check against what the
// output holds), written nowhere but into a MapPointSink.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "convert/conversion_run.h"
#include "map/map_points.h"
#include "platform/file_system.h"

namespace velorin {

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
  /// The points read of a file with routes and tracks, and their thinning.
  PointKinds points = {};
  double thinMetres = kDefaultThinMetres;
  /// The datum of a POT, NVI or CSV file; the map shows every point where
  /// it lies in WGS 84.
  Datum inputDatum = Datum::kWgs84;
  /// The objects kept of an OpenStreetMap extract.
  OsmReadOptions osm = {};
  /// Asked now and then; reading stops (cancelled) when it says false.
  std::function<bool()> keepGoing;
  /// The input's size in bytes when known (0 otherwise): room for its points
  /// is set aside at once rather than grown step by step.
  std::uint64_t sizeHint = 0;
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

/// Reads the file at `path` (opened through `files`) into the result's points.
MapReadResult ReadMapPoints(FileSystem& files, const std::string& path,
                            const MapReadOptions& options = {});

/// Reads the file at `path`, handing each point and skip to `sink` rather
/// than keeping them: the result's `points` stay empty, its counts are
/// those of ReadMapPoints.
MapReadResult ReadMapPointsInto(FileSystem& files, const std::string& path,
                                const MapReadOptions& options, MapPointSink& sink);

/// Reads the file at `path` by a run whose points go to `writer` and whose
/// skipped entries go to `observer`: the one reading under both.
MapReadResult RunMapRead(FileSystem& files, const std::string& path, const MapReadOptions& options,
                         PointWriter& writer, RunObserver& observer);

/// Sets aside room in `points` for those of a file of `size` bytes.
void ReserveMapPoints(MapPoints& points, std::uint64_t size);

/// A run's host that asks `keepGoing` every few thousand entries.
class MapReadHost : public RunHost {
 public:
  /// Entries read between two questions to `keepGoing`.
  static constexpr int kEntriesPerCheck = 4096;

  explicit MapReadHost(std::function<bool()> keepGoing) : keepGoing_(std::move(keepGoing)) {}
  bool MayReplace(std::string_view) override { return false; }
  bool EventStep() override {
    if (++sinceCheck_ < kEntriesPerCheck || !keepGoing_) return true;
    sinceCheck_ = 0;
    return keepGoing_();
  }

 private:
  std::function<bool()> keepGoing_;
  int sinceCheck_ = 0;
};

}  // namespace velorin
