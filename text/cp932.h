#pragma once
// Conversions between CP932 (Microsoft's code page 932) and UTF-8, for text
// that a person reads. The engine itself never decodes: it copies bytes.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

/// Keeps its converter open between calls: one decoder serves a whole file
/// (opening a converter costs far more than converting a title).
class Cp932Decoder {
 public:
  Cp932Decoder();
  ~Cp932Decoder();
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;

  /// Replaces `utf8` with the UTF-8 form of `cp932`, as Cp932ToUtf8 does.
  void Decode(std::string_view cp932, std::string& utf8);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// Decodes CP932 bytes; a byte sequence that is not valid CP932 becomes
/// U+FFFD, so the result is always printable UTF-8.
std::string Cp932ToUtf8(std::string_view cp932);

/// Encodes UTF-8 text as CP932; nothing when a character has no CP932 form.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

}  // namespace velorin
