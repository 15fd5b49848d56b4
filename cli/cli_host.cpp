#include "cli/cli_host.h"

#include "cli/progress.h"
#include "cli/stdio_file_system.h"
#include "convert/conversion_run.h"
#include "platform/interrupt.h"
#include "platform/program_folder.h"

namespace velorin {

CliHost::CliHost(CliHostSettings settings, std::function<bool()> askOverwrite)
    : settings_(std::move(settings)), askOverwrite_(std::move(askOverwrite)) {}

void CliHost::ShowProgressOn(ProgressLine* line, const ConversionRun* run,
                             const StdioFileSystem* files) {
  progress_ = line;
  run_ = run;
  files_ = files;
}

std::string CliHost::MessageText(int number) {
  // The command line reports by message kind and outcome; these short texts
  // only keep the run's boxes readable should anything print them.
  switch (number) {
    case 5:
      return "Records written:";
    case 90:
      return "Velorin";
    case 91:
      return "Velorin error";
    case 100:
      return "Convert the POT file?";
    case 102:
      return "The output file exists.";
    case 103:
      return "Overwrite it?";
    case 106:
      return "Conversion finished.";
    case 107:
      return "Records written:";
    case 108:
      return "Cancel the conversion?";
    case 110:
      return "Conversion cancelled.";
    case 111:
      return "Records written:";
    case 120:
      return "Input and output are the same file.";
    case 122:
      return "Cannot open the input file.";
    case 124:
      return "Cannot open the output file.";
    case 126:
      return "Cannot read the input file.";
    case 128:
      return "Cannot write the output file.";
    case 132:
      return "Cannot create the log file.";
    case 134:
      return "Cannot write the log file.";
    default:
      return {};
  }
}

std::string CliHost::ApplicationFolder() { return ProgramFolder(); }

std::string CliHost::LogFilePath() {
  return settings_.logPath ? *settings_.logPath : RunHost::LogFilePath();
}

MessageAnswer CliHost::ShowMessageBox(const MessageBoxRequest& request) {
  switch (request.kind) {
    case RunMessage::kStartQuestion:  // the command itself is the confirmation
    case RunMessage::kCancelQuestion:
      return MessageAnswer::kYes;
    case RunMessage::kOverwriteQuestion:
      if (settings_.force || (askOverwrite_ && askOverwrite_())) return MessageAnswer::kYes;
      refusedExistingOutput_ = true;
      return MessageAnswer::kNo;
    default:  // outcomes: reported from the run's result afterwards
      return request.buttons == MessageButtons::kYesNo ? request.defaultAnswer : MessageAnswer::kOk;
  }
}

void CliHost::ProcessEvents() {
  if (InterruptRequested()) cancelRequested = true;
  if (progress_ != nullptr && progress_->Due()) DrawProgress();
}

void CliHost::DrawProgress() {
  const std::int32_t records = run_ != nullptr ? run_->RecordCount() : 0;
  const std::uint64_t bytesRead = files_ != nullptr ? files_->BytesRead() : 0;
  const std::optional<std::uint64_t> size = files_ != nullptr ? files_->InputSize() : std::nullopt;
  progress_->Draw(FormatProgress(records, bytesRead, size));
}

}  // namespace velorin
