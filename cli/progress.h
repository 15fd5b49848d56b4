#pragma once
// Live progress of a conversion on a terminal: one line, redrawn a few times
// a second with "\r", cleared at the end.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace velorin {

/// "1234 records written, 42% read" (the percentage only when the size of
/// the input is known and not 0).
std::string FormatProgress(std::int32_t records, std::uint64_t bytesRead,
                           std::optional<std::uint64_t> inputSize);

class ProgressLine {
 public:
  /// Calls of Due() between two looks at the clock: it is asked once per
  /// input line and must cost next to nothing.
  static constexpr std::uint32_t kCallsPerClockCheck = 4096;
  static constexpr std::chrono::milliseconds kInterval{250};

  explicit ProgressLine(std::FILE* terminal);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  /// True when the line should be redrawn now.
  bool Due() {
    if (++calls_ < kCallsPerClockCheck) return false;
    calls_ = 0;
    return IntervalPassed();
  }
  void Draw(const std::string& text);
  /// Removes the line (if one is shown) so that other output can follow.
  void Clear();

 private:
  bool IntervalPassed();

  std::FILE* terminal_;
  std::uint32_t calls_ = 0;
  std::chrono::steady_clock::time_point lastDraw_;
  std::size_t shownWidth_ = 0;
};

}  // namespace velorin
