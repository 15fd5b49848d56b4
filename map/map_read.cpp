#include "map/map_read.h"

#include <algorithm>

#include "formats/format_sniff.h"

namespace velorin {
namespace {

MapReadResult ReadFile(FileSystem& files, const std::string& path, const MapReadOptions& options,
                       MapPointSink& sink) {
  MapPointWriter writer(sink);
  MapSkipObserver skips(sink);
  return RunMapRead(files, path, options, writer, skips);
}

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
  run.recordLimit = options.recordLimit;
  run.points = options.points;
  run.thinMetres = options.thinMetres;
  run.inputDatum = options.inputDatum;
  run.osm = options.osm;
  run.sink = &writer;
  run.observer = &observer;
  MapReadHost host(options.keepGoing);
  FixedClock clock({});
  result.outcome = ConversionRun(host, files, clock, std::move(run)).Execute();
  result.cancelled = result.outcome.result == RunResult::kCancelled;
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
