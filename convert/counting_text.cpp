#include "convert/counting_text.h"

#include <charconv>

namespace velorin {
namespace {

// Digits of the largest 32-bit count, and one more for the carry past it.
constexpr std::size_t kMaxDigits = 11;

}  // namespace

CountingText::CountingText(std::string_view prefix, std::int32_t count)
    : text_(prefix), prefixSize_(prefix.size()) {
  char digits[kMaxDigits + 1];
  const auto end = std::to_chars(digits, digits + sizeof digits, count).ptr;
  text_.reserve(prefixSize_ + kMaxDigits);
  text_.append(digits, end);
}

void CountingText::Carry() {
  std::size_t at = text_.size();
  while (at > prefixSize_ && text_[at - 1] == '9') text_[--at] = '0';
  if (at == prefixSize_) {
    text_.insert(at, 1, '1');  // 99 becomes 100: one digit more
  } else {
    ++text_[at - 1];
  }
}

}  // namespace velorin
