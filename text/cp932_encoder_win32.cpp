#include "platform/code_page_win32.h"
#include "platform/wide_text_win32.h"
#include "text/cp932_encoder.h"
#include "text/text_encoding.h"

namespace velorin {

namespace {

constexpr unsigned kCp932 = 932;

/// Characters that Windows' table writes but glibc's does not hold: U+0080
/// and the four that stand for the bytes A0, FD, FE and FF. Both systems
/// refuse them, so that they write the same bytes.
bool OutsideSharedTable(wchar_t unit) { return unit == 0x80 || (unit >= 0xF8F0 && unit <= 0xF8F3); }

/// Bytes of the UTF-8 character that starts with `lead` (valid input).
std::size_t Utf8Width(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

/// Appends the CP932 form of `wide`; false, with `out` as it was, when the
/// table lacks one of its characters.
bool AppendStrictly(std::wstring_view wide, std::string& out) {
  for (const wchar_t unit : wide) {
    if (OutsideSharedTable(unit)) return false;
  }
  return AppendInCodePage(kCp932, wide, out);
}

}  // namespace

struct Cp932Converter::State {};

Cp932Converter::Cp932Converter() = default;
Cp932Converter::~Cp932Converter() = default;

std::size_t Cp932Converter::Convert(std::string_view in, std::string& out) {
  // Windows would read bytes that start no character as U+FFFD: they end
  // what is converted instead.
  in = in.substr(0, ValidUtf8PrefixLength(in));
  // Nearly always the table holds the whole text: one call.
  if (AppendStrictly(Widen(in), out)) return in.size();
  std::size_t taken = 0;
  while (taken < in.size()) {
    const std::size_t width = Utf8Width(static_cast<unsigned char>(in[taken]));
    if (!AppendStrictly(Widen(in.substr(taken, width)), out)) break;
    taken += width;
  }
  return taken;
}

}  // namespace velorin
