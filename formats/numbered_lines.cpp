#include "formats/numbered_lines.h"

#include <string>

namespace velorin {

NumberedLines::NumberedLines(ByteSource& source, std::size_t bufferSize, std::size_t maxLineSize)
    : source_(source), lines_(source, bufferSize, maxLineSize), maxLineSize_(maxLineSize) {}

void NumberedLines::NoteFailure() {
  if (failure_ || !lines_.failed()) return;
  if (lines_.lineTooLong()) {
    failure_ =
        ReadFailure{number_ + 1, "a line longer than " + std::to_string(maxLineSize_) + " bytes"};
  } else {
    failure_ = ReadFailure{0, ReadErrorText(source_.error())};
  }
}

}  // namespace velorin
