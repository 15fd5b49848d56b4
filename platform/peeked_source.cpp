#include "platform/peeked_source.h"

#include <algorithm>
#include <cstring>

namespace velorin {

namespace {

constexpr std::size_t kPiece = std::size_t{16} * 1024;

}  // namespace

std::string_view PeekedSource::Peek(std::size_t most,
                                    const std::function<bool(std::string_view)>& enough) {
  while (held_.size() < most && !ended_ && !failed_) {
    if (!held_.empty() && !inner_.HasDataReady() && enough(held_)) break;
    const std::size_t before = held_.size();
    held_.resize(before + std::min(kPiece, most - before));
    const std::ptrdiff_t count = inner_.Read(held_.data() + before, held_.size() - before);
    held_.resize(before + static_cast<std::size_t>(std::max<std::ptrdiff_t>(count, 0)));
    ended_ = count == 0;
    failed_ = count < 0;
  }
  return held_;
}

std::ptrdiff_t PeekedSource::Read(char* buffer, std::size_t capacity) {
  if (given_ < held_.size()) {
    const std::size_t count = std::min(capacity, held_.size() - given_);
    std::memcpy(buffer, held_.data() + given_, count);
    given_ += count;
    if (given_ == held_.size()) {
      held_.clear();  // its memory goes; the reads go on from the source
      held_.shrink_to_fit();
      given_ = 0;
    }
    return static_cast<std::ptrdiff_t>(count);
  }
  if (failed_) return -1;
  if (ended_) return 0;
  return inner_.Read(buffer, capacity);
}

bool PeekedSource::HasDataReady() {
  return given_ < held_.size() || ended_ || failed_ || inner_.HasDataReady();
}

}  // namespace velorin
