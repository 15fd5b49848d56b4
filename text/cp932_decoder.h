#pragma once
// CP932 (Microsoft's code page 932) decoded to UTF-8, for text that a person
// reads. The engine itself never decodes: it copies bytes. The system's own
// table does the work: iconv on Linux, MultiByteToWideChar on Windows; both
// decode the same bytes alike and hold the same bytes invalid.
#include <memory>
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
inline std::string Cp932ToUtf8(std::string_view cp932) {
  std::string utf8;
  Cp932Decoder().Decode(cp932, utf8);
  return utf8;
}

}  // namespace velorin
