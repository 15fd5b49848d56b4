#pragma once
// The encoding of a text file chosen from its first bytes, as they come: a
// pipe that has gone quiet is not waited for, so that the first lines are
// converted before the rest arrives.
#include <optional>
#include <string>
#include <string_view>

#include "platform/line_reader.h"
#include "text/text_encoding.h"
#include "text/utf8.h"

namespace velorin {

/// The encoding of a text file read line by line, chosen where it first
/// matters. ASCII reads the same in CP932 and UTF-8, so the choice waits for
/// the first line with a byte beyond ASCII, wherever it comes, and is made
/// by DetectTextEncoding's rules from that byte on (kEncodingSniffBytes of
/// the file from there). A byte-order mark decides at once, as does an
/// encoding told.
class LateTextEncoding {
 public:
  explicit LateTextEncoding(std::optional<TextEncoding> told) : told_(told) {}

  /// Before the first line: looks at the first bytes, skips a byte-order mark.
  void Start(LineReader& reader);
  bool started() const { return started_; }
  /// After each line `reader` gave: decides at the line's first byte beyond
  /// ASCII while the choice is open. The look further ahead may move the
  /// reader's buffer, so `line` may come back as a view of a copy of it.
  void See(std::string_view& line, LineReader& reader) {
    if (watching_ && !utf8::IsAscii(line)) Decide(line, reader);
  }

  /// The encoding to read the text in so far: CP932 while only ASCII came
  /// (either reads it the same).
  TextEncoding encoding() const { return chosen_.encoding; }
  /// The encoding worth naming: the one chosen; before the first line (an
  /// empty file), the one told, if any.
  std::optional<TextEncoding> named() const {
    return started_ ? std::optional<TextEncoding>(chosen_.encoding) : told_;
  }
  /// True once a byte beyond ASCII came, so that the choice mattered.
  bool beyondAscii() const { return chosen_.beyondAscii; }

 private:
  void Decide(std::string_view& line, LineReader& reader);

  std::optional<TextEncoding> told_;
  DetectedEncoding chosen_;
  bool started_ = false;
  bool decided_ = false;
  /// Lines are looked at until the first byte beyond ASCII.
  bool watching_ = false;
  std::string line_;  ///< the line the choice was made at, copied before looking ahead
};

}  // namespace velorin
