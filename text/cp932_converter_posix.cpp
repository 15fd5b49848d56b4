#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <memory>

#include "text/cp932_converter.h"
#include "text/utf8.h"

namespace velorin {

namespace {

/// Room that any one character needs in CP932 beyond its UTF-8 length (none
/// in glibc's table: every character it writes is as short as its UTF-8).
constexpr std::size_t kSlack = 8;

/// What the table gave for one character, kept so that iconv is asked once
/// for each character (the titles of a file share most of theirs).
struct Remembered {
  bool asked = false;
  bool refused = false;
  std::uint8_t size = 0;
  char32_t codePoint = 0;
  std::array<char, 4> bytes{};  ///< no longer than the character's UTF-8
};

constexpr std::size_t kRemembered = 2048;  // a power of two: slots by code point

/// Bytes of the character that starts with `lead` (valid UTF-8).
std::size_t Utf8Width(char lead) {
  const auto b = static_cast<unsigned char>(lead);
  return b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

}  // namespace

struct Cp932Converter::State {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  /// Made on the first character converted (a converter made for one short
  /// text never needs it).
  std::unique_ptr<Remembered[]> remembered;
  bool open() const { return cd != reinterpret_cast<iconv_t>(-1); }
  ~State() {
    if (open()) iconv_close(cd);
  }
  /// Converts the start of `in` onto `out` through iconv; the bytes taken.
  std::size_t Iconv(std::string_view in, std::string& out);
};

std::size_t Cp932Converter::State::Iconv(std::string_view in, std::string& out) {
  std::size_t taken = 0;
  for (;;) {
    const std::size_t base = out.size();
    const std::size_t room = in.size() - taken + kSlack;
    out.resize(base + room);
    char* input = const_cast<char*>(in.data() + taken);
    std::size_t inputLeft = in.size() - taken;
    char* output = out.data() + base;
    std::size_t outputLeft = room;
    const std::size_t result = iconv(cd, &input, &inputLeft, &output, &outputLeft);
    const int error = errno;
    out.resize(base + room - outputLeft);
    const std::size_t before = taken;
    taken = in.size() - inputLeft;
    if (result != static_cast<std::size_t>(-1) || error != E2BIG || taken == before) break;
  }
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  return taken;
}

Cp932Converter::Cp932Converter() : state_(std::make_unique<State>()) {}
Cp932Converter::~Cp932Converter() = default;

std::size_t Cp932Converter::Convert(std::string_view in, std::string& out) {
  if (!state_->open()) return 0;
  if (!state_->remembered) state_->remembered = std::make_unique<Remembered[]>(kRemembered);
  std::size_t taken = 0;
  while (taken < in.size()) {
    const std::string_view character = in.substr(taken, Utf8Width(in[taken]));
    const char32_t codePoint = utf8::Decode(character.data(), character.size());
    Remembered& known = state_->remembered[codePoint % kRemembered];
    if (known.asked && known.codePoint == codePoint) {
      if (known.refused) break;
      out.append(known.bytes.data(), known.size);
    } else {
      const std::size_t before = out.size();
      const bool refused = state_->Iconv(character, out) != character.size();
      const std::string_view bytes = std::string_view(out).substr(before);
      if (bytes.size() <= known.bytes.size()) {
        known = Remembered{true, refused, static_cast<std::uint8_t>(bytes.size()), codePoint, {}};
        bytes.copy(known.bytes.data(), bytes.size());
      }
      if (refused) break;
    }
    taken += character.size();
  }
  return taken;
}

}  // namespace velorin
