#pragma once
// What the map window says of a save, for any toolkit: after every save,
// the records written and what was left out and why (as velorin-cli's
// summary says it, from the engine's outcome); before the file read is
// saved over, what of it will not be kept. Said in lines of the message
// table's texts (their numbers in map/map_messages.h), each with its count:
// the window puts them into words.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "convert/run_outcome.h"
#include "map/map_messages.h"

namespace velorin {

/// One line: a message, the count that follows it, and in brackets the
/// parts of the count, each a message and its count.
struct ReportLine {
  int message = 0;
  std::optional<std::int64_t> count = std::nullopt;
  std::vector<std::pair<int, std::int64_t>> parts = {};

  friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

/// What a save wrote and what it did not, beyond the records.
struct SaveCounts {
  RunOutcome outcome;
  /// Points written without a title of their own, as "no title".
  std::int64_t namedNoTitle = 0;
  /// Points the format's record limit left unwritten.
  std::int64_t beyondLimit = 0;
};

/// What a save left out and why: the points skipped by kind, those beyond
/// the record limit, the titles changed, the texts the format has no place
/// for. Nothing when it left nothing out.
std::vector<ReportLine> LeftOutLines(const SaveCounts& counts);

/// After a save: the records written, then LeftOutLines.
std::vector<ReportLine> SavedLines(const SaveCounts& counts);

/// Before the file read is saved over: what of it will not be kept, the
/// lines that held no point and the items that are no points (from the
/// map's reading, `read`), then what the save will leave out (`save`, a
/// save made beforehand into nothing), then that whatever else the file
/// holds and Velorin does not read goes too (an elevation, a time, a
/// style: no reader counts them); with `changedOnDisk`, that another
/// program changed the file after it was read.
std::vector<ReportLine> LossLines(const RunOutcome& read, const SaveCounts& save,
                                  bool changedOnDisk);

/// A message text by number, as the window shows it.
using SaveMessageText = std::function<std::string(int)>;

/// `lines` in words, one to a line ("\n" between): each message, then its
/// count after a space, then its parts in brackets ("Points skipped: 3
/// (no title: 2, unreadable: 1)").
std::string ReportText(const std::vector<ReportLine>& lines, const SaveMessageText& message);

}  // namespace velorin
