#pragma once
// What became of a run's entries, in short lines of English: the points
// skipped and why, what the input held besides points, the titles the
// output changed. The log ends with them; velorin-cli prints them, with its
// own options named where one would have read or kept more.
#include <string>
#include <vector>

#include "convert/run_outcome.h"
#include "formats/format_table.h"

namespace velorin {

struct RunSummary {
  /// "read as UTF-8" for a text input with more than ASCII, and how a table
  /// laid out its fields when worth saying ("read as UTF-8; fields separated
  /// by \";\" with decimal commas"); empty otherwise.
  std::string encoding;
  /// What the readers said of how they read the inputs ("no column of the
  /// header names a title ..."), a line each.
  std::vector<std::string> notes;
  /// "2 points skipped: 1 without a title and 1 unreadable" (point lines
  /// for POT input); empty when none was.
  std::string skipped;
  /// "2 routes and 1 track ignored", "3 LineStrings and 1 Polygon ignored",
  /// "1 link to another file not followed";
  /// empty when there was nothing else.
  std::string ignored;
  /// For an input whose only points lie on routes or tracks not read: that
  /// it holds those alone; for one whose points of interest (waypoints)
  /// were not read, the kinds it holds and those read; empty otherwise.
  std::string onlyLines;
  /// Titles changed to fit a POT line; empty when none was.
  std::string titlesChanged;
  /// "2 titles with control characters replaced"; empty when none was.
  std::string titlesControls;
  /// "3 titles CP932 cannot show at all, written as \"?\""; empty when none.
  std::string titlesUnshowable;
  /// CP932 titles whose codes UTF-8 holds only as others; empty when none.
  std::string titlesRecoded;
  /// "1 title with bytes that are no whole CP932 character, written as
  /// \"?\""; empty when none.
  std::string titlesBrokenBytes;
  /// Titles whose inner white space became single blanks; empty when none.
  std::string titlesTidied;
  /// "2 duplicate points dropped" (--dedupe); empty when none was.
  std::string duplicates;
  /// "212 points outside --near", "3 points dropped by --exclude": a line
  /// for each filter that left points out, named as its host named it.
  std::vector<std::string> leftOut;
  /// "3 records moved from the Tokyo datum to WGS 84 by EPSG:15484 \"Tokyo
  /// to WGS 84 (108)\"", a line for each pair of datums; empty when no
  /// point written was moved.
  std::string datumMoves;
  /// "14 addresses not kept: GPX has no place for them"; empty when every
  /// text had a place.
  std::string fieldsNotKept;
  /// Texts that came after a CSV's columns were chosen; empty when none.
  std::string fieldsLeftOut;
  /// "1 description cut at 65536 bytes ..."; empty when none was.
  std::string fieldsCut;
  /// "2 descriptions, addresses or other texts with characters replaced
  /// (closest CP932 characters or \"?\")": what was put in, by how.
  std::string fieldsReplaced;
  /// "3 records with NVI fields made to fit the block".
  std::string fieldsFitted;
};

/// The input held no point of its own (none written, none skipped) but
/// routes or tracks, which were not read: their points are what the person
/// is likely after.
bool HeldOnlyLines(const RunOutcome& outcome);

/// The input held points, none of them of the kinds read (PointKinds).
bool HeldOnlyUnreadPoints(const RunOutcome& outcome);
/// "3 waypoints and 1 track": the points and lines the input held unread.
std::string UnreadPointsText(const RunOutcome& outcome);
/// The kinds that would read the points the input held unread.
PointKinds KindsHeldUnread(const RunOutcome& outcome);
/// "14 addresses and 1 link": the texts no place of the output kept; empty
/// when every text had one.
std::string TextsNotKeptText(const FieldCounts& counts);

/// The summary in words that name no option of any face.
RunSummary SummarizeRun(const RunOutcome& outcome, PointFormat input, PointFormat output);

/// A summary of a run in a host's words.
using Summarizer = RunSummary (*)(const RunOutcome& outcome, PointFormat input, PointFormat output);

/// The lines of the summary that are not empty, in the order the log
/// writes them.
std::vector<std::string> SummaryLines(const RunSummary& summary);

/// "1 record", "2 points": records for NVI output, points for the others.
std::string WrittenCount(std::int64_t count, PointFormat output);

}  // namespace velorin
