#include "platform/iconv_converter_posix.h"
#include "text/cp932_decoder.h"

namespace velorin {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

struct Cp932Decoder::State {
  // glibc's name for Microsoft's table. "SHIFT_JIS" is a different mapping
  // (81 60 would become U+301C, 5C a yen sign).
  IconvConverter converter{"UTF-8", "CP932"};
};

Cp932Decoder::Cp932Decoder() : state_(std::make_unique<State>()) {}
Cp932Decoder::~Cp932Decoder() = default;

void Cp932Decoder::Decode(std::string_view cp932, std::string& utf8) {
  utf8.clear();
  IconvConverter& converter = state_->converter;
  if (!converter.valid()) {
    // No CP932 tables installed: keep what is plainly ASCII readable.
    for (const char c : cp932) {
      if (static_cast<unsigned char>(c) < 0x80) {
        utf8 += c;
      } else {
        utf8 += kReplacement;
      }
    }
    return;
  }
  utf8.reserve(cp932.size() + cp932.size() / 2);
  while (!cp932.empty()) {
    if (converter.Convert(cp932, utf8) == IconvConverter::Stop::kDone) break;
    // An invalid or cut-off sequence: mark it and go on after its first byte.
    utf8 += kReplacement;
    if (!cp932.empty()) cp932.remove_prefix(1);
    converter.Reset();
  }
}

}  // namespace velorin
