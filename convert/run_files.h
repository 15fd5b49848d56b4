#pragma once
// The input, output and log files of one conversion run, and how each way
// out of the run closes them.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/buffered_writer.h"
#include "platform/byte_stream.h"
#include "platform/peeked_source.h"
#include "platform/replacing_file.h"

namespace velorin {

/// The input as the readers see it. Before a read that would wait for a
/// quiet input (a pipe), `beforeWait` runs: the moment to hand on what was
/// converted so far. Then, where the input can wait in slices, `keepWaiting`
/// runs between them (the window repaints and hears Cancel); when it says
/// no, the read fails with std::errc::operation_canceled.
class WaitAwareSource : public ByteSource {
 public:
  static constexpr std::chrono::milliseconds kWaitSlice{50};

  WaitAwareSource(ByteSource& inner, std::function<void()> beforeWait,
                  std::function<bool()> keepWaiting)
      : inner_(inner), beforeWait_(std::move(beforeWait)), keepWaiting_(std::move(keepWaiting)) {}

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (!inner_.HasDataReady()) {
      beforeWait_();
      while (!inner_.HasDataReady()) {
        if (!keepWaiting_()) {
          cancelled_ = true;
          return -1;
        }
        if (!inner_.WaitForData(kWaitSlice)) break;
      }
    }
    const std::ptrdiff_t count = inner_.Read(buffer, capacity);
    heldBytes_ = heldBytes_ || count > 0;
    return count;
  }
  /// Whether any byte was read.
  bool heldBytes() const { return heldBytes_; }
  std::error_code error() const override {
    return cancelled_ ? std::make_error_code(std::errc::operation_canceled) : inner_.error();
  }
  bool HasDataReady() override { return inner_.HasDataReady(); }
  bool Seek(std::uint64_t offset) override { return inner_.Seek(offset); }

 private:
  ByteSource& inner_;
  std::function<void()> beforeWait_;
  std::function<bool()> keepWaiting_;
  bool cancelled_ = false;
  bool heldBytes_ = false;
};

/// The three files of a run. Every way out of the run closes them in the
/// order input, output, log; closing one that was never opened does nothing.
/// The output is a temporary file until the run ends normally and commits
/// it; every other way out discards it, so that an existing output stays as
/// it was.
class RunFiles {
 public:
  std::unique_ptr<ByteSource> inputSource;
  std::optional<WaitAwareSource> input;
  /// In front of `input` when its first bytes were looked at to choose the
  /// format: they are read again from here.
  std::optional<PeekedSource> peeked;
  std::unique_ptr<ReplacingSink> outputSink;
  std::optional<BufferedWriter> output;
  std::unique_ptr<ByteSink> logSink;
  std::optional<BufferedWriter> log;

  void CloseInput() {
    peeked.reset();
    input.reset();
    inputSource.reset();
  }
  /// Writes out the output file and closes it, without putting it in place.
  /// False, with the reason in `error`, when that failed.
  bool CloseOutput(std::error_code& error) {
    bool ok = true;
    if (output) {
      ok = output->Close();
      output.reset();
    }
    if (!ok && outputSink) error = outputSink->error();
    return ok;
  }
  /// Puts the closed output file in place of the target.
  bool CommitOutput(std::error_code& error) {
    const bool ok = outputSink && outputSink->Commit();
    if (!ok && outputSink) error = outputSink->error();
    outputSink.reset();
    return ok;
  }
  bool CloseLog(std::error_code& error) {
    bool ok = true;
    if (log) {
      ok = log->Close();
      log.reset();
    } else if (logSink) {
      ok = logSink->Close();
    }
    if (!ok && logSink) error = logSink->error();
    logSink.reset();
    return ok;
  }
  /// Closes everything after a failure; the output file is dropped.
  void CloseAllQuietly() {
    std::error_code ignored;
    CloseInput();
    output.reset();
    if (outputSink) outputSink->Discard();
    outputSink.reset();
    CloseLog(ignored);
  }
};

}  // namespace velorin
