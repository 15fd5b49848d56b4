#include "map/map_points.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "formats/decimal_text.h"
#include "formats/format_sniff.h"
#include "formats/poi_record.h"
#include "formats/point_check.h"
#include "geo/position_code.h"

namespace velorin {
namespace {

/// Entries read between two questions to `keepGoing`.
constexpr int kEntriesPerCheck = 4096;

std::uint32_t ArenaOffset(const std::string& arena) {
  if (arena.size() > UINT32_MAX) throw std::bad_alloc();
  return static_cast<std::uint32_t>(arena.size());
}

std::string SignedDms(double degrees) {
  return degrees < 0.0 ? "-" + FormatPotNotation(-degrees) : FormatPotNotation(degrees);
}

/// The reader's entries turned into map points and skips, as ConversionRun
/// takes them.
class MapPointCollector {
 public:
  MapPointCollector(const MapReadOptions& options, PointFormat format, MapReadResult& result,
                    MapPointSink& sink)
      : options_(options), result_(result), sink_(sink) {
    result_.format = format;
    result_.output = options.output.value_or(DefaultOutputFormat(format));
    const FormatInfo& output = InfoOf(result_.output);
    range_ = output.positions;
    limit_ = output.limitsRecords ? options.recordLimit : 0;
  }

  void ReadAll(ByteSource& source);

 private:
  void Take(const ReadEntry& entry);
  void Keep(const Point& point);
  void Skip(const ReadEntry& entry, SkipKind kind, std::string_view reason);

