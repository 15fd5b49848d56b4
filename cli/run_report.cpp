#include "cli/run_report.h"

#include <filesystem>
#include <system_error>

#include "cli/exit_codes.h"
#include "cli/printable_text.h"
#include "cli/stdio_file_system.h"
#include "convert/run_summary.h"
#include "text/ascii.h"

namespace velorin {

namespace {

constexpr std::string_view kProgram = "velorin-cli: ";

std::string Where(const RunPaths& files) {
  return files.output == StdioFileSystem::kStandardOutput ? std::string("standard output")
                                                          : PrintableText(files.output);
}

std::string CountLine(const RunOutcome& outcome, const RunPaths& files,
                      const ReportContext& context) {
  if (context.mapped) {
    return std::to_string(outcome.records) + (outcome.records == 1 ? " point" : " points") +
           " drawn in " + Where(files) + "\n";
  }
  std::string line = WrittenCount(outcome.records, context.output) + " written to " + Where(files);
  const std::int64_t replaced = outcome.titles.replaced;
  if (replaced > 0) {
    line += " (" + std::to_string(replaced) + (replaced == 1 ? " title" : " titles") +
            " with characters CP932 lacks replaced by the closest ones)";
  }
  return line + "\n";
}

/// "gpx, kml, ...": the formats --from takes.
std::string ReadableFormatNames() {
  std::string names;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeReader == nullptr) continue;
    names += (names.empty() ? "" : ", ") + std::string(info.name);
  }
  return names;
}

/// "read as POT by its extension": the format an input was read as, and why.
std::string ReadAs(PointFormat format, FormatBasis basis) {
  std::string why;
  switch (basis) {
    case FormatBasis::kOption:
      why = "as --from says";
      break;
    case FormatBasis::kExtension:
      why = "by its extension";
      break;
    case FormatBasis::kContent:
      why = "by its first bytes";
      break;
    case FormatBasis::kNothing:
      why = "since neither its extension nor its first bytes name a format";
      break;
  }
  return "read as " + std::string(DisplayName(format)) + " " + why;
}

/// An input that held bytes but nothing Velorin took for a point, skipped
/// or ignored: the format it was read as, and why, is the likely cause. The
/// inputs of a merge are named one by one (InputLines). A run cancelled
/// before its first point (while a filter searched its title) found none
/// because it stopped.
std::string NothingFoundLine(const RunOutcome& outcome, const RunSummary& summary,
                             const ReportContext& context) {
  if (outcome.result == RunResult::kCancelled || outcome.records > 0 ||
      outcome.skipped.total() > 0 || outcome.leftOutTotal() > 0 || !summary.ignored.empty() ||
      !outcome.inputHeldBytes || !outcome.inputsWithoutPoints.empty()) {
    return {};
  }
  return std::string(kProgram) + "no point found in the input, " +
         ReadAs(context.input, context.inputBasis) +
         "; if it is another format, name it with --from (" + ReadableFormatNames() + ")\n";
}

/// The inputs of a merge read once though named twice, and those that gave
/// no point at all (said under --explain too, as they ended: here with what
/// each was read as).
std::string InputLines(const RunOutcome& outcome) {
  std::string text;
  for (const std::string& path : outcome.inputsNamedTwice) {
    text += std::string(kProgram) + DescribeFile("input file", path) +
            " names a file named before it: read once\n";
  }
  for (const InputRead& input : outcome.inputsWithoutPoints) {
    text += std::string(kProgram) + "no point found in " + DescribeFile("input file", input.path) +
            ", " + ReadAs(input.format, input.basis) + "\n";
  }
  return text;
}

/// Points that gave no record (never left unsaid), what the input held
/// besides points, titles the output changed.
std::string DetailLines(const RunOutcome& outcome, const ReportContext& context) {
  const RunSummary summary = CommandLineSummary(outcome, context.input, context.output);
  std::string text = NothingFoundLine(outcome, summary, context) + InputLines(outcome);
  for (const std::string& line : summary.notes) text += std::string(kProgram) + line + "\n";
  if (!summary.skipped.empty()) {
    text += std::string(kProgram) + summary.skipped +
            (context.explained ? "\n" : " (--explain tells which)\n");
  }
  for (const std::string& line : summary.leftOut) text += std::string(kProgram) + line + "\n";
  for (const std::string* line :
       {&summary.datumMoves, &summary.duplicates, &summary.encoding, &summary.ignored,
        &summary.onlyLines, &summary.titlesChanged, &summary.titlesControls,
        &summary.titlesUnshowable, &summary.titlesRecoded, &summary.titlesBrokenBytes,
        &summary.titlesTidied, &summary.fieldsNotKept, &summary.fieldsLeftOut, &summary.fieldsCut,
        &summary.fieldsReplaced, &summary.fieldsFitted}) {
    if (!line->empty()) text += std::string(kProgram) + *line + "\n";
  }
  return text;
}

}  // namespace

