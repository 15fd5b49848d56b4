#include "platform/http_get.h"

namespace velorin {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<std::string> HeaderValue(std::string_view headers, std::string_view name) {
  while (!headers.empty()) {
    const std::size_t end = headers.find('\n');
    std::string_view line = headers.substr(0, end);
    headers.remove_prefix(end == std::string_view::npos ? headers.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && SameName(Trimmed(line.substr(0, colon)), name))
      return std::string(Trimmed(line.substr(colon + 1)));
  }
  return std::nullopt;
}

}  // namespace velorin
