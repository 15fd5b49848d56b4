#pragma once
// The inputs of a run as one stream of entries: each input opened when the
// one before it has ended (one file open at a time), its format chosen by
// its first bytes when it was left open, read by its format's reader, parsed
// ahead on a second thread where the format and the input allow. Notes what
// each input held for the outcome.
#include <cstddef>
#include <functional>
#include <memory>
#include <system_error>

#include "convert/conversion_run.h"
#include "convert/run_files.h"
#include "convert/run_log.h"
#include "formats/chained_point_reader.h"

namespace velorin {

class RunInputs {
 public:
  /// `beforeWait` runs before a read waits for a quiet input, `keepWaiting`
  /// while it waits (see WaitAwareSource). An input whose format was left
  /// open gets the one its first bytes show in `options.inputs`.
  RunInputs(FileSystem& files, RunOptions& options, RunFiles& open,
            std::function<void()> beforeWait, std::function<bool()> keepWaiting);

  /// The log told of each input begun; none when null.
  void SetLog(RunLog* log) { log_ = log; }

  /// Opens the first input; false, with the reason in `error`, when it
  /// cannot be.
  bool OpenFirst(std::error_code& error);
  /// Makes the reader of every input, one after another.
  void StartReading();
  PointReader& reader() { return *reader_; }

  /// The input being read (from 0), and its row of the inputs.
  std::size_t index() const { return chain_ != nullptr ? chain_->inputIndex() : 0; }
  const RunInput& current() const { return options_.inputs[index()]; }
  bool several() const { return options_.inputs.size() > 1; }
  /// An input after the first could not be opened, and why.
  bool openFailed() const { return chain_ != nullptr && chain_->openFailed(); }
  std::error_code openError() const { return openError_; }
  /// The reason the input being read gave for a failed read.
  std::error_code readError() const {
    return open_.input ? open_.input->error() : std::error_code();
  }

  /// An entry that is a point, or a point that could not be read, came
  /// from the input being read.
  void NotePoint() { ++pointsOfInput_; }
  /// Notes what the readers counted into `outcome` (encoding, ignored
  /// items, the inputs without points; the last input's only when it was
  /// `readToTheEnd`), then lets them go: they must not outlive the files
  /// they read.
  void Release(RunOutcome& outcome, bool readToTheEnd);

 private:
  std::unique_ptr<PointReader> MakeReader(std::size_t index);
  /// A folder named as an input of a format that reads folders (photos).
  bool ReadsFolder(const RunInput& input);
  /// The source the reader of `input` reads: the input, or its first bytes
  /// held in front of it once they chose its format.
  ByteSource& SourceFor(RunInput& input);
  std::unique_ptr<PointReader> OpenNext(std::size_t index);
  void WrapInput();
  /// Input `ended` has ended: one of several without a point is noted.
  void InputEnded(std::size_t ended);

  FileSystem& files_;
  RunOptions& options_;
  RunFiles& open_;
  RunLog* log_ = nullptr;
  std::function<void()> beforeWait_;
  std::function<bool()> keepWaiting_;
  std::unique_ptr<PointReader> reader_;
  ChainedPointReader* chain_ = nullptr;  ///< reader_ when there are several inputs
  std::error_code openError_;            ///< why an input after the first did not open
  bool heldBytes_ = false;               ///< of the inputs closed before
  std::int64_t pointsOfInput_ = 0;
  std::vector<InputRead> withoutPoints_;
};

}  // namespace velorin
