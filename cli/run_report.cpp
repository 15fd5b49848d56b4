#include "cli/run_report.h"

#include "cli/exit_codes.h"
#include "cli/skip_reason_text.h"
#include "cli/stdio_file_system.h"

namespace velorin {

namespace {

constexpr std::string_view kProgram = "velorin-cli: ";

std::string Where(const RunFiles& files) {
  return files.output == StdioFileSystem::kStandardOutput ? std::string("standard output")
                                                          : PrintableText(files.output);
}

std::string CountLine(std::int32_t records, const RunFiles& files) {
  return std::to_string(records) + " records written to " + Where(files);
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

const std::string& FileOfStage(RunStage stage, const RunFiles& files) {
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

std::string DescribeFile(std::string_view role, std::string_view path) {
  if (path == StdioFileSystem::kStandardInput) return "standard input";
  if (path == StdioFileSystem::kStandardOutput) return "standard output";
  return std::string(role) + " '" + PrintableText(path) + "'";
}

RunReport ReportRunOutcome(const RunOutcome& outcome, const RunFiles& files,
                           bool refusedExistingOutput, bool asked) {
  std::string program(kProgram);
  switch (outcome.result) {
    case RunResult::kFinished:
      if (outcome.records >= RunOptions{}.recordLimit) {
        // The run stops there without reading further; say so, since the
        // input may well have had more.
        return {kExitDone, CountLine(outcome.records, files) + "\n" + program +
                               std::to_string(outcome.records) +
                               " records is the most that one NVI file holds; any further "
                               "lines were not converted\n"};
      }
      return {kExitDone, CountLine(outcome.records, files) + "\n"};
    case RunResult::kCancelled:
      return {kExitInterrupted, "interrupted: " + CountLine(outcome.records, files) + "\n"};
    case RunResult::kRefusedSamePath:
      return {kExitRefused, program + DescribeFile("input file", files.input) + " and " +
                                DescribeFile("output file", files.output) + " are the same file\n"};
    case RunResult::kDeclinedOverwrite:
      if (refusedExistingOutput && !asked) {
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
  if (outcome.records > 0) {
    text += program + CountLine(outcome.records, files) + " before the failure\n";
  }
  return {kExitFailed, text};
}

}  // namespace velorin