  const MapReadOptions& options_;
  MapReadResult& result_;
  MapPointSink& sink_;
  PositionRange range_ = PositionRange::kNvi;
  std::int32_t limit_ = 0;
  TitleConverter titles_;
};

void MapPointCollector::ReadAll(ByteSource& source) {
  ReaderOptions readerOptions;
  readerOptions.textEncoding = options_.encoding;
  readerOptions.untitled = options_.untitled;
  readerOptions.bufferSize = std::size_t{1} << 20;
  RunOutcome& outcome = result_.outcome;
  const auto makeReader = InfoOf(result_.format).makeReader;
  if (makeReader == nullptr) {
    // A build without this format's reader (GPX, KML and KMZ on Windows).
    outcome.result = RunResult::kFailed;
    outcome.failedStage = RunStage::kReadLine;
    return;
  }
  std::unique_ptr<PointReader> reader = makeReader(source, readerOptions);
  ReadEntry entry;
  for (int sinceCheck = 0;; ++sinceCheck) {
    if (reader->AtEnd()) break;
    if (sinceCheck == kEntriesPerCheck) {
      sinceCheck = 0;
      if (options_.keepGoing && !options_.keepGoing()) {
        result_.cancelled = true;
        outcome.result = RunResult::kCancelled;
        break;
      }
    }
    if (limit_ > 0 && outcome.records >= limit_) {
      // As a conversion: where the first entry left out begins.
      if (reader->Next(entry)) outcome.firstLineNotConverted = entry.point.line;
      break;
    }
    if (!reader->Next(entry)) break;
    Take(entry);
  }
  if (reader->failure()) {
    outcome.result = RunResult::kFailed;
    outcome.failedStage = RunStage::kReadLine;
    outcome.readFailure = reader->failure();
  }
  outcome.inputEncoding = reader->textEncoding().value_or(TextEncoding::kCp932);
  outcome.encodingWorthSaying = reader->textBeyondAscii();
  outcome.ignored = reader->ignored();
}

void MapPointCollector::Take(const ReadEntry& entry) {
  if (entry.isPoint) {
    if (const auto problem = CheckPoint(entry.point, options_.untitled, range_)) {
      Skip(entry, problem->first, problem->second);
    } else {
      Keep(entry.point);
    }
  } else if (entry.skip != SkipKind::kNotPointLine) {
    Skip(entry, entry.skip, entry.reason);
  }
}

void MapPointCollector::Keep(const Point& point) {
  MapPoint kept;
  const Degrees degrees = DegreesOf(point.position);
  kept.longitude = degrees.longitude;
  kept.latitude = degrees.latitude;
  kept.line = point.line;
  if (const auto* units = std::get_if<DecodedPosition>(&point.position)) {
    kept.fromCode = true;
    kept.unitsX = units->x;
    kept.unitsY = units->y;
  }
  const std::string_view title = point.title.empty() ? kNoTitleText : titles_.Utf8(TitleOf(point));
  sink_.Add(kept, title);
  ++result_.outcome.records;
}

void MapPointCollector::Skip(const ReadEntry& entry, SkipKind kind, std::string_view reason) {
  result_.outcome.skipped.Count(kind);
  sink_.AddSkip(entry.point.line, kind, reason);
}

}  // namespace

void MapPoints::Add(const MapPoint& point, std::string_view title) {
  MapPoint& added = points_.emplace_back(point);
  added.titleOffset = ArenaOffset(titles_);
  added.titleSize = static_cast<std::uint32_t>(title.size());
  titles_.append(title);
}

void MapPoints::AddSkip(std::int64_t line, SkipKind kind, std::string_view reason) {
  const std::uint32_t offset = ArenaOffset(reasons_);
  skips_.push_back({line, kind, offset, static_cast<std::uint32_t>(reason.size())});
  reasons_.append(reason);
}

void MapPoints::Reserve(std::size_t points, std::size_t titleBytes) {
  points_.reserve(points);
  titles_.reserve(titleBytes);
}

MapPointTexts MapPoints::Texts(std::size_t index) const {
  const MapPoint& point = points_[index];
  MapPointTexts texts;
  if (point.fromCode) {
    texts.longitudeDms = FormatPotNotationOfUnits(point.unitsX);
    texts.latitudeDms = FormatPotNotationOfUnits(point.unitsY);
    texts.longitudeDecimal = std::string(FormatUnitsAsDegrees(point.unitsX).view());
    texts.latitudeDecimal = std::string(FormatUnitsAsDegrees(point.unitsY).view());
    texts.nviCode = std::string(FormatPositionCode(point.unitsX, point.unitsY).view());
    return texts;
  }
  texts.longitudeDms = SignedDms(point.longitude);
  texts.latitudeDms = SignedDms(point.latitude);
  texts.longitudeDecimal = std::string(FormatDegrees(point.longitude).view());
  texts.latitudeDecimal = std::string(FormatDegrees(point.latitude).view());
  // NVI holds no west longitude and no south latitude.
  if (point.longitude >= 0.0 && point.latitude >= 0.0) {
    texts.nviCode = EncodeNviPosition(point.longitude, point.latitude).str();
  }
  return texts;
}

FitBounds MapPoints::Bounds() const {
  BoundsGatherer gatherer;
  for (const MapPoint& point : points_) gatherer.Add(point.position());
  return gatherer.Bounds();
}

namespace {

/// Reads `source` into `sink` (`result.points` when `sink` is null, with
/// room set aside as `options.sizeHint` suggests).
MapReadResult ReadInto(ByteSource& source, PointFormat format, const MapReadOptions& options,
                       MapPointSink* sink) {
  MapReadResult result;
  MapPointCollector collector(options, format, result, sink ? *sink : result.points);
  try {
    if (sink == nullptr) {
      // Untouched room costs address space only; the smallest point entries
      // (CSV lines) take some 24 bytes, a title rarely a quarter of its entry.
      constexpr std::uint64_t kMostReserved = std::uint64_t{1} << 24;
      const std::uint64_t hint = std::min(options.sizeHint, kMostReserved * 24);
      result.points.Reserve(static_cast<std::size_t>(hint / 24),
                            static_cast<std::size_t>(hint / 4));
    }
    collector.ReadAll(source);
  } catch (const std::bad_alloc&) {
    result.outcome.result = RunResult::kFailed;
    result.outcome.failedStage = RunStage::kReadLine;
    result.outcome.error = std::make_error_code(std::errc::not_enough_memory);
  }
  if (result.outcome.result == RunResult::kFailed && !result.outcome.error) {
    result.outcome.error = source.error();
  }
  return result;
}

MapReadResult ReadFile(FileSystem& files, const std::string& path, const MapReadOptions& options,
                       MapPointSink* sink) {
  const PointFormat format = options.format.value_or(InputFormatOfFile(path));
  std::error_code error;
  std::unique_ptr<ByteSource> source = files.OpenForReading(path, error);
  if (!source || error) {
    MapReadResult result;
    result.format = format;
    result.output = options.output.value_or(DefaultOutputFormat(format));
    result.outcome.result = RunResult::kFailed;
    result.outcome.failedStage = RunStage::kOpenInput;
    result.outcome.failedPath = path;
    result.outcome.error = error;
    return result;
  }
  MapReadOptions sized = options;
  std::error_code sizeError;
  const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
  if (!sizeError && sized.sizeHint == 0) sized.sizeHint = size;
  MapReadResult result = ReadInto(*source, format, sized, sink);
  if (result.outcome.failedStage != RunStage::kNone) result.outcome.failedPath = path;
  return result;
}

}  // namespace

MapReadResult ReadMapPointsFrom(ByteSource& source, PointFormat format,
                                const MapReadOptions& options) {
  return ReadInto(source, format, options, nullptr);
}

MapReadResult ReadMapPoints(FileSystem& files, const std::string& path,
                            const MapReadOptions& options) {
  return ReadFile(files, path, options, nullptr);
}

MapReadResult ReadMapPointsInto(FileSystem& files, const std::string& path,
                                const MapReadOptions& options, MapPointSink& sink) {
  return ReadFile(files, path, options, &sink);
}

}  // namespace velorin
