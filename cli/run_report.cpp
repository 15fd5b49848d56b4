#include "cli/run_report.h"

#include "cli/exit_codes.h"
#include "cli/skip_reason_text.h"
#include "cli/stdio_file_system.h"

namespace velorin {

namespace {

constexpr std::string_view kProgram = "velorin-cli: ";

std::string Where(const RunPaths& files) {
  return files.output == StdioFileSystem::kStandardOutput ? std::string("standard output")
                                                          : PrintableText(files.output);
}

std::string CountLine(const RunOutcome& outcome, const RunPaths& files) {
  std::string line = RecordCount(outcome.records) + " written to " + Where(files);
  if (outcome.titlesReplaced > 0) {
    line += " (" + std::to_string(outcome.titlesReplaced) +
            (outcome.titlesReplaced == 1 ? " title" : " titles") +
            " with characters CP932 lacks replaced by the closest ones)";
  }
  return line;
}

/// Point lines that gave no record: never left unsaid.
std::string SkippedLines(const RunOutcome& outcome, bool explained) {
  if (outcome.pointLinesSkipped == 0) return {};
  return std::string(kProgram) + std::to_string(outcome.pointLinesSkipped) +
         (outcome.pointLinesSkipped == 1 ? " point line" : " point lines") + " skipped" +
         (explained ? "\n" : " (--explain tells which)\n");
}

/// What became of the output file after a failure: it is only ever written
/// through a temporary file, so it is as it was.
std::string OutputAfterFailure(const RunOutcome& outcome, const RunPaths& files) {
  if (outcome.failedStage == RunStage::kOpenInput || outcome.failedStage == RunStage::kOpenOutput) {
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

}  // namespace

std::string RecordCount(std::int64_t records) {
  return std::to_string(records) + (records == 1 ? " record" : " records");
}

std::string DescribeFile(std::string_view role, std::string_view path) {
  if (path == StdioFileSystem::kStandardInput) return "standard input";
  if (path == StdioFileSystem::kStandardOutput) return "standard output";
  return std::string(role) + " '" + PrintableText(path) + "'";
}

RunReport ReportRunOutcome(const RunOutcome& outcome, const RunPaths& files,
                           const ReportContext& context) {
  std::string program(kProgram);
  const std::string skipped = SkippedLines(outcome, context.explained);
  switch (outcome.result) {
    case RunResult::kFinished:
      if (outcome.firstLineNotConverted > 0) {
        return {kExitLimitReached, CountLine(outcome, files) + "\n" + skipped + program +
                                       "the limit of " + std::to_string(outcome.records) +
                                       " records was reached; input lines from line " +
                                       std::to_string(outcome.firstLineNotConverted) +
                                       " on were not converted\n"};
      }
      return {kExitDone, CountLine(outcome, files) + "\n" + skipped};
    case RunResult::kCancelled:
      return {context.interruptSignal > 0 ? kExitSignalBase + context.interruptSignal
                                          : kExitInterrupted,
              "interrupted: " + CountLine(outcome, files) + "\n" + skipped};
    case RunResult::kRefusedSamePath:
      return {kExitRefused, program + DescribeFile("input file", files.input) + " and " +
                                DescribeFile("output file", files.output) + " are the same file\n"};
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
  const StageText stage = TextForStage(outcome.failedStage);
  const std::string& path =
      outcome.failedPath.empty() ? FileOfStage(outcome.failedStage, files) : outcome.failedPath;
  std::string text = program + stage.action + " " + DescribeFile(stage.role, path);
  if (outcome.error) text += ": " + outcome.error.message();
  text += "\n";
  text += OutputAfterFailure(outcome, files);
  return {kExitFailed, text};
}

}  // namespace velorin
