#include "text/text_encoding.h"

#include "text/utf8.h"

namespace velorin {

bool IsValidUtf8(std::string_view text) {
  for (;;) {
    text.remove_prefix(utf8::AsciiPrefixLength(text));
    if (text.empty()) return true;
    const int length = utf8::SequenceLength(text);
    if (length <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(length));
  }
}

DetectedEncoding DetectTextEncoding(std::string_view head, bool headIsWholeFile) {
  if (head.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    return {TextEncoding::kUtf8, kUtf8ByteOrderMark.size()};
  }
  bool sawLongSequence = false;
  for (;;) {
    head.remove_prefix(utf8::AsciiPrefixLength(head));
    if (head.empty()) break;
    const int length = utf8::SequenceLength(head);
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

DetectedEncoding ChooseTextEncoding(std::string_view head, bool headIsWholeFile,
                                    std::optional<TextEncoding> told) {
  DetectedEncoding chosen = DetectTextEncoding(head, headIsWholeFile);
  if (told) {
    chosen.encoding = *told;
    if (*told == TextEncoding::kCp932) chosen.byteOrderMarkSize = 0;
  }
  return chosen;
}

}  // namespace velorin
