#pragma once
// A title typed for a point, checked as the output will hold it: joined
// into one line as the editor keeps it (TidyTypedTitle), through the
// engine's one title rule for the output's encoding, then what the
// output's writer does to a title of its own accord (POT's "/" and its
// longest title), so that the window can say while the title is typed what
// will become of it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "convert/title_rule.h"
#include "formats/format_table.h"
#include "map/map_messages.h"

namespace velorin {

/// The title rule's target for a file of `format` (with default writer
/// options): the encoding its writer takes titles in, as the format table
/// has it.
TitleTarget OutputTitleTarget(PointFormat format);

struct TitleCheck {
  /// The title as the file will hold it, in UTF-8.
  std::string written;
  /// Nothing is left of it but white space: the point has no title.
  bool empty = false;
  /// Longer than the output keeps (TitleCharacterLimit), in characters.
  bool tooLong = false;
  std::size_t limit = 0;
  /// The characters that the output's encoding cannot show (each once, in
  /// order): they become their closest characters or "?".
  std::vector<std::string> unshowable;
  /// The file will hold other characters than those typed (a POT title's
  /// "/" as "／", characters no text should hold, ...).
  bool changed = false;

  bool ok() const { return !empty && !tooLong && unshowable.empty() && !changed; }
};

/// Checks `utf8`, typed for a file of `format`.
TitleCheck CheckTitle(std::string_view utf8, PointFormat format);

/// What the window says of `utf8` typed for a file of `format`, one remark
/// to a line ("\n" between): no title, too long, the characters the file
/// cannot show, and what the file will hold when it differs; empty for a
/// title kept as typed.
std::string TitleCheckText(const MapMessages& words, std::string_view utf8, PointFormat format);

}  // namespace velorin