RunSummary CommandLineSummary(const RunOutcome& outcome, PointFormat input, PointFormat output) {
  RunSummary summary = SummarizeRun(outcome, input, output);
  if (HeldOnlyLines(outcome)) {
    summary.onlyLines =
        "the file holds no waypoints, only routes or tracks: --points=routes,tracks reads "
        "their points";
  } else if (HeldOnlyUnreadPoints(outcome)) {
    summary.onlyLines = "the file holds " + UnreadPointsText(outcome) +
                        ", which --points=" + PointKindsText(outcome.points) +
                        " does not read: --points=" + PointKindsText(KindsHeldUnread(outcome)) +
                        " reads them";
  }
  const std::string notKept = TextsNotKeptText(outcome.fields);
  if (output == PointFormat::kNvi && !notKept.empty()) {
    summary.fieldsNotKept =
        notKept + " not kept: " +
        (outcome.fields.nviAsked ? "their NVI fields were not asked for in --nvi-fields"
                                 : "NVI fills its fields only with --nvi-fields");
  }
  return summary;
}

namespace {

/// What became of the output file after a failure: it is only ever written
/// through a temporary file, so it is as it was.
std::string OutputAfterFailure(const RunOutcome& outcome, const RunPaths& files) {
  // An input after the first of a merge fails with the output open.
  const bool laterInput = outcome.failedStage == RunStage::kOpenInput &&
                          !outcome.failedPath.empty() && outcome.failedPath != files.input;
  if ((outcome.failedStage == RunStage::kOpenInput && !laterInput) ||
      outcome.failedStage == RunStage::kOpenOutput ||
      outcome.failedStage == RunStage::kShiftDatum) {
    return {};
  }
  if (files.output == StdioFileSystem::kStandardOutput) {
    return std::string(kProgram) + "what reached standard output may be incomplete\n";
  }
  return std::string(kProgram) + DescribeFile("output file", files.output) +
         (outcome.outputExisted ? " left unchanged\n" : " not created\n");
}

struct StageText {
  const char* action;
  const char* role;
};

StageText TextForStage(RunStage stage) {
  switch (stage) {
    case RunStage::kOpenInput:
      return {"cannot open", "input file"};
    case RunStage::kOpenOutput:
      return {"cannot open", "output file"};
    case RunStage::kReadLine:
      return {"read error on", "input file"};
    case RunStage::kWriteRecord:
      return {"write error on", "output file"};
    case RunStage::kOpenLog:
      return {"cannot create", "log file"};
    case RunStage::kWriteLog:
      return {"write error on", "log file"};
    case RunStage::kNone:
    case RunStage::kShiftDatum:
      break;
  }
  return {"failure with", "file"};
}

const std::string& FileOfStage(RunStage stage, const RunPaths& files) {
  switch (stage) {
    case RunStage::kOpenInput:
    case RunStage::kReadLine:
      return files.input;
    case RunStage::kOpenLog:
    case RunStage::kWriteLog:
      return files.log;
    default:
      return files.output;
  }
}

/// The failure line: the reader's own words when the input is not what its
/// format allows, else what the stage did and the system's reason.
std::string FailureLine(const RunOutcome& outcome, const RunPaths& files) {
  if (outcome.failedStage == RunStage::kShiftDatum) {
    return std::string(kProgram) +
           "cannot move positions between datums: " + PrintableText(outcome.shiftFailure) + "\n";
  }
  const std::string& path =
      outcome.failedPath.empty() ? FileOfStage(outcome.failedStage, files) : outcome.failedPath;
  if (outcome.readFailure && !outcome.error) {
    std::string text = std::string(kProgram) + DescribeFile("input file", path);
    if (outcome.readFailure->line > 0) text += " line " + std::to_string(outcome.readFailure->line);
    return text + ": " + PrintableText(outcome.readFailure->message) + "\n";
  }
  const StageText stage = TextForStage(outcome.failedStage);
  std::string text = std::string(kProgram) + stage.action + " " + DescribeFile(stage.role, path);
  if (outcome.error == std::errc::device_or_resource_busy) {
    // Windows' word for a file another program holds open.
    text += ": in use by another program";
  } else if (outcome.error) {
    text += ": " + outcome.error.message();
  }
  if (outcome.failedStage == RunStage::kOpenOutput &&
      outcome.error == std::errc::permission_denied && path != StdioFileSystem::kStandardOutput) {
    // The file itself may be writable: the temporary file beside it is not.
    // Through UTF-8 explicitly: a Windows path of any characters stays whole.
    const std::u8string folder8 =
        std::filesystem::path(std::u8string(path.begin(), path.end())).parent_path().u8string();
    const std::string folder(folder8.begin(), folder8.end());
    text += " (it is written as a new file in its folder '" +
            PrintableText(folder.empty() ? "." : folder) + "' first)";
  }
  return text + "\n";
}

/// " of 'b.gpx'" after a line number, when several inputs were read.
std::string InputNotConverted(const RunOutcome& outcome) {
  if (outcome.inputNotConverted.empty()) return {};
  return " of " + (outcome.inputNotConverted == StdioFileSystem::kStandardInput
                       ? std::string("standard input")
                       : "'" + PrintableText(outcome.inputNotConverted) + "'");
}

std::string_view RoleName(FileRole role) {
  switch (role) {
    case FileRole::kInput:
      return "input file";
    case FileRole::kOutput:
      return "output file";
    case FileRole::kLog:
      return "log file";
  }
  return "file";
}

/// Two files of the run that are one.
std::string ClashLine(const RunOutcome& outcome, const RunPaths& files) {
  const PathClash clash = outcome.clash.value_or(
      PathClash{FileRole::kInput, files.input, FileRole::kOutput, files.output});
  if (clash.firstRole == FileRole::kLog) {
    return DescribeFile("log file", clash.first) + " must not be the input or the output file\n";
  }
  return DescribeFile(RoleName(clash.firstRole), clash.first) + " and " +
         DescribeFile(RoleName(clash.secondRole), clash.second) + " are the same file\n";
}

}  // namespace

