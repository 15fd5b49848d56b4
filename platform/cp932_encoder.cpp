#include "platform/cp932_encoder.h"

#include "platform/cp932_converter.h"
#include "platform/text_encoding.h"

namespace velorin {

namespace {

constexpr std::string_view kUnknown = "?";

/// Bytes of the UTF-8 character that starts with `lead` (valid input).
std::size_t Utf8Width(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

}  // namespace

struct Cp932Encoder::State {
  Cp932Converter converter;
};

Cp932Encoder::Cp932Encoder() : state_(std::make_unique<State>()) {}
Cp932Encoder::~Cp932Encoder() = default;

bool Cp932Encoder::Append(std::string_view utf8, std::string& out,
                          std::vector<ByteSpan>* replaced) {
  if (!IsValidUtf8(utf8)) return false;
  while (!utf8.empty()) {
    utf8.remove_prefix(state_->converter.Convert(utf8, out));
    if (utf8.empty()) break;
    // A character CP932 does not hold (the input is valid UTF-8).
    if (replaced != nullptr) replaced->push_back({out.size(), kUnknown.size()});
    out += kUnknown;
    utf8.remove_prefix(Utf8Width(static_cast<unsigned char>(utf8.front())));
  }
  return true;
}

std::optional<Cp932Title> TitleToCp932(std::string_view utf8) {
  Cp932Encoder encoder;
  Cp932Title title;
  std::vector<ByteSpan> replaced;
  if (!encoder.Append(utf8, title.text, &replaced)) return std::nullopt;
  title.replaced = replaced.size();
  return title;
}

}  // namespace velorin
