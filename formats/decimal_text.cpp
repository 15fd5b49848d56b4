#include "formats/decimal_text.h"

#include <charconv>
#include <cmath>
#include <variant>

namespace velorin {

namespace {

constexpr std::uint64_t kUnits = static_cast<std::uint64_t>(kUnitsPerDegree);
constexpr std::uint64_t kScale = 1'000'000'000;  // 10^kDecimalPlaces

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr int kMaxExactDigits = 15;  // any 15-digit integer is a double exactly
constexpr double kExactPowersOfTen[kMaxExactDigits + 1] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

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
    ++at;
    places = digitsFrom(digits);
    if (places == 0) return std::nullopt;
  }
  if (whole == 0 || at != end || whole + places > kMaxExactDigits) return std::nullopt;
  const double value = static_cast<double>(digits) / kExactPowersOfTen[places];
  return negative ? -value : value;
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

}  // namespace velorin
