#include "formats/read_ahead_point_reader.h"

#include <algorithm>
#include <system_error>

namespace velorin {

std::unique_ptr<PointReader> ReadAheadPointReader::Wrap(std::unique_ptr<PointReader> reader) {
  std::unique_ptr<ReadAheadPointReader> ahead(new ReadAheadPointReader(std::move(reader)));
  try {
    ahead->thread_ = std::thread([raw = ahead.get()] { raw->Work(); });
  } catch (const std::system_error&) {
    return std::move(ahead->inner_);  // no thread left to start: read on this one
  }
  return ahead;
}

ReadAheadPointReader::ReadAheadPointReader(std::unique_ptr<PointReader> inner)
    : inner_(std::move(inner)) {
  for (Batch& batch : batches_) empty_.push_back(&batch);
}

ReadAheadPointReader::~ReadAheadPointReader() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  emptied_.notify_one();
  thread_.join();
}

void ReadAheadPointReader::Work() {
  while (Batch* batch = TakeEmpty()) {
    bool ended = true;
    try {
      ended = Fill(*batch);
    } catch (...) {
      // Handed over with the entries before it, and thrown where the caller
      // reaches it.
      batch->error = std::current_exception();
      batch->last = true;
    }
    HandOver(*batch);
    if (ended) return;
  }
}

bool ReadAheadPointReader::Fill(Batch& batch) {
  batch.count = 0;
  batch.ignoredChanges.clear();
  bool ended = false;
  while (batch.count < kBatchEntries && !ended) {
    if (inner_->Next(batch.entries[batch.count])) {
      NoteIgnored(batch, batch.count++);
    } else {
      ended = true;
    }
  }
  if (ended) {
    NoteIgnored(batch, batch.count);
    batch.last = true;
    batch.failure = inner_->failure();
  }
  batch.encoding = inner_->textEncoding();
  batch.beyondAscii = inner_->textBeyondAscii();
  return ended;
}

void ReadAheadPointReader::NoteIgnored(Batch& batch, std::size_t after) {
  const std::int64_t total = inner_->ignoredTotal();
  if (total == ignoredSeen_) return;
  ignoredSeen_ = total;
  batch.ignoredChanges.emplace_back(after, inner_->ignored());
}

ReadAheadPointReader::Batch* ReadAheadPointReader::TakeEmpty() {
  std::unique_lock lock(mutex_);
  emptied_.wait(lock, [this] { return stopping_ || !empty_.empty(); });
  if (stopping_) return nullptr;
  Batch* batch = empty_.back();
  empty_.pop_back();
  return batch;
}

void ReadAheadPointReader::HandOver(Batch& batch) {
  bool wake = false;
  {
    const std::lock_guard lock(mutex_);
    full_.push_back(&batch);
    // The caller looks for batches on its own (TakeFilled). Waking it costs
    // this thread a system call each time, and a good deal more where the
    // cores are virtual; only the last batch, or a full queue that would
    // hold this thread up, is worth that.
    wake = batch.last || full_.size() == kBatches;
  }
  if (wake) filled_.notify_one();
}

bool ReadAheadPointReader::Next(ReadEntry& entry) {
  if (!Ready()) return false;
  swap(entry, current_->entries[taken_]);
  ApplyIgnored(taken_);
  ++taken_;
  return true;
}

bool ReadAheadPointReader::AtEnd() { return !Ready(); }

bool ReadAheadPointReader::Ready() {
  while (!ended_ && (current_ == nullptr || taken_ == current_->count)) {
    if (current_ != nullptr && current_->last) {
      ended_ = true;
      ApplyIgnored(current_->count);
      if (current_->error) std::rethrow_exception(current_->error);
      FailWith(current_->failure);
      return false;
    }
    TakeFilled();
  }
  return !ended_;
}

void ReadAheadPointReader::TakeFilled() {
  std::unique_lock lock(mutex_);
  if (current_ != nullptr) {
    empty_.push_back(current_);
    emptied_.notify_one();
  }
  // Each look that finds nothing waits twice as long as the last, for a
  // reader that takes long over a batch (a slow disk, a large archive).
  for (auto wait = kLookAgain; full_.empty(); wait = std::min(2 * wait, kLookAgainAtMost)) {
    filled_.wait_for(lock, wait);
  }
  current_ = full_.front();
  full_.pop_front();
  taken_ = 0;
  changesApplied_ = 0;
  encoding_ = current_->encoding;
  beyondAscii_ = current_->beyondAscii;
}

void ReadAheadPointReader::ApplyIgnored(std::size_t after) {
  const auto& changes = current_->ignoredChanges;
  if (changesApplied_ < changes.size() && changes[changesApplied_].first == after) {
    ignored_ = changes[changesApplied_++].second;
  }
}

}  // namespace velorin
