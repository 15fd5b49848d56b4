#pragma once
// A reader that reads on a thread of its own: the reader it wraps fills
// batches of entries while the caller converts the entries before them, so
// that parsing and writing run on two cores at once. What the caller sees
// is what the wrapped reader gives, in the same order: its entries, its end
// or failure where it came, and the items it counted besides points as they
// stood when the entry last taken was read.
//
// Only for an input that never waits (a file, not a pipe), and for a reader
// whose entries hold no views of its own buffers (POT's coordinate texts):
// from the start until its end the thread alone touches the wrapped reader
// and the source it reads. Destroying this reader stops the thread and
// waits for it.
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "formats/point_reader.h"

namespace velorin {

class ReadAheadPointReader : public PointReader {
 public:
  /// Entries a batch holds, and batches at most read ahead of the caller.
  static constexpr std::size_t kBatchEntries = 2048;
  static constexpr std::size_t kBatches = 4;
  /// How long the caller waits, unwoken, before it looks for a filled
  /// batch again (about the time a batch takes to fill), and the longest
  /// it waits as looks go on finding none.
  static constexpr std::chrono::microseconds kLookAgain{1000};
  static constexpr std::chrono::microseconds kLookAgainAtMost{16000};

  /// `reader` read ahead on a thread of its own; `reader` itself when no
  /// thread can be started.
  static std::unique_ptr<PointReader> Wrap(std::unique_ptr<PointReader> reader);
  ~ReadAheadPointReader() override;
  ReadAheadPointReader(const ReadAheadPointReader&) = delete;
  ReadAheadPointReader& operator=(const ReadAheadPointReader&) = delete;

  bool Next(ReadEntry& entry) override;
  bool AtEnd() override;
  IgnoredItems ignored() const override { return ignored_; }
  std::optional<TextEncoding> textEncoding() override { return encoding_; }
  bool textBeyondAscii() override { return beyondAscii_; }

 private:
  explicit ReadAheadPointReader(std::unique_ptr<PointReader> inner);

  struct Batch {
    std::vector<ReadEntry> entries = std::vector<ReadEntry>(kBatchEntries);
    std::size_t count = 0;
    /// What the reader had counted besides points after it gave entry
    /// `first` (`count`: after its end), where that changed.
    std::vector<std::pair<std::size_t, IgnoredItems>> ignoredChanges;
    bool last = false;  ///< the reader ended after these entries
    std::optional<ReadFailure> failure;
    std::exception_ptr error;  ///< what the reader threw (no memory left)
    std::optional<TextEncoding> encoding;
    bool beyondAscii = false;
  };

  // The thread's side.
  void Work();
  /// Fills `batch` from the wrapped reader; true when the reader ended.
  bool Fill(Batch& batch);
  void NoteIgnored(Batch& batch, std::size_t after);
  /// A batch to fill, waiting for one to come back; null when stopping.
  Batch* TakeEmpty();
  void HandOver(Batch& batch);

  // The caller's side.
  /// A batch with an entry not yet taken; false once the entries are over
  /// (the end or failure noted).
  bool Ready();
  void TakeFilled();
  /// Takes on the counts the reader had after it gave entry `after`.
  void ApplyIgnored(std::size_t after);

  std::unique_ptr<PointReader> inner_;
  std::array<Batch, kBatches> batches_;
  std::mutex mutex_;
  std::condition_variable filled_;   ///< the last batch was handed over, or all are full
  std::condition_variable emptied_;  ///< a batch came back, or stop
  std::deque<Batch*> full_;          ///< handed over, in order
  std::vector<Batch*> empty_;
  bool stopping_ = false;

  Batch* current_ = nullptr;  ///< the batch being taken
  std::size_t taken_ = 0;
  std::size_t changesApplied_ = 0;
  bool ended_ = false;
  IgnoredItems ignored_;
  std::optional<TextEncoding> encoding_;
  bool beyondAscii_ = false;
  std::int64_t ignoredSeen_ = 0;  ///< the thread's: the count last noted

  std::thread thread_;
};

}  // namespace velorin
