#include "cli/format_report.h"

#include <vector>

#include "cli/exit_codes.h"
#include "cli/skip_reason_text.h"
#include "cli/stdio_file_system.h"

namespace velorin {

namespace {

constexpr std::string_view kProgram = "velorin-cli: ";

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

std::string Where(const RunPaths& files) {
  return files.output == StdioFileSystem::kStandardOutput ? std::string("standard output")
                                                          : PrintableText(files.output);
}

std::string CountLine(const PointRunOutcome& outcome, const FormatRunContext& context) {
  const PointTally& tally = outcome.tally;
  std::string line = context.output == PointFormat::kNvi
                         ? Counted(tally.written, "record", "records")
                         : Counted(tally.written, "point", "points");
  line += " written to " + Where(context.files);
  if (tally.titlesApproximated > 0) {
    line += " (" + Counted(tally.titlesApproximated, "title", "titles") +
            " with characters CP932 lacks replaced by the closest ones)";
  }
  return line + "\n";
}

/// Skipped points, ignored routes and tracks, titles the output changed.
std::string DetailLines(const PointRunOutcome& outcome, const FormatRunContext& context) {
  const PointTally& tally = outcome.tally;
  std::string text;
  std::vector<std::string> skipped;
  if (tally.untitled > 0) skipped.push_back(std::to_string(tally.untitled) + " without a title");
  if (tally.outOfRange > 0) {
    skipped.push_back(std::to_string(tally.outOfRange) + " outside 0 to 180 degrees");
  }
  if (tally.malformed > 0) skipped.push_back(std::to_string(tally.malformed) + " unreadable");
  const std::int64_t skippedCount = tally.untitled + tally.outOfRange + tally.malformed;
  if (skippedCount > 0) {
    text += std::string(kProgram) + Counted(skippedCount, "point", "points") +
            " skipped: " + Listed(skipped) +
            (context.explained ? "\n" : " (--explain tells which)\n");
  }
  std::vector<std::string> ignored;
  const IgnoredItems& items = tally.ignored;
  if (items.routes > 0) ignored.push_back(Counted(items.routes, "route", "routes"));
  if (items.tracks > 0) ignored.push_back(Counted(items.tracks, "track", "tracks"));
  if (items.placemarksWithoutPoint > 0) {
    ignored.push_back(Counted(items.placemarksWithoutPoint, "placemark", "placemarks") +
                      " without a point");
  }
  if (!ignored.empty()) text += std::string(kProgram) + Listed(ignored) + " ignored\n";
  if (tally.titlesAdjusted > 0) {
    text += std::string(kProgram) + Counted(tally.titlesAdjusted, "title", "titles") +
            (context.output == PointFormat::kPot
                 ? " changed to fit a POT line (\"/\" and the \"=\" of \"ido=\" written full "
                   "width)\n"
                 : " with control characters replaced\n");
  }
  return text;
}

/// What became of the output file after a failure.
std::string OutputAfterFailure(const FormatRunContext& context) {
  if (context.files.output == StdioFileSystem::kStandardOutput) {
    return std::string(kProgram) + "what reached standard output may be incomplete\n";
  }
  return std::string(kProgram) + DescribeFile("output file", context.files.output) +
         (context.outputExisted ? " left unchanged\n" : " not created\n");
}

}  // namespace

RunReport ReportFormatRun(const PointRunOutcome& outcome, const FormatRunContext& context) {
  const std::string program(kProgram);
  switch (outcome.end) {
    case PointRunEnd::kFinished:
      return {kExitDone, CountLine(outcome, context) + DetailLines(outcome, context)};
    case PointRunEnd::kLimitReached:
      return {kExitLimitReached,
              CountLine(outcome, context) + DetailLines(outcome, context) + program +
                  "the limit of " + std::to_string(outcome.tally.written) +
                  " records was reached; input lines from line " +
                  std::to_string(outcome.firstLineNotConverted) + " on were not converted\n"};
    case PointRunEnd::kCancelled:
      return {context.interruptSignal > 0 ? kExitSignalBase + context.interruptSignal
                                          : kExitInterrupted,
              "interrupted: " + CountLine(outcome, context) + DetailLines(outcome, context)};
    case PointRunEnd::kReadFailed: {
      std::string text = program + DescribeFile("input file", context.files.input);
      if (outcome.readFailure && outcome.readFailure->line > 0) {
        text += " line " + std::to_string(outcome.readFailure->line);
      }
      text += ": " + PrintableText(outcome.readFailure ? outcome.readFailure->message
                                                       : std::string("read error"));
      return {kExitFailed, text + "\n" + OutputAfterFailure(context)};
    }
    case PointRunEnd::kWriteFailed:
      break;
  }
  std::string text =
      program + "write error on " + DescribeFile("output file", context.files.output);
  if (context.writeError) text += ": " + context.writeError.message();
  return {kExitFailed, text + "\n" + OutputAfterFailure(context)};
}

}  // namespace velorin
