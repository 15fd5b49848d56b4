#include "text/text_encoding.h"

#include "text/utf8.h"

namespace velorin {

bool IsValidUtf8(std::string_view text) { return ValidUtf8PrefixLength(text) == text.size(); }

std::size_t ValidUtf8PrefixLength(std::string_view text) {
  std::size_t valid = 0;
  for (;;) {
    valid += utf8::AsciiPrefixLength(text.substr(valid));
    if (valid == text.size()) return valid;
    const int length = utf8::SequenceLength(text.substr(valid));
    if (length <= 0) return valid;
    valid += static_cast<std::size_t>(length);
  }
}

DetectedEncoding DetectTextEncoding(std::string_view head, bool headIsWholeFile) {
  if (head.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    const std::string_view text = head.substr(kUtf8ByteOrderMark.size());
    const bool beyondAscii = utf8::AsciiPrefixLength(text) < text.size();
    return {TextEncoding::kUtf8, kUtf8ByteOrderMark.size(), beyondAscii};
  }
  // A two-byte sequence whose second byte is A1 to BF reads in CP932 as two
  // half-width katakana ("é" C3 A9 as "ﾃｩ"). Latin text has such pairs
  // alone or two in a row ("créé"); katakana words that happen to be valid
  // UTF-8 come as longer runs of them.
  constexpr int kKanaRunOfCp932 = 3;
  bool beyondAscii = false;
  bool sawUtf8Only = false;  // a sequence CP932 could not be made of
  bool sawKanaForm = false;
  bool sawKanaRun = false;
  int kanaRun = 0;
  for (;;) {
    const std::size_t ascii = utf8::AsciiPrefixLength(head);
    if (ascii > 0) kanaRun = 0;
    head.remove_prefix(ascii);
    if (head.empty()) break;
    beyondAscii = true;
    const int length = utf8::SequenceLength(head);
    if (length == 0) return {TextEncoding::kCp932, 0, true};
    if (length < 0) {
      // Cut off by the end of what was looked at: fine unless the file
      // really ends there.
      if (headIsWholeFile) return {TextEncoding::kCp932, 0, true};
      break;
    }
    if (length == 2 && static_cast<unsigned char>(head[1]) >= 0xA1) {
      sawKanaForm = true;
      sawKanaRun = sawKanaRun || ++kanaRun >= kKanaRunOfCp932;
    } else {
      sawUtf8Only = true;
      kanaRun = 0;
    }
    head.remove_prefix(static_cast<std::size_t>(length));
  }
  const bool utf8 = sawUtf8Only || (sawKanaForm && !sawKanaRun);
  return {utf8 ? TextEncoding::kUtf8 : TextEncoding::kCp932, 0, beyondAscii};
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
