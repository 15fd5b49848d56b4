#include "formats/chained_point_reader.h"

#include <algorithm>
#include <utility>

namespace velorin {

ChainedPointReader::ChainedPointReader(std::unique_ptr<PointReader> first, std::size_t inputCount,
                                       OpenNext openNext)
    : current_(std::move(first)), inputCount_(inputCount), openNext_(std::move(openNext)) {}

bool ChainedPointReader::Next(ReadEntry& entry) {
  while (current_) {
    if (current_->Next(entry)) return true;
    if (current_->failure()) {
      FailWith(current_->failure());
      return false;
    }
    if (!MoveToNextInput()) return false;
  }
  return false;
}

bool ChainedPointReader::AtEnd() {
  while (current_) {
    if (!current_->AtEnd()) return false;
    if (current_->failure()) {
      FailWith(current_->failure());
      return true;
    }
    if (!MoveToNextInput()) return true;
  }
  return true;
}

bool ChainedPointReader::MoveToNextInput() {
  if (index_ + 1 >= inputCount_) return false;
  NoteEndedReader(*current_);
  // The ended input's reader goes before its file is closed and the next
  // one opened.
  current_.reset();
  ++index_;
  current_ = openNext_(index_);
  if (!current_) {
    openFailed_ = true;
    Fail(0, "cannot open");
    return false;
  }
  return true;
}

void ChainedPointReader::NoteEndedReader(PointReader& reader) {
  endedIgnored_.Add(reader.ignored());
  const std::optional<TextEncoding> encoding = reader.textEncoding();
  const bool beyondAscii = reader.textBeyondAscii();
  if (encoding && (!endedEncoding_ || (beyondAscii && !endedBeyondAscii_))) {
    endedEncoding_ = encoding;
  }
  endedBeyondAscii_ = endedBeyondAscii_ || beyondAscii;
  std::string layout = reader.layoutNote();
  if (!layout.empty() &&
      std::find(endedLayouts_.begin(), endedLayouts_.end(), layout) == endedLayouts_.end()) {
    endedLayouts_.push_back(std::move(layout));
  }
}

IgnoredItems ChainedPointReader::ignored() const {
  IgnoredItems all = endedIgnored_;
  if (current_) all.Add(current_->ignored());
  return all;
}

std::optional<TextEncoding> ChainedPointReader::textEncoding() {
  if (endedBeyondAscii_ || !current_) return endedEncoding_;
  const std::optional<TextEncoding> encoding = current_->textEncoding();
  if (encoding && (current_->textBeyondAscii() || !endedEncoding_)) return encoding;
  return endedEncoding_;
}

std::string ChainedPointReader::layoutNote() const {
  std::vector<std::string> layouts = endedLayouts_;
  std::string current = current_ ? current_->layoutNote() : std::string();
  if (!current.empty() && std::find(layouts.begin(), layouts.end(), current) == layouts.end()) {
    layouts.push_back(std::move(current));
  }
  std::string note;
  for (const std::string& layout : layouts) note += (note.empty() ? "" : "; ") + layout;
  return note;
}

bool ChainedPointReader::textBeyondAscii() {
  return endedBeyondAscii_ || (current_ && current_->textBeyondAscii());
}

}  // namespace velorin
