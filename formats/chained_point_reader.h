#pragma once
// The points of several inputs one after another, read as one input: each
// input's reader is made when the one before it has ended, so that only one
// file is open at a time and a merge of many files holds no more memory
// than one.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formats/point_reader.h"

namespace velorin {

class ChainedPointReader : public PointReader {
 public:
  /// Makes the reader of input `index` (from 1; the first is given), after
  /// `index - 1` has ended and its reader is gone. Null when the input
  /// cannot be opened: the chain ends there, and openFailed() says so.
  using OpenNext = std::function<std::unique_ptr<PointReader>(std::size_t index)>;

  ChainedPointReader(std::unique_ptr<PointReader> first, std::size_t inputCount, OpenNext openNext);

  bool Next(ReadEntry& entry) override;
  bool AtEnd() override;
  /// What every input read so far held besides points.
  IgnoredItems ignored() const override;
  /// The encoding of the first text input that held more than ASCII (else
  /// of the first text input).
  std::optional<TextEncoding> textEncoding() override;
  bool textBeyondAscii() override;
  /// The layouts of the inputs read so far that had one worth saying, each
  /// once ("fields separated by \";\" with decimal commas").
  std::string layoutNote() const override;
  /// The note of the input being read.
  std::string headNote() const override { return current_ ? current_->headNote() : std::string(); }

  /// The input being read (from 0).
  std::size_t inputIndex() const { return index_; }
  /// The chain ended because an input could not be opened.
  bool openFailed() const { return openFailed_; }

 private:
  /// Notes what the current input's reader counted and makes the next
  /// input's; false when there is none or it could not be opened.
  bool MoveToNextInput();
  void NoteEndedReader(PointReader& reader);

  std::unique_ptr<PointReader> current_;
  std::size_t inputCount_;
  std::size_t index_ = 0;
  OpenNext openNext_;
  bool openFailed_ = false;
  IgnoredItems endedIgnored_;
  std::optional<TextEncoding> endedEncoding_;
  bool endedBeyondAscii_ = false;
  std::vector<std::string> endedLayouts_;
};

}  // namespace velorin
