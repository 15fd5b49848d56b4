#include "cli/progress.h"

namespace velorin {

std::string FormatProgress(std::int32_t records, std::uint64_t bytesRead,
                           std::optional<std::uint64_t> inputSize) {
  std::string text = std::to_string(records) + " records written";
  if (inputSize && *inputSize > 0) {
    const std::uint64_t size = *inputSize;
    // Reading runs ahead in large chunks, and a growing file may pass its
    // first size: never more than 100.
    const std::uint64_t percent = bytesRead >= size ? 100 : bytesRead * 100 / size;
    text += ", " + std::to_string(percent) + "% read";
  }
  return text;
}

ProgressLine::ProgressLine(std::FILE* terminal)
    : terminal_(terminal), lastDraw_(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() { Clear(); }

bool ProgressLine::IntervalPassed() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDraw_ < kInterval) return false;
  lastDraw_ = now;
  return true;
}

void ProgressLine::Draw(const std::string& text) {
  // Blanks over what is left of a longer earlier text.
  const std::size_t pad = shownWidth_ > text.size() ? shownWidth_ - text.size() : 0;
  std::fprintf(terminal_, "\r%s%*s", text.c_str(), static_cast<int>(pad), "");
  std::fflush(terminal_);
  shownWidth_ = text.size();
}

void ProgressLine::Clear() {
  if (shownWidth_ == 0) return;
  std::fprintf(terminal_, "\r%*s\r", static_cast<int>(shownWidth_), "");
  std::fflush(terminal_);
  shownWidth_ = 0;
}

}  // namespace velorin
