#include "convert/run_summary.h"

#include <utility>
#include <vector>

#include "convert/title_rule.h"
#include "formats/csv_writer.h"

namespace velorin {

namespace {

std::string Counted(std::int64_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

/// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& parts) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
    text += parts[i];
  }
  return text;
}

/// "3 that cannot be moved from the Tokyo datum to WGS 84: latitude beyond
/// 90 degrees", for each pair of datums that left points unmoved: the words
/// each point was skipped with.
void UnmovableCounts(const std::vector<DatumMoves>& moves, std::vector<std::string>& why) {
  for (const DatumMoves& moved : moves) {
    if (moved.unmovable == 0) continue;
    std::string words = std::to_string(moved.unmovable) + " that " + UnmovableWords(moved);
    if (moved.beyondThePoles == moved.unmovable) words += kBeyondThePolesWords;
    why.push_back(std::move(words));
  }
}

std::string SkippedLine(const RunOutcome& outcome, PointFormat input, PointFormat output) {
  const SkipCounts& counts = outcome.skipped;
  if (counts.total() == 0) return {};
  std::vector<std::string> why;
  if (counts.untitled > 0) why.push_back(std::to_string(counts.untitled) + " without a title");
  std::int64_t outside = counts.outOfRange;
  for (const DatumMoves& moved : outcome.datumMoves) outside -= moved.unmovable;
  if (outside > 0) {
    why.push_back(std::to_string(outside) +
                  (InfoOf(output).positions == PositionRange::kNvi
                       ? " outside 0 to 180 degrees"
                       : " outside latitude -90 to 90 or longitude -180 to 180"));
  }
  UnmovableCounts(outcome.datumMoves, why);
  if (counts.malformed > 0) why.push_back(std::to_string(counts.malformed) + " unreadable");
  // POT files are read by the line, the others by the point.
  const ItemNames& names = InfoOf(input).entries;
  return Counted(counts.total(), names.one, names.many) + " skipped: " + Listed(why);
}

/// "3 routes", "1 <wpt> element in namespace urn:x": a kind's count in its words.
std::string IgnoredCount(const IgnoredItems& items, IgnoredKind kind) {
  const IgnoredWords& words = WordsOf(kind);
  const std::int64_t count = items[kind];
  std::string text = std::to_string(count) + " ";
  if (words.named) text += "<" + items.unreadName + "> ";
  text += count == 1 ? words.one : words.many;
  if (words.named) return text + " " + items.unreadNote;
  return text + std::string(words.after);
}

std::string IgnoredLine(const IgnoredItems& items) {
  std::vector<std::string> ignored;
  std::vector<std::string> clauses;
  for (std::size_t i = 0; i < kIgnoredKindCount; ++i) {
    const auto kind = static_cast<IgnoredKind>(i);
    if (items[kind] == 0) continue;
    (WordsOf(kind).ownClause ? clauses : ignored).push_back(IgnoredCount(items, kind));
  }
  if (!ignored.empty()) clauses.insert(clauses.begin(), Listed(ignored) + " ignored");
  std::string line;
  for (const std::string& clause : clauses) line += (line.empty() ? "" : "; ") + clause;
  return line;
}

/// "outside --near": what a filter's count stands for.
std::string LeftOutWords(const LeftOutCount& count) {
  switch (count.kind) {
    case FilterKind::kNear:
    case FilterKind::kWithin:
      return "outside " + count.filter;
    case FilterKind::kMatch:
      return "not matching " + count.filter;
    case FilterKind::kExclude:
      break;
  }
  return "dropped by " + count.filter;
}

/// The ignored items that are points of interest (`point`) or lines of
/// points (`line`).
std::int64_t IgnoredOf(const IgnoredItems& items, bool IgnoredWords::*kind) {
  std::int64_t count = 0;
  for (std::size_t i = 0; i < kIgnoredKindCount; ++i) {
    const auto ignoredKind = static_cast<IgnoredKind>(i);
    if (WordsOf(ignoredKind).*kind) count += items[ignoredKind];
  }
  return count;
}

bool NothingTaken(const RunOutcome& outcome) {
  return outcome.records == 0 && outcome.skipped.total() == 0 && outcome.leftOutTotal() == 0;
}

std::string DatumLine(const std::vector<DatumMoves>& moves, PointFormat output) {
  std::string line;
  for (const DatumMoves& moved : moves) {
    if (moved.points == 0) continue;
    if (!line.empty()) line += "; ";
    line += WrittenCount(moved.points, output) + " moved from " +
            std::string(DatumWords(moved.from)) + " to " + std::string(DatumWords(moved.to)) +
            " by " + moved.operation;
  }
  return line;
}

/// "14 addresses and 1 link": the texts counted, by field.
std::string FieldsCounted(const std::array<std::int64_t, kPointFieldCount>& counts) {
  std::vector<std::string> parts;
  for (const PointField field : kPointFields) {
    const std::int64_t count = counts[IndexOf(field)];
    if (count > 0) parts.push_back(Counted(count, WordsOf(field).one, WordsOf(field).many));
  }
  return Listed(parts);
}

/// Why an output had no place for a point's texts.
std::string NoPlaceFor(const FieldCounts& counts, PointFormat output) {
  if (output == PointFormat::kNvi) {
    return counts.nviAsked ? "their NVI fields were not asked for" : "no NVI field was asked for";
  }
  return std::string(DisplayName(output)) + " has no place for them";
}

/// What the rule put in for characters, as its changes `kinds` (a bit for
/// each TitleChange) say: "closest CP932 characters or \"?\"", "control
/// characters as U+FFFD" ...; U+FFFD is named only where one was put in.
std::string ReplacedHow(unsigned kinds, bool utf8) {
  TextChanges changes;
  changes.kinds = kinds;
  const std::string as = utf8 ? " as U+FFFD" : " as \"?\"";
  std::vector<std::string> how;
  if (changes.Made(TitleChange::kClosest) || changes.Made(TitleChange::kUnshowable)) {
    how.emplace_back("closest CP932 characters or \"?\"");
  }
  if (changes.Made(TitleChange::kControl)) how.push_back("control characters" + as);
  if (changes.Made(TitleChange::kBrokenBytes)) {
    how.push_back("bytes that are no whole CP932 character" + as);
  }
  if (changes.Made(TitleChange::kRecoded))
    how.emplace_back("duplicate CP932 codes as the usual ones");
  return Listed(how);
}

void SummarizeFields(const FieldCounts& counts, PointFormat output, bool utf8,
                     RunSummary& summary) {
  const std::string notKept = TextsNotKeptText(counts);
  if (!notKept.empty())
    summary.fieldsNotKept = notKept + " not kept: " + NoPlaceFor(counts, output);
  const std::string leftOut = FieldsCounted(counts.leftOut);
  if (!leftOut.empty()) {
    summary.fieldsLeftOut = leftOut + " not kept: the CSV's columns were chosen from its first " +
                            std::to_string(kCsvColumnLookahead) + " points";
  }
  const std::string cut = FieldsCounted(counts.cut);
  if (!cut.empty()) {
    summary.fieldsCut = cut + " cut at " + std::to_string(kMaxTextBytes) +
                        " bytes, on a character's edge: the most of one text read";
  }
  if (counts.replaced > 0) {
    summary.fieldsReplaced = Counted(counts.replaced, "description, address or other text",
                                     "descriptions, addresses or other texts") +
                             " with characters replaced (" +
                             ReplacedHow(counts.replacedKinds, utf8) + ")";
  }
  if (counts.fitted > 0) {
    summary.fieldsFitted =
        Counted(counts.fitted, "record", "records") +
        " with NVI fields made to fit the block (braces, semicolons and line breaks replaced, "
        "long texts cut)";
  }
}

/// What the rule and the writer did to titles, a line for each kind.
void SummarizeTitles(const TitleCounts& titles, bool textsInUtf8, RunSummary& summary) {
  if (titles.adjusted > 0) {
    summary.titlesChanged =
        Counted(titles.adjusted, "title", "titles") +
        " changed to fit a POT line (\"/\" and the \"=\" of \"ido=\" written full width, "
        "line breaks as blanks, past 32000 characters cut)";
  }
  if (titles.controls > 0) {
    summary.titlesControls =
        Counted(titles.controls, "title", "titles") + " with control characters replaced";
  }
  if (titles.unshowable > 0) {
    summary.titlesUnshowable = Counted(titles.unshowable, "title", "titles") +
                               " CP932 cannot show at all, written as \"?\"";
  }
  if (titles.recoded > 0) {
    summary.titlesRecoded = Counted(titles.recoded, "title", "titles") +
                            " with CP932 codes that UTF-8 holds only as others (a duplicate "
                            "code written as the usual one)";
  }
  if (titles.brokenBytes > 0) {
    summary.titlesBrokenBytes = Counted(titles.brokenBytes, "title", "titles") +
                                " with bytes that are no whole CP932 character, written as " +
                                (textsInUtf8 ? "U+FFFD" : "\"?\"");
  }
  if (titles.tidied > 0) {
    summary.titlesTidied = Counted(titles.tidied, "title", "titles") +
                           " with blanks, TABs or line breaks inside made single blanks";
  }
}

}  // namespace

