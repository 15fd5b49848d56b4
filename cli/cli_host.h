#pragma once
// The conversion run's host on the command line: whether an existing output
// may be replaced is answered by --force or by the person at the terminal;
// between entries Ctrl-C is heard and the progress line redrawn.
#include <cstdint>
#include <functional>

#include "convert/run_host.h"

namespace velorin {

class ConversionRun;
class ProgressLine;
class InputReadCount;

class CliHost : public RunHost {
 public:
  /// `askOverwrite` is asked when the output exists and `force` is off; when
  /// it is empty such an output is refused.
  CliHost(bool force, std::function<bool()> askOverwrite);

  /// What progress needs to know, for a live progress line (all optional).
  void ShowProgressOn(ProgressLine* line, const ConversionRun* run, const InputReadCount* read);

  /// True when the output existed and was left alone because force was off
  /// and nobody said yes.
  bool RefusedExistingOutput() const { return refusedExistingOutput_; }

  bool MayReplace(std::string_view outputPath) override;
  bool EventStep() override;
  bool CancelWaiting() override;

 private:
  void DrawProgress();

  bool force_;
  std::function<bool()> askOverwrite_;
  bool refusedExistingOutput_ = false;
  ProgressLine* progress_ = nullptr;
  const ConversionRun* run_ = nullptr;
  const InputReadCount* read_ = nullptr;
};

}  // namespace velorin
