#pragma once
// The conversion run's host on the command line: questions are answered by
// the options (or by the person at the terminal), and the run's message
// boxes turn into a result that the convert command reports after the run.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "convert/run_host.h"

namespace velorin {

class ConversionRun;
class ProgressLine;
class StdioFileSystem;

struct CliHostSettings {
  std::string inputPath;               ///< as the file system is to see it
  std::string outputPath;              ///< as the file system is to see it
  std::optional<std::string> logPath;  ///< logging on, to this file
  bool force = false;                  ///< overwrite an existing output
};

class CliHost : public RunHost {
 public:
  /// `askOverwrite` is asked when the output exists and force is off; when
  /// it is empty such an output is refused.
  CliHost(CliHostSettings settings, std::function<bool()> askOverwrite);

  /// What progress needs to know, for a live progress line (all optional).
  void ShowProgressOn(ProgressLine* line, const ConversionRun* run, const StdioFileSystem* files);

  /// True when the output existed and was left alone because force was off
  /// and nobody said yes.
  bool RefusedExistingOutput() const { return refusedExistingOutput_; }

  std::string InputPathText() override { return settings_.inputPath; }
  std::string OutputPathText() override { return settings_.outputPath; }
  std::string MessageText(int number) override;
  std::string ApplicationFolder() override;
  std::string LogFilePath() override;

  MessageAnswer ShowMessageBox(const MessageBoxRequest& request) override;
  void SetProgressText(std::string_view) override {}
  void ShowExecutionPanel(std::int16_t) override {}
  void SetDropTargetsEnabled(bool) override {}
  void PointAtPath(RunPath) override {}
  void ProcessEvents() override;

 private:
  void DrawProgress();

  CliHostSettings settings_;
  std::function<bool()> askOverwrite_;
  bool refusedExistingOutput_ = false;
  ProgressLine* progress_ = nullptr;
  const ConversionRun* run_ = nullptr;
  const StdioFileSystem* files_ = nullptr;
};

}  // namespace velorin
