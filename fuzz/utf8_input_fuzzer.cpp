// The UTF-8 path: the encoding choice of a file's head, and the CP932 form
// of a line. Valid UTF-8 becomes whole CP932 characters, with the replaced
// spans inside it and no POT syntax that the line did not hold; anything
// else is refused and leaves the output as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "text/cp932_decoder.h"
#include "text/cp932_encoder.h"
#include "text/sjis_scan.h"
#include "text/text_encoding.h"

namespace {

using namespace velorin;

constexpr std::string_view kHead = "head:";

/// Every byte belongs to a CP932 character: no lone lead byte, no byte that
/// CP932 leaves undefined on its own.
bool IsWholeCp932(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const std::size_t width = CharWidthAt(text, at);
    if (IsLeadByte(byte) ? width != 2 : (byte == 0x80 || byte == 0xA0 || byte >= 0xFD))
      return false;
    at += width;
  }
  return true;
}

bool StartsCharacter(std::string_view text, std::size_t offset) {
  std::size_t at = 0;
  while (at < offset) at += CharWidthAt(text, at);
  return at == offset;
}

/// The bytes that mean something in a POT line, and control characters.
std::size_t SyntaxBytes(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return c == '/' || c == '=' || c == '"' || c == '\'' || static_cast<unsigned char>(c) < 0x20 ||
           c == 0x7F;
  }));
}

bool HasLongSequence(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
}

void CheckDetection(std::string_view bytes) {
  const bool marked = bytes.starts_with(kUtf8ByteOrderMark);
  for (const bool whole : {true, false}) {
    const DetectedEncoding d = DetectTextEncoding(bytes, whole);
    FUZZ_CHECK(d.byteOrderMarkSize == (marked ? 3u : 0u));
    if (marked) FUZZ_CHECK(d.encoding == TextEncoding::kUtf8);
  }
  if (marked) return;
  const DetectedEncoding whole = DetectTextEncoding(bytes, true);
  const bool utf8 = IsValidUtf8(bytes) && HasLongSequence(bytes);
  // Valid UTF-8 with a long sequence is UTF-8; what is not valid is CP932.
  if (utf8) FUZZ_CHECK(whole.encoding == TextEncoding::kUtf8);
  if (!IsValidUtf8(bytes)) FUZZ_CHECK(whole.encoding == TextEncoding::kCp932);
  // A head may end inside a character; a whole file may not.
  if (utf8) FUZZ_CHECK(DetectTextEncoding(bytes, false).encoding == TextEncoding::kUtf8);
}

void CheckEncoding(std::string_view bytes) {
  static Cp932Encoder encoder;  // one encoder for every line, as for a file
  std::string out(kHead);
  std::vector<ByteSpan> replaced;
  const bool valid = IsValidUtf8(bytes);
  FUZZ_CHECK(encoder.Append(bytes, out, &replaced) == valid);
  if (!valid) {
    FUZZ_CHECK(out == kHead && replaced.empty());
    return;
  }
  const std::string_view text = std::string_view(out).substr(kHead.size());
  FUZZ_CHECK(IsWholeCp932(text));
  FUZZ_CHECK(SyntaxBytes(text) == SyntaxBytes(bytes));
  FUZZ_CHECK(Cp932ToUtf8(text).find("\xEF\xBF\xBD") == std::string::npos);
  std::size_t previousEnd = kHead.size();
  for (const ByteSpan& span : replaced) {
    FUZZ_CHECK(span.size > 0 && span.offset >= previousEnd &&
               span.offset + span.size <= out.size());
    FUZZ_CHECK(StartsCharacter(text, span.offset - kHead.size()));
    previousEnd = span.offset + span.size;
  }
  // Where glibc converts the whole line itself, the encoder agrees with it.
  if (const auto direct = Utf8ToCp932(bytes)) FUZZ_CHECK(*direct == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckDetection(bytes);
  CheckEncoding(bytes);
  return 0;
}
