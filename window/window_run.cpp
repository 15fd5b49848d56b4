#include "window/window_run.h"

#include <utility>

#include "window/run_boxes.h"

namespace velorin {
namespace {

/// The window as the host of a save: it asks only whether a file may be
/// replaced.
class SaveHost : public RunHost {
 public:
  SaveHost(RunWindow& window, bool askToReplace) : window_(window), ask_(askToReplace) {}
  bool MayReplace(std::string_view) override {
    return !ask_ || Ask(kOverwriteQuestionBox) == MessageAnswer::kYes;
  }
  bool EventStep() override {
    window_.ProcessEvents();
    return !window_.cancelRequested;
  }
  MessageAnswer Ask(const RunBox& box) {
    return window_.ShowMessageBox(
        BoxRequest(box, [this](int number) { return window_.MessageText(number); }));
  }

 private:
  RunWindow& window_;
  bool ask_;
};

}  // namespace

RunOutcome SaveInWindow(RunWindow& window, FileSystem& files, Clock& clock, RunOptions run,
                        bool askToReplace) {
  SaveHost host(window, askToReplace);
  window.cancelRequested = false;
  const RunOutcome outcome = ConversionRun(host, files, clock, std::move(run)).Execute();
  if (outcome.result == RunResult::kRefusedSamePath) host.Ask(kSamePathBox);
  if (outcome.result == RunResult::kFailed) host.Ask(SaveFailureBox(outcome.failedStage));
  return outcome;
}

}  // namespace velorin
