#include "platform/cp932_encoder.h"

#include <iconv.h>

#include <cerrno>

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
  iconv_t cd = iconv_open("CP932", "UTF-8");
  ~State() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
};

Cp932Encoder::Cp932Encoder() : state_(std::make_unique<State>()) {}
Cp932Encoder::~Cp932Encoder() = default;

bool Cp932Encoder::Append(std::string_view utf8, std::string& out,
                          std::vector<ByteSpan>* replaced) {
  if (!IsValidUtf8(utf8)) return false;
  const iconv_t cd = state_->cd;
  while (!utf8.empty()) {
    char buffer[1024];
    char* input = const_cast<char*>(utf8.data());
    std::size_t inputLeft = utf8.size();
    char* output = buffer;
    std::size_t outputLeft = sizeof buffer;
    const bool open = cd != reinterpret_cast<iconv_t>(-1);
    const std::size_t result =
        open ? iconv(cd, &input, &inputLeft, &output, &outputLeft) : static_cast<std::size_t>(-1);
    const int error = open ? errno : EILSEQ;
    out.append(buffer, static_cast<std::size_t>(output - buffer));
    utf8.remove_prefix(utf8.size() - inputLeft);
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    // A character CP932 does not hold (the input is valid UTF-8).
    const std::size_t width = Utf8Width(static_cast<unsigned char>(utf8.front()));
    if (replaced != nullptr) replaced->push_back({out.size(), kUnknown.size()});
    out += kUnknown;
    utf8.remove_prefix(width);
    if (open) iconv(cd, nullptr, nullptr, nullptr, nullptr);
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