bool HeldOnlyLines(const RunOutcome& outcome) {
  // Points of interest left unread are said otherwise: the file has some.
  return NothingTaken(outcome) && IgnoredOf(outcome.ignored, &IgnoredWords::line) > 0 &&
         IgnoredOf(outcome.ignored, &IgnoredWords::point) == 0;
}

bool HeldOnlyUnreadPoints(const RunOutcome& outcome) {
  return NothingTaken(outcome) && IgnoredOf(outcome.ignored, &IgnoredWords::point) > 0;
}

std::string UnreadPointsText(const RunOutcome& outcome) {
  const IgnoredItems& items = outcome.ignored;
  std::vector<std::string> held;
  for (std::size_t i = 0; i < kIgnoredKindCount; ++i) {
    const auto kind = static_cast<IgnoredKind>(i);
    const IgnoredWords& words = WordsOf(kind);
    if ((words.point || words.line) && items[kind] > 0) {
      held.push_back(Counted(items[kind], words.one, words.many));
    }
  }
  return Listed(held);
}

PointKinds KindsHeldUnread(const RunOutcome& outcome) {
  const IgnoredItems& items = outcome.ignored;
  return {IgnoredOf(items, &IgnoredWords::point) > 0,
          items[IgnoredKind::kRoute] + items[IgnoredKind::kLineString] > 0,
          items[IgnoredKind::kTrack] + items[IgnoredKind::kMultiLineString] > 0};
}

