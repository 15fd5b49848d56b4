#include "cli/cli_host.h"

#include <utility>

#include "cli/input_read_count.h"
#include "cli/progress.h"
#include "convert/conversion_run.h"
#include "platform/interrupt.h"
#include "platform/program_folder.h"

namespace velorin {

CliHost::CliHost(bool force, std::function<bool()> askOverwrite)
    : force_(force), askOverwrite_(std::move(askOverwrite)) {}

void CliHost::ShowProgressOn(ProgressLine* line, const ConversionRun* run,
                             const InputReadCount* read) {
  progress_ = line;
  run_ = run;
  read_ = read;
}

bool CliHost::MayReplace(std::string_view) {
  if (force_ || (askOverwrite_ && askOverwrite_())) return true;
  refusedExistingOutput_ = true;
  return false;
}

bool CliHost::EventStep() {
  if (progress_ != nullptr && progress_->Due()) DrawProgress();
  return !InterruptRequested();
}

bool CliHost::CancelWaiting() { return InterruptRequested(); }

void CliHost::DrawProgress() {
  const std::int32_t records = run_ != nullptr ? run_->RecordCount() : 0;
  const std::uint64_t bytesRead = read_ != nullptr ? read_->BytesRead() : 0;
  const std::optional<std::uint64_t> size = read_ != nullptr ? read_->InputSize() : std::nullopt;
  progress_->Draw(FormatProgress(records, bytesRead, size));
}

}  // namespace velorin
