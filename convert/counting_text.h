#pragma once
// A text that ends in the decimal digits of a count that only ever rises by
// one, as the record count of a run does.
#include <cstdint>
#include <string>
#include <string_view>

namespace velorin {

/// `prefix` followed by the digits of a count (no separators, no leading
/// zeros). Increment() adds one to the digits in place, which costs far less
/// than writing the number anew for every record, and allocates nothing for
/// any count up to the largest 32-bit one.
class CountingText {
 public:
  /// `count` is 0 or more.
  explicit CountingText(std::string_view prefix = {}, std::int32_t count = 0);

  void Increment() {
    char& last = text_.back();  // the text always ends in a digit
    if (last != '9') {
      ++last;
      return;
    }
    Carry();
  }
  std::string_view text() const { return text_; }

 private:
  /// Increment for a count that ends in 9.
  void Carry();

  std::string text_;
  std::size_t prefixSize_;
};

}  // namespace velorin
