#include <optional>

#include "platform/code_page_win32.h"
#include "platform/wide_text_win32.h"
#include "text/cp932_decoder.h"
#include "text/sjis_scan.h"

namespace velorin {

namespace {

constexpr unsigned kCp932 = 932;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

/// Bytes that Windows' table maps (to U+0080 and private-use characters) but
/// glibc's holds invalid; both systems decode them as invalid.
bool OutsideSharedTable(unsigned char byte) { return byte == 0x80 || byte == 0xA0 || byte >= 0xFD; }

/// Decodes `cp932` whole; nothing when any of it is invalid.
std::optional<std::wstring> DecodeStrictly(std::string_view cp932) {
  return DecodeCodePage(kCp932, cp932);
}

bool HoldsBytesOutsideSharedTable(std::string_view cp932) {
  for (const char c : cp932) {
    if (OutsideSharedTable(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

}  // namespace

/// Nothing to keep between calls: Windows' table is always at hand.
struct Cp932Decoder::State {};

Cp932Decoder::Cp932Decoder() = default;
Cp932Decoder::~Cp932Decoder() = default;

void Cp932Decoder::Decode(std::string_view cp932, std::string& utf8) {
  utf8.clear();
  if (cp932.empty()) return;
  if (!HoldsBytesOutsideSharedTable(cp932)) {
    if (const auto wide = DecodeStrictly(cp932)) {
      utf8 = Narrow(*wide).value_or(std::string());
      return;
    }
  }
  // Something is invalid: character by character, as iconv goes: an invalid
  // or cut-off sequence is marked and decoding goes on after its first byte.
  std::wstring wide;
  std::size_t at = 0;
  while (at < cp932.size()) {
    const auto lead = static_cast<unsigned char>(cp932[at]);
    const std::size_t width = IsLeadByte(lead) ? 2 : 1;
    std::optional<std::wstring> character;
    if (!OutsideSharedTable(lead) && at + width <= cp932.size()) {
      character = DecodeStrictly(cp932.substr(at, width));
    }
    if (character && character->size() == 1) {
      wide += *character;
      at += width;
      continue;
    }
    utf8 += Narrow(wide).value_or(std::string()) + std::string(kReplacement);
    wide.clear();
    ++at;
  }
  utf8 += Narrow(wide).value_or(std::string());
}

}  // namespace velorin
