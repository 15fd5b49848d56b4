#pragma once
// What every reader of a point format offers: the points of the input one
// at a time, entries that could not become points with the reason, and what
// the input held that is no point of interest at all.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "formats/ignored_items.h"
#include "formats/osm_tags.h"
#include "formats/point.h"
#include "formats/point_kinds.h"
#include "formats/untitled_rule.h"
#include "text/text_encoding.h"

namespace velorin {

/// Why an entry of the input did not become a point.
enum class SkipKind {
  kMalformed,     ///< the entry could not be read (no position, a bad number ...)
  kUntitled,      ///< no title, and untitled points are skipped
  kOutOfRange,    ///< a longitude or latitude the output cannot hold
  kNotPointLine,  ///< a line of a line-based file that holds no point at all:
                  ///< neither counted nor told, only logged
};

struct ReadEntry {
  bool isPoint = true;  ///< false: skipped, see skip and reason
  Point point;          ///< the point; for a skipped entry only point.line counts
  SkipKind skip = SkipKind::kMalformed;
  std::string reason;  ///< UTF-8, for --explain
  /// The coordinate texts as the file wrote them, where it writes texts
  /// (POT); views that live until the next entry. For the log.
  std::string_view longitudeText;
  std::string_view latitudeText;
};

/// Exchanges two entries member by member, their strings' buffers rather
/// than copies of them: readers hand out queued entries this way, and the
/// caller's entry comes back to be filled again without an allocation.
// NOLINTNEXTLINE(readability-identifier-naming): the name std::swap finds by ADL
inline void swap(ReadEntry& a, ReadEntry& b) noexcept {
  using std::swap;
  swap(a.isPoint, b.isPoint);
  swap(a.point, b.point);
  swap(a.skip, b.skip);
  a.reason.swap(b.reason);
  swap(a.longitudeText, b.longitudeText);
  swap(a.latitudeText, b.latitudeText);
}

/// The most points of one placemark or feature a reader keeps waiting for
/// what comes after them in the file (a name, a title, a type); each point
/// past it is skipped at once, saying so. A line of any length costs a
/// reader no more than this.
inline constexpr std::size_t kMaxPointsWaiting = 100'000;

/// The input as a whole could not be read on (not well-formed, a read error,
/// a refused construct). The run stops there.
struct ReadFailure {
  std::int64_t line = 0;  ///< where, when known; 0 otherwise
  std::string message;    ///< UTF-8, without the file's name
};

/// What a reader may be told beforehand.
struct ReaderOptions {
  /// The encoding of a text input (POT, CSV); chosen from its first bytes
  /// when absent.
  std::optional<TextEncoding> textEncoding;
  /// Where a format decides untitled points in its own order (POT tests the
  /// title before the coordinates); the run applies it to every other.
  UntitledRule untitled = UntitledRule::kKeep;
  /// Bytes read at a time; small ones let tests and fuzzing reach every
  /// buffer edge.
  std::size_t bufferSize = 1 << 16;
  /// The points read: waypoints, route points, track points (GPX, KML,
  /// KMZ, GeoJSON; the other formats hold waypoints only).
  PointKinds points = {};
  /// Track points closer than this along the track to the last one kept
  /// are left out; 0 keeps all.
  double thinMetres = kDefaultThinMetres;
  /// The input's path as the run names it, for a reader whose points take
  /// their name from it (a photo's title).
  std::string path = {};
  /// The objects kept of an OpenStreetMap extract, and their titles.
  OsmReadOptions osm = {};
  /// The memory an OpenStreetMap extract's node positions may take before
  /// they go into a temporary file; small ones let tests reach the file.
  std::size_t osmNodeMemory = std::size_t{256} << 20;
};

/// "read error: " and the system's words; a source of its own kind (an
/// archive) speaks for itself.
inline std::string ReadErrorText(const std::error_code& error) {
  if (!error) return "read error";
  const bool system =
      error.category() == std::generic_category() || error.category() == std::system_category();
  return system ? "read error: " + error.message() : error.message();
}

class PointReader {
 public:
  virtual ~PointReader() = default;
  /// Fills `entry` with the next point or skipped entry. False at the end of
  /// the input and on a failure; failure() tells the two apart.
  virtual bool Next(ReadEntry& entry) = 0;
  /// True when the input certainly holds no further entry (it may read
  /// ahead to know); readers that cannot tell cheaply say false, and Next()
  /// answers.
  virtual bool AtEnd() { return false; }
  const std::optional<ReadFailure>& failure() const { return failure_; }
  virtual IgnoredItems ignored() const { return {}; }
  /// ignored().Total(), without a copy where a reader can tell it cheaply:
  /// asked after every entry by a reader reading ahead.
  virtual std::int64_t ignoredTotal() const { return ignored().Total(); }
  /// The encoding a text input is read in; nothing for other formats.
  virtual std::optional<TextEncoding> textEncoding() { return std::nullopt; }
  /// True when a text input held more than ASCII (POT: in its first bytes;
  /// CSV: anywhere read so far), so that the encoding it was read in is
  /// worth saying.
  virtual bool textBeyondAscii() { return false; }
  /// The further texts its points can carry, when the reader knows them
  /// before its first point (a CSV's header names its columns, POT's points
  /// carry none); nothing when only the points will tell.
  virtual std::optional<PointFieldSet> fieldsGiven() const { return std::nullopt; }
  /// How a table input lays out its fields, when that is worth saying
  /// ("fields separated by \";\" with decimal commas"); empty otherwise.
  virtual std::string layoutNote() const { return {}; }
  /// What is worth saying of how the points are read, once the reader has
  /// begun (a CSV header that names no title column: which columns are
  /// read); empty otherwise.
  virtual std::string headNote() const { return {}; }

 protected:
  void Fail(std::int64_t line, std::string message) {
    if (!failure_) failure_ = ReadFailure{line, std::move(message)};
  }
  /// Takes on the failure of what the reader reads through, if it had one.
  void FailWith(const std::optional<ReadFailure>& failure) {
    if (failure) Fail(failure->line, failure->message);
  }

 private:
  std::optional<ReadFailure> failure_;
};

}  // namespace velorin
