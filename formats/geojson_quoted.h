#pragma once
// A text of a GeoJSON file as a message quotes it: cut short, in quotes.
#include <string>
#include <string_view>

namespace velorin {

inline std::string QuotedJsonText(std::string_view text) {
  constexpr std::size_t kShown = 60;
  return "\"" + std::string(text.substr(0, kShown)) + (text.size() > kShown ? "...\"" : "\"");
}

}  // namespace velorin
