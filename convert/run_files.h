#pragma once
// The input, output and log files of one conversion run, and how each way
// out of the run closes them.
#include <functional>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/buffered_writer.h"
#include "platform/byte_stream.h"
#include "platform/replacing_file.h"

namespace velorin {

/// The input as the readers see it. Before a read that would wait for a
/// quiet input (a pipe), `beforeWait` runs: the moment to hand on what was
/// converted so far.
class WaitAwareSource : public ByteSource {
 public:
  WaitAwareSource(ByteSource& inner, std::function<void()> beforeWait)
      : inner_(inner), beforeWait_(std::move(beforeWait)) {}

  std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
    if (!inner_.HasDataReady()) beforeWait_();
    return inner_.Read(buffer, capacity);
  }
  std::error_code error() const override { return inner_.error(); }
  bool HasDataReady() override { return inner_.HasDataReady(); }

 private:
  ByteSource& inner_;
  std::function<void()> beforeWait_;
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
  std::unique_ptr<ReplacingSink> outputSink;
  std::optional<BufferedWriter> output;
  std::unique_ptr<ByteSink> logSink;
  std::optional<BufferedWriter> log;

  void CloseInput() {
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
