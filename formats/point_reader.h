#pragma once
// What every reader of a point format offers: the points of the input one
// at a time, entries that could not become points with the reason, and what
// the input held that is no point of interest at all.
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "formats/point.h"
#include "text/text_encoding.h"

namespace velorin {

/// Why an entry of the input did not become a point.
enum class SkipKind {
  kMalformed,   ///< the entry could not be read (no position, a bad number ...)
  kUntitled,    ///< no title, and untitled points are skipped
  kOutOfRange,  ///< a longitude or latitude NVI cannot hold (below 0, above 180)
};

struct ReadEntry {
  bool isPoint = true;  ///< false: skipped, see skip and reason
  Point point;          ///< the point; for a skipped entry only point.line counts
  SkipKind skip = SkipKind::kMalformed;
  std::string reason;  ///< UTF-8, for --explain
};

/// The input as a whole could not be read on (not well-formed, a read error,
/// a refused construct). The run stops there.
struct ReadFailure {
  std::int64_t line = 0;  ///< where, when known; 0 otherwise
  std::string message;    ///< UTF-8, without the file's name
};

/// Things of the input that are not points of interest and are only counted.
struct IgnoredItems {
  std::int64_t routes = 0;
  std::int64_t tracks = 0;
  std::int64_t placemarksWithoutPoint = 0;
};

/// What a reader may be told beforehand.
struct ReaderOptions {
  /// The encoding of a text input (POT, CSV); chosen from its first bytes
  /// when absent.
  std::optional<TextEncoding> textEncoding;
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
  const std::optional<ReadFailure>& failure() const { return failure_; }
  virtual IgnoredItems ignored() const { return {}; }

 protected:
  void Fail(std::int64_t line, std::string message) {
    if (!failure_) failure_ = ReadFailure{line, std::move(message)};
  }

 private:
  std::optional<ReadFailure> failure_;
};

}  // namespace velorin
