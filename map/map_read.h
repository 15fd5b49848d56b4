#pragma once
// The points of a point file as a map shows them: read by the conversion
// engine with a conversion's rules (the format table, the title rule, the
// untitled rule, the encoding, the check against what the output holds),
// written nowhere but into a MapPointSink. The map holds every point of the
// file, however many an output could hold (NVI's record limit is a save's
// matter), up to what the map itself can hold: beyond that it stops and
// says so (MapReadResult::full).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "convert/conversion_run.h"
#include "map/map_points.h"
#include "platform/file_system.h"

namespace velorin {

/// The most points a map holds: some 250 bytes each with their indexes, a
/// few gigabytes in all.
inline constexpr std::int32_t kMapPointLimit = 10'000'000;

/// How to read, as the conversion would.
struct MapReadOptions {
  /// The input format; InputFormatOfFile (extension, then content) when absent.
  std::optional<PointFormat> format;
  /// The format a conversion would write: its range decides which positions
  /// are skipped. DefaultOutputFormat of the input when absent.
  std::optional<PointFormat> output;
  UntitledRule untitled = UntitledRule::kKeep;
  std::optional<TextEncoding> encoding;
  /// The most points held: reading stops when the next point is beyond.
  std::int32_t capacity = kMapPointLimit;
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
  /// The map holds as many points as it can (MapReadOptions::capacity) and
  /// the file holds more: the rest was not read.
  bool full = false;
  /// The whole file was read: not cancelled, not failed, not full.
  bool Whole() const { return outcome.result == RunResult::kFinished && !full; }
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

/// A run's host that asks `keepGoing` every few thousand entries, and
/// stops the run once a point beyond `capacity` came (CappedWriter keeps it
/// out of the map): a file of exactly `capacity` points is read whole.
class MapReadHost : public RunHost {
 public:
  /// Entries read between two questions to `keepGoing`.
  static constexpr int kEntriesPerCheck = 4096;

  MapReadHost(std::function<bool()> keepGoing, std::int32_t capacity)
      : keepGoing_(std::move(keepGoing)), capacity_(capacity) {}
  bool MayReplace(std::string_view) override { return false; }
  bool EventStep() override {
    if (full_) return false;
    if (++sinceCheck_ < kEntriesPerCheck || !keepGoing_) return true;
    sinceCheck_ = 0;
    return keepGoing_();
  }
  void OnRecordWritten(std::int32_t records) override {
    if (records > capacity_) full_ = true;
  }
  /// The run stopped at a point the map had no room for.
  bool full() const { return full_; }

 private:
  std::function<bool()> keepGoing_;
  std::int32_t capacity_;
  int sinceCheck_ = 0;
  bool full_ = false;
};

}  // namespace velorin
