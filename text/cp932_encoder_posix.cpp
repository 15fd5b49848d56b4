#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/iconv_converter_posix.h"
#include "text/cp932_encoder.h"
#include "text/utf8.h"

namespace velorin {

namespace {

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

}  // namespace

struct Cp932Converter::State {
  IconvConverter converter{"CP932", "UTF-8"};
  /// Made on the first character converted (a converter made for one short
  /// text never needs it).
  std::unique_ptr<Remembered[]> remembered;

  /// Appends the table's form of one character; false when it holds none.
  bool ConvertOne(std::string_view character, std::string& out) {
    std::string_view rest = character;
    converter.Convert(rest, out);
    converter.Reset();
    return rest.empty();
  }

  /// Appends the table's form of a character not asked about before and
  /// keeps the answer in `known`; false when the table holds none.
  bool Ask(std::string_view character, char32_t codePoint, Remembered& known, std::string& out) {
    const std::size_t before = out.size();
    const bool refused = !ConvertOne(character, out);
    const std::string_view bytes = std::string_view(out).substr(before);
    if (bytes.size() <= known.bytes.size()) {
      known = Remembered{true, refused, static_cast<std::uint8_t>(bytes.size()), codePoint, {}};
      bytes.copy(known.bytes.data(), bytes.size());
    }
    return !refused;
  }
};

Cp932Converter::Cp932Converter() : state_(std::make_unique<State>()) {}
Cp932Converter::~Cp932Converter() = default;

std::size_t Cp932Converter::Convert(std::string_view in, std::string& out) {
  State& state = *state_;
  if (!state.converter.valid()) return 0;
  if (!state.remembered) state.remembered = std::make_unique<Remembered[]>(kRemembered);
  // Known characters are gathered here and appended a run at a time.
  std::array<char, 256> gathered;
  std::size_t size = 0;
  std::size_t taken = 0;
  while (taken < in.size()) {
    // Checked here, character by character, rather than in a pass of its own.
    char32_t codePoint = 0;
    const int width = utf8::DecodeSequence(in.substr(taken), codePoint);
    if (width <= 0) break;
    const std::string_view character = in.substr(taken, static_cast<std::size_t>(width));
    Remembered& known = state.remembered[codePoint % kRemembered];
    if (known.asked && known.codePoint == codePoint) {
      if (known.refused) break;
      if (size + known.bytes.size() > gathered.size()) {
        out.append(gathered.data(), size);
        size = 0;
      }
      std::memcpy(gathered.data() + size, known.bytes.data(), known.bytes.size());
      size += known.size;
    } else {
      out.append(gathered.data(), size);
      size = 0;
      if (!state.Ask(character, codePoint, known, out)) break;
    }
    taken += character.size();
  }
  out.append(gathered.data(), size);
  return taken;
}

}  // namespace velorin
