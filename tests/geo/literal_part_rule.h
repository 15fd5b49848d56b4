#pragma once
// A literal reading of the canonical-numeral rule, slow and obviously right:
// render the leading number of the part with 15 significant digits, pad with
// zeros on the left, keep as many characters as the part has, and compare.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace velorin::testing {

inline std::optional<double> LiteralPartRule(const std::string& part) {
  std::size_t end = 0;
  bool point = false;
  while (end < part.size() &&
         ((part[end] >= '0' && part[end] <= '9') || (part[end] == '.' && !point))) {
    point = point || part[end] == '.';
    ++end;
  }
  const std::string numeral = part.substr(0, end);
  const bool hasDigit = numeral.find_first_of("0123456789") != std::string::npos;
  const double value = hasDigit ? std::strtod(numeral.c_str(), nullptr) : 0.0;

  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string rendering = buffer;
  if (rendering.rfind("0.", 0) == 0) rendering.erase(0, 1);  // .5, not 0.5

  const std::string padded = std::string(part.size(), '0') + rendering;
  if (padded.substr(padded.size() - part.size()) != part) return std::nullopt;
  return value;
}

}  // namespace velorin::testing
