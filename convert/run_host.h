#pragma once
// What a conversion run asks of whoever runs it, and tells it as it goes:
// the two things only a person can decide (may it start, may it replace an
// output that exists), that it is running, that a record was written, and
// a step between entries where the host does its own work and may cancel.
// Everything else the host learns from the run's outcome (run_outcome.h)
// and, entry by entry, from a RunObserver (run_observer.h).
#include <cstdint>
#include <string_view>

namespace velorin {

class RunHost {
 public:
  virtual ~RunHost() = default;

  /// The paths are sound and nothing is opened yet: may the run begin?
  virtual bool MayStart() { return true; }
  /// The output file exists already: may the run replace it?
  virtual bool MayReplace(std::string_view outputPath) = 0;
  /// Every file is open; entries follow.
  virtual void OnRunning() {}
  /// Between two entries, and while a quiet input waits: the host handles
  /// what waits for it. False cancels the run. Called for every entry, so
  /// it must cost next to nothing when there is nothing to do.
  virtual bool EventStep() { return true; }
  /// Whether a cancel waits for the next EventStep, without doing its work:
  /// asked when the input ends, so that a cancel that came with the end
  /// (Ctrl-C as a pipe closes, cutting its file short) is not lost to it.
  virtual bool CancelWaiting() { return false; }
  /// A record was written; `records` counts those written so far.
  virtual void OnRecordWritten(std::int32_t /*records*/) {}
};

/// A host with no one to ask: the run starts, and an existing output is
/// replaced only when `replace` says so.
class UnattendedHost : public RunHost {
 public:
  explicit UnattendedHost(bool replace = false) : replace_(replace) {}
  bool MayReplace(std::string_view) override { return replace_; }

 private:
  bool replace_;
};

}  // namespace velorin
