#include "map/map_read.h"

#include <algorithm>
#include <limits>

#include "formats/format_sniff.h"

namespace velorin {
namespace {

MapReadResult ReadFile(FileSystem& files, const std::string& path, const MapReadOptions& options,
                       MapPointSink& sink) {
  MapPointWriter writer(sink);
  MapSkipObserver skips(sink);
  return RunMapRead(files, path, options, writer, skips);
}

/// Hands the first `capacity` points on and drops the rest.
class CappedWriter : public PointWriter {
 public:
  CappedWriter(PointWriter& writer, std::int32_t capacity) : writer_(writer), left_(capacity) {}
  TitleEncoding titleEncoding() const override { return writer_.titleEncoding(); }
  void Write(const Point& point, std::string_view title) override {
    if (left_ <= 0) return;
    --left_;
    writer_.Write(point, title);
  }
  void WriteWithFields(const Point& point, std::string_view title,
                       const FieldTexts& fields) override {
    if (left_ <= 0) return;
    --left_;
    writer_.WriteWithFields(point, title, fields);
  }

 private:
  PointWriter& writer_;
  std::int32_t left_;
};

}  // namespace

MapReadResult RunMapRead(FileSystem& files, const std::string& path, const MapReadOptions& options,
                         PointWriter& writer, RunObserver& observer) {
  MapReadResult result;
  result.format = options.format ? *options.format : InputFormatOfFile(files, path);
  result.output = options.output.value_or(DefaultOutputFormat(result.format));
  RunOptions run;
  run.inputs = {{path, result.format}};
  run.outputFormat = result.output;
  run.untitled = options.untitled;
  run.inputEncoding = options.encoding;
  // NVI's record limit is a save's matter: the map holds what the file
  // holds, as far as its own capacity goes.
  run.recordLimit = std::numeric_limits<std::int32_t>::max();
  run.points = options.points;
  run.thinMetres = options.thinMetres;
  run.inputDatum = options.inputDatum;
  run.osm = options.osm;
  CappedWriter capped(writer, options.capacity);
  run.sink = &capped;
  run.observer = &observer;
  MapReadHost host(options.keepGoing, options.capacity);
  FixedClock clock({});
  result.outcome = ConversionRun(host, files, clock, std::move(run)).Execute();
  result.full = host.full();
  if (result.full) result.outcome.records = options.capacity;
  result.cancelled = result.outcome.result == RunResult::kCancelled && !result.full;
  return result;
}

void ReserveMapPoints(MapPoints& points, std::uint64_t size) {
  // Untouched room costs address space only; the smallest point entries
  // (CSV lines) take some 24 bytes, a title rarely a quarter of its entry.
  constexpr std::uint64_t kMostReserved = std::uint64_t{1} << 24;
  const std::uint64_t hint = std::min(size, kMostReserved * 24);
  points.Reserve(static_cast<std::size_t>(hint / 24), static_cast<std::size_t>(hint / 4));
}

MapReadResult ReadMapPoints(FileSystem& files, const std::string& path,
                            const MapReadOptions& options) {
  MapPoints points;
  const std::optional<std::uint64_t> size =
      options.sizeHint != 0 ? std::optional(options.sizeHint) : files.FileSize(path);
  if (size) ReserveMapPoints(points, *size);
  MapReadResult result = ReadFile(files, path, options, points);
  result.points = std::move(points);
  return result;
}

MapReadResult ReadMapPointsInto(FileSystem& files, const std::string& path,
                                const MapReadOptions& options, MapPointSink& sink) {
  return ReadFile(files, path, options, sink);
}

}  // namespace velorin
