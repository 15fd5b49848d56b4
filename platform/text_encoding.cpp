#include "platform/text_encoding.h"

namespace velorin {

namespace {

/// Length of the well-formed UTF-8 sequence at the start of `text`: 1 to 4,
/// 0 when it is malformed, -1 when it is only cut off by the end of `text`.
int SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  int length = 0;
  unsigned char low = 0x80;  // bounds of the second byte (RFC 3629 table)
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  for (int i = 1; i < length; ++i) {
    if (static_cast<std::size_t>(i) >= text.size()) return -1;
    const unsigned char b = byte(static_cast<std::size_t>(i));
    const unsigned char min = i == 1 ? low : 0x80;
    const unsigned char max = i == 1 ? high : 0xBF;
    if (b < min || b > max) return 0;
  }
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    const int length = SequenceLength(text);
    if (length <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(length));
  }
  return true;
}

DetectedEncoding DetectTextEncoding(std::string_view head, bool headIsWholeFile) {
  if (head.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    return {TextEncoding::kUtf8, kUtf8ByteOrderMark.size()};
  }
  bool sawLongSequence = false;
  while (!head.empty()) {
    const int length = SequenceLength(head);
    if (length == 0) return {};
    if (length < 0) {
      // Cut off by the end of what was looked at: fine unless the file
      // really ends there.
      if (headIsWholeFile) return {};
      break;
    }
    if (length >= 3) sawLongSequence = true;
    head.remove_prefix(static_cast<std::size_t>(length));
  }
  return {sawLongSequence ? TextEncoding::kUtf8 : TextEncoding::kCp932, 0};
}

}  // namespace velorin