std::string DescribeFile(std::string_view role, std::string_view path) {
  if (path == StdioFileSystem::kStandardInput) return "standard input";
  if (path == StdioFileSystem::kStandardOutput) return "standard output";
  return std::string(role) + " '" + PrintableText(path) + "'";
}

RunReport ReportRunOutcome(const RunOutcome& outcome, const RunPaths& files,
                           const ReportContext& context) {
  const std::string program(kProgram);
  switch (outcome.result) {
    case RunResult::kFinished: {
      std::string text = CountLine(outcome, files, context) + DetailLines(outcome, context);
      if (outcome.firstLineNotConverted == 0) return {kExitDone, text};
      return {kExitLimitReached, text + program + "the limit of " +
                                     std::to_string(outcome.records) +
                                     " records was reached; input lines from line " +
                                     std::to_string(outcome.firstLineNotConverted) +
                                     InputNotConverted(outcome) + " on were not converted\n"};
    }
    case RunResult::kCancelled:
      return {context.interruptSignal > 0 ? kExitSignalBase + context.interruptSignal
                                          : kExitInterrupted,
              "interrupted: " + CountLine(outcome, files, context) + DetailLines(outcome, context)};
    case RunResult::kRefusedSamePath:
      return {kExitRefused, program + ClashLine(outcome, files)};
    case RunResult::kDeclinedOverwrite:
      if (context.refusedExistingOutput && !context.asked) {
        return {kExitRefused, program + DescribeFile("output file", files.output) +
                                  " exists; use --force to overwrite it\n"};
      }
      return {kExitRefused,
              program + DescribeFile("output file", files.output) + " left unchanged\n"};
    case RunResult::kDeclinedStart:
      return {kExitRefused, program + "conversion not started\n"};
    case RunResult::kFailed:
      break;
  }
  return {kExitFailed, FailureLine(outcome, files) + OutputAfterFailure(outcome, files)};
}

}  // namespace velorin
