#include "formats/decimal_text.h"

#include <charconv>
#include <cmath>
#include <variant>

namespace velorin {

namespace {

constexpr std::uint64_t kUnits = static_cast<std::uint64_t>(kUnitsPerDegree);
constexpr std::uint64_t kScale = 1'000'000'000;  // 10^kDecimalPlaces

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

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
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.starts_with("+-")) return std::nullopt;
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
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
