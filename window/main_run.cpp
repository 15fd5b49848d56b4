// MainPresenter as the host of the window's conversion runs: Convert runs
// the engine on the two path boxes, and the engine's questions and events
// come back here as the boxes of run_boxes.h, the running panel and its
// count, the drop switches and the focus.
#include <utility>

#include "formats/format_sniff.h"
#include "platform/coarse_clock.h"
#include "startup/user_files.h"
#include "window/main_presenter.h"
#include "window/run_settings.h"

namespace velorin {

void MainPresenter::ConvertCommand() {
  WindowRunOptions options = RunOptionsFromSettings(tables_.systemSettings);
  // Any point file Velorin reads, told by its extension or else by its
  // first bytes; the output is NVI.
  options.inputFormat = InputFormatOfFile(files_, view_.PathText(PathKind::kInput));
  Convert(std::move(options));
}

void MainPresenter::ConvertPointsCommand(RunInput points) {
  WindowRunOptions options = RunOptionsFromSettings(tables_.systemSettings);
  options.inputFormat = points.format;
  options.input = std::move(points);
  Convert(std::move(options));
}

RunOutcome MainPresenter::Convert(WindowRunOptions options) {
  // Convert is hidden while a run is active; a click still queued must not
  // start a second run inside the first.
  if (conversionActive_) return {};
  conversionActive_ = true;
  SetDropTargetsEnabled(false);
  RunOptions run = std::move(options.run);
  run.inputs.insert(run.inputs.begin(), options.input ? std::move(*options.input)
                                                      : RunInput{view_.PathText(PathKind::kInput),
                                                                 options.inputFormat});
  // The map's edited points are held in WGS 84, moved there when read.
  if (options.input) run.inputDatum = Datum::kWgs84;
  run.outputPath = view_.PathText(PathKind::kOutput);
  if (options.log) run.logPath = LogFilePath();
  const RunOutcome outcome = ConversionRun(*this, files_, clock_, run).Execute();
  ShowRunEnd(outcome, run);
  SetDropTargetsEnabled(true);
  ApplyProgressText();
  conversionActive_ = false;
  return outcome;
}

std::string MainPresenter::LogFilePath() const {
  // A folder that cannot be made shows as the log that cannot be opened.
  if (locations_.createLogFolder) CreateFolderOf(locations_.logPath);
  return locations_.logPath;
}

MessageAnswer MainPresenter::ShowRunBox(const MessageBoxRequest& request) {
  ApplyProgressText();
  return view_.ShowMessageBox(request.title, request.text, request.buttons, request.defaultAnswer,
                              MessageIcon::kNone);
}

bool MainPresenter::MayStart() {
  return ShowRunBox(BoxRequest(kStartQuestionBox, MessageLookupOf())) == MessageAnswer::kYes;
}

bool MainPresenter::MayReplace(std::string_view) {
  return ShowRunBox(BoxRequest(kOverwriteQuestionBox, MessageLookupOf())) == MessageAnswer::kYes;
}

void MainPresenter::OnRunning() {
  ShowExecutionPanel(1);
  // The first event step of a run paints the running panel at once.
  lastEventStep_.reset();
  records_ = 0;
  progressText_ = Message(kProgressLabelMessage) + CountText(0);
  progressPending_ = true;
  cancelRequested_ = false;
}

bool MainPresenter::EventStep() {
  // Called for every entry: the coarse clock, since the precise one costs
  // more than the entry under Wine.
  if (lastEventStep_ && CoarseMilliseconds() - *lastEventStep_ < eventStepInterval_) {
    return !cancelRequested_;
  }
  ApplyProgressText();
  view_.ProcessEvents();
  lastEventStep_ = CoarseMilliseconds();
  return !cancelRequested_;
}

void MainPresenter::OnRecordWritten(std::int32_t records) {
  records_ = records;
  progressPending_ = true;
}

void MainPresenter::ApplyProgressText() {
  if (!progressPending_) return;
  progressPending_ = false;
  progressText_ = Message(kProgressLabelMessage) + CountText(records_);
  view_.SetCaption(MainControl::kLabel_for_While_Execute2, progressText_);
}

void MainPresenter::ShowRunEnd(const RunOutcome& outcome, const RunOptions& run) {
  const MessageLookup message = MessageLookupOf();
  const auto pointAt = [this](RunPath path) {
    view_.SetFocus(path == RunPath::kInput ? MainControl::kCommand_for_POT
                                           : MainControl::kCommand_for_NVI);
  };
  switch (outcome.result) {
    case RunResult::kRefusedSamePath:
      ShowRunBox(BoxRequest(kSamePathBox, message));
      pointAt(PathOfSamePath(run.outputPath, run.outputFormat));
      return;
    case RunResult::kDeclinedStart:
    case RunResult::kDeclinedOverwrite:
      return;
    case RunResult::kFinished:
    case RunResult::kCancelled:
      ApplyProgressText();
      ShowExecutionPanel(0);
      ShowRunBox(EndBox(outcome, run.inputs.front().format, message));
      return;
    case RunResult::kFailed:
      ShowRunBox(BoxRequest(FailureBox(outcome.failedStage), message));
      ShowExecutionPanel(0);
      pointAt(PathOfFailure(outcome.failedStage));
      return;
  }
}

}  // namespace velorin
