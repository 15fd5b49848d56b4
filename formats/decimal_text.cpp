#include "formats/decimal_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <variant>

namespace velorin {

namespace {

constexpr std::uint64_t kUnits = static_cast<std::uint64_t>(kUnitsPerDegree);
constexpr std::uint64_t kScale = 1'000'000'000;  // 10^kDecimalPlaces

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr int kMaxExactDigits = 15;  // any 15-digit integer is a double exactly
constexpr double kExactPowersOfTen[kMaxExactDigits + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

constexpr std::uint64_t kEightZeros = 0x3030303030303030ull;  // "00000000"

/// The value of eight digit characters in a word read from memory, the
/// first of them the most significant; nothing when one byte is no digit.
/// Three multiplications instead of eight dependent multiply-adds.
std::optional<std::uint64_t> EightDigitsValue(std::uint64_t word) {
  if constexpr (std::endian::native != std::endian::little) return std::nullopt;
  // Each byte 0x30 to 0x39: its high half 3, and still 3 after adding 6.
  constexpr std::uint64_t kHighHalves = 0xF0F0F0F0F0F0F0F0ull;
  const std::uint64_t halves =
      (word & kHighHalves) | (((word + 0x0606060606060606ull) & kHighHalves) >> 4);
  if (halves != 0x3333333333333333ull) return std::nullopt;
  word -= kEightZeros;                                         // eight values 0-9
  word = (word * 10 + (word >> 8)) & 0x00FF00FF00FF00FFull;    // four of 0-99
  word = (word * 100 + (word >> 16)) & 0x0000FFFF0000FFFFull;  // two of 0-9999
  return (word * 10000 + (word >> 32)) & 0xFFFFFFFFull;        // one of 0-99999999
}

/// The places of a decimal, eight at most, as one word: the eight bytes
/// that end the text (which holds eight at least), those before the places
/// taken as zeros. Adds them to `digits` and moves `at` to the end; leaves
/// both as they were when a place is no digit, or for more than eight.
void TakePlacesAsWord(const char*& at, std::string_view text, std::uint64_t& digits) {
  static constexpr std::uint64_t kPowers[9] = {1,      10,      100,      1000,     10000,
                                               100000, 1000000, 10000000, 100000000};
  const char* const end = text.data() + text.size();
  const std::ptrdiff_t places = end - at;
  if (places == 0 || places > 8 || text.size() < 8) return;
  std::uint64_t word;
  std::memcpy(&word, end - 8, 8);
  const std::uint64_t before = (std::uint64_t{1} << ((8 - places) * 8)) - 1;  // bytes before `at`
  const std::optional<std::uint64_t> value =
      EightDigitsValue((word & ~before) | (kEightZeros & before));
  if (!value) return;
  digits = digits * kPowers[places] + *value;
  at = end;
}

/// The usual form of a coordinate, [-]digits[.digits] with at most 15 digits
/// in all, read without the general parser: its digits make an integer that
/// a double holds exactly, divided by a power of ten that it holds exactly,
/// so the one rounding of the division gives the correctly rounded value,
/// as the general parser does. Nothing for any other form.
std::optional<double> ParsePlainDecimal(std::string_view text) {
  const char* at = text.data();
  const char* const end = at + text.size();
  const bool negative = at != end && *at == '-';
  if (negative) ++at;
  const auto digitsFrom = [&at, end](std::uint64_t& digits) {
    const char* const start = at;
    for (; at != end && static_cast<unsigned char>(*at - '0') < 10; ++at) {
      digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
    }
    return at - start;
  };
  std::uint64_t digits = 0;
  const std::ptrdiff_t whole = digitsFrom(digits);
  std::ptrdiff_t places = 0;
  if (at != end && *at == '.') {
    const char* const start = ++at;
    TakePlacesAsWord(at, text, digits);  // the places of most coordinates
    digitsFrom(digits);
    places = at - start;
    if (places == 0) return std::nullopt;
  }
  if (whole == 0 || at != end || whole + places > kMaxExactDigits) return std::nullopt;
  const double value = static_cast<double>(digits) / kExactPowersOfTen[places];
  return negative ? -value : value;
}

/// Any other form ParseDecimalDegrees takes: blanks around it, a plus
/// sign, an exponent or more than 15 digits. Apart from the usual form, so
/// that reading that one sets up nothing the others need.
std::optional<double> ParseOtherDecimal(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.starts_with("+-")) return std::nullopt;
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (const std::optional<double> plain = ParsePlainDecimal(text)) return plain;
  // from_chars reads "inf" and "nan" too; a number starts with a digit, a
  // point or a minus sign followed by one of those.
  const std::string_view digits = !text.empty() && text.front() == '-' ? text.substr(1) : text;
  if (digits.empty() ||
      !(std::isdigit(static_cast<unsigned char>(digits.front())) || digits.front() == '.')) {
    return std::nullopt;
  }
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

DecimalText FormatDegrees(double degrees) {
  DecimalText text;
  if (degrees == 0.0) degrees = 0.0;  // no "-0.000000000"
  char* begin = text.chars_.data();
  const auto result = std::to_chars(begin, begin + text.chars_.size(), degrees,
                                    std::chars_format::fixed, kDecimalPlaces);
  // Every finite angle that reaches a writer fits; a huge value would not.
  text.size_ = result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - begin) : 0;
  return text;
}

DecimalText FormatUnitsAsDegrees(std::uint32_t units) {
  std::uint64_t whole = units / kUnits;
  std::uint64_t fraction = (units % kUnits * kScale * 2 + kUnits) / (2 * kUnits);
  if (fraction == kScale) {
    ++whole;
    fraction = 0;
  }
  DecimalText text;
  char* at = text.chars_.data();
  at = std::to_chars(at, at + 20, whole).ptr;
  *at++ = '.';
  for (int place = kDecimalPlaces - 1; place >= 0; --place) {
    at[place] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  text.size_ = static_cast<std::size_t>(at + kDecimalPlaces - text.chars_.data());
  return text;
}

DecimalPosition FormatPosition(const PointPosition& position) {
  if (const auto* units = std::get_if<DecodedPosition>(&position)) {
    return {FormatUnitsAsDegrees(units->x), FormatUnitsAsDegrees(units->y)};
  }
  const Degrees& degrees = std::get<Degrees>(position);
  return {FormatDegrees(degrees.longitude), FormatDegrees(degrees.latitude)};
}

std::optional<double> ParseDecimalDegrees(std::string_view text) {
  if (const std::optional<double> plain = ParsePlainDecimal(text)) return plain;  // most texts
  return ParseOtherDecimal(text);
}

}  // namespace velorin