std::string TextsNotKeptText(const FieldCounts& counts) { return FieldsCounted(counts.notKept); }

RunSummary SummarizeRun(const RunOutcome& outcome, PointFormat input, PointFormat output) {
  RunSummary summary;
  if (outcome.encodingWorthSaying) {
    summary.encoding = outcome.inputEncoding == TextEncoding::kUtf8 ? "read as UTF-8"
                                                                    : "read as CP932 (Shift_JIS)";
  }
  if (!outcome.inputLayout.empty()) {
    summary.encoding += (summary.encoding.empty() ? "" : "; ") + outcome.inputLayout;
  }
  summary.notes = outcome.inputNotes;
  summary.skipped = SkippedLine(outcome, input, output);
  summary.datumMoves = DatumLine(outcome.datumMoves, output);
  summary.ignored = IgnoredLine(outcome.ignored);
  if (outcome.duplicatesDropped > 0) {
    summary.duplicates =
        Counted(outcome.duplicatesDropped, "duplicate point", "duplicate points") + " dropped";
  }
  for (const LeftOutCount& count : outcome.leftOut) {
    if (count.points == 0) continue;
    summary.leftOut.push_back(Counted(count.points, "point", "points") + " " + LeftOutWords(count));
  }
  if (HeldOnlyLines(outcome)) {
    summary.onlyLines =
        "the file holds no waypoints, only routes or tracks, whose points were "
        "not read";
  } else if (HeldOnlyUnreadPoints(outcome)) {
    summary.onlyLines = "the file holds " + UnreadPointsText(outcome) +
                        ", none of them among the points read (" + PointKindsText(outcome.points) +
                        ")";
  }
  SummarizeTitles(outcome.titles, outcome.textsInUtf8, summary);
  SummarizeFields(outcome.fields, output, outcome.textsInUtf8, summary);
  return summary;
}

std::vector<std::string> SummaryLines(const RunSummary& summary) {
  std::vector<std::string> lines;
  if (!summary.encoding.empty()) lines.push_back(summary.encoding);
  lines.insert(lines.end(), summary.notes.begin(), summary.notes.end());
  if (!summary.skipped.empty()) lines.push_back(summary.skipped);
  lines.insert(lines.end(), summary.leftOut.begin(), summary.leftOut.end());
  for (const std::string* line :
       {&summary.datumMoves, &summary.duplicates, &summary.ignored, &summary.onlyLines,
        &summary.titlesChanged, &summary.titlesControls, &summary.titlesUnshowable,
        &summary.titlesRecoded, &summary.titlesBrokenBytes, &summary.titlesTidied,
        &summary.fieldsNotKept, &summary.fieldsLeftOut, &summary.fieldsCut, &summary.fieldsReplaced,
        &summary.fieldsFitted}) {
    if (!line->empty()) lines.push_back(*line);
  }
  return lines;
}

std::string WrittenCount(std::int64_t count, PointFormat output) {
  const ItemNames& names = InfoOf(output).written;
  return Counted(count, names.one, names.many);
}

}  // namespace velorin
