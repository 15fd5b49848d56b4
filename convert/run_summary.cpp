#include "convert/run_summary.h"

#include <vector>

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

std::string SkippedLine(const SkipCounts& counts, PointFormat input, PointFormat output) {
  if (counts.total() == 0) return {};
  std::vector<std::string> why;
  if (counts.untitled > 0) why.push_back(std::to_string(counts.untitled) + " without a title");
  if (counts.outOfRange > 0) {
    why.push_back(std::to_string(counts.outOfRange) +
                  (InfoOf(output).positions == PositionRange::kNvi
                       ? " outside 0 to 180 degrees"
                       : " outside latitude -90 to 90 or longitude -180 to 180"));
  }
  if (counts.malformed > 0) why.push_back(std::to_string(counts.malformed) + " unreadable");
  // POT files are read by the line, the others by the point.
  const bool lines = input == PointFormat::kPot;
  return Counted(counts.total(), lines ? "point line" : "point", lines ? "point lines" : "points") +
         " skipped: " + Listed(why);
}

std::string IgnoredLine(const IgnoredItems& items) {
  std::vector<std::string> ignored;
  if (items.routes > 0) ignored.push_back(Counted(items.routes, "route", "routes"));
  if (items.tracks > 0) ignored.push_back(Counted(items.tracks, "track", "tracks"));
  if (items.placemarksWithoutPoint > 0) {
    ignored.push_back(Counted(items.placemarksWithoutPoint, "placemark", "placemarks") +
                      " without a point");
  }
  if (items.lineStrings > 0) {
    ignored.push_back(Counted(items.lineStrings, "LineString", "LineStrings"));
  }
  if (items.polygons > 0) ignored.push_back(Counted(items.polygons, "Polygon", "Polygons"));
  if (items.otherGeometries > 0) {
    ignored.push_back(Counted(items.otherGeometries, "geometry", "geometries") +
                      " of a type GeoJSON lacks");
  }
  if (items.featuresWithoutGeometry > 0) {
    ignored.push_back(Counted(items.featuresWithoutGeometry, "feature", "features") +
                      " without a geometry");
  }
  if (items.unreadElements > 0) {
    const std::string element = "<" + items.unreadName + "> element";
    ignored.push_back(Counted(items.unreadElements, element, element + "s") + " " +
                      items.unreadNote);
  }
  std::vector<std::string> clauses;
  if (!ignored.empty()) clauses.push_back(Listed(ignored) + " ignored");
  if (items.linksOutside > 0) {
    clauses.push_back(Counted(items.linksOutside, "link to another file", "links to other files") +
                      " not followed");
  }
  if (items.linksNotFollowed > 0) {
    clauses.push_back(Counted(items.linksNotFollowed, "link", "links") +
                      " within the archive not followed (no such file, or too deep or too many)");
  }
  std::string line;
  for (const std::string& clause : clauses) line += (line.empty() ? "" : "; ") + clause;
  return line;
}

}  // namespace

bool HeldOnlyLines(const RunOutcome& outcome) {
  const IgnoredItems& ignored = outcome.ignored;
  return outcome.records == 0 && outcome.skipped.total() == 0 &&
         ignored.routes + ignored.tracks + ignored.lineStrings > 0;
}

RunSummary SummarizeRun(const RunOutcome& outcome, PointFormat input, PointFormat output) {
  RunSummary summary;
  if (outcome.encodingWorthSaying) {
    summary.encoding = outcome.inputEncoding == TextEncoding::kUtf8 ? "read as UTF-8"
                                                                    : "read as CP932 (Shift_JIS)";
  }
  if (!outcome.inputLayout.empty()) {
    summary.encoding += (summary.encoding.empty() ? "" : "; ") + outcome.inputLayout;
  }
  summary.skipped = SkippedLine(outcome.skipped, input, output);
  summary.ignored = IgnoredLine(outcome.ignored);
  if (outcome.duplicatesDropped > 0) {
    summary.duplicates =
        Counted(outcome.duplicatesDropped, "duplicate point", "duplicate points") + " dropped";
  }
  if (HeldOnlyLines(outcome)) {
    summary.onlyLines =
        "the file holds no waypoints, only routes or tracks: --points=routes,tracks reads "
        "their points";
  }
  if (outcome.titlesAdjusted > 0) {
    summary.titlesChanged =
        Counted(outcome.titlesAdjusted, "title", "titles") +
        (output == PointFormat::kPot
             ? " changed to fit a POT line (\"/\" and the \"=\" of \"ido=\" written full width, "
               "line breaks as blanks, past 32000 characters cut)"
             : " with control characters replaced");
  }
  if (outcome.titlesUnshowable > 0) {
    summary.titlesUnshowable = Counted(outcome.titlesUnshowable, "title", "titles") +
                               " CP932 cannot show at all, written as \"?\"";
  }
  if (outcome.titlesRecoded > 0) {
    summary.titlesRecoded =
        Counted(outcome.titlesRecoded, "title", "titles") +
        " with CP932 codes that UTF-8 holds only as others (a duplicate code written as the "
        "usual one, bytes that are no character as U+FFFD)";
  }
  if (outcome.titlesTidied > 0) {
    summary.titlesTidied = Counted(outcome.titlesTidied, "title", "titles") +
                           " with blanks, TABs or line breaks inside made single blanks";
  }
  return summary;
}

std::string WrittenCount(std::int64_t count, PointFormat output) {
  return output == PointFormat::kNvi ? Counted(count, "record", "records")
                                     : Counted(count, "point", "points");
}

}  // namespace velorin
