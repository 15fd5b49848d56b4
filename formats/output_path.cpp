#include "formats/output_path.h"

#include "text/ascii.h"

namespace velorin {

std::string_view ExtensionOf(std::string_view path) {
  for (std::size_t k = path.size(); k > 0; --k) {
    const char c = path[k - 1];
    if (c == '\\' || c == '/') break;
    if (c == '.') return path.substr(k - 1);
  }
  return {};
}

bool HasExtension(std::string_view path, std::string_view extension) {
  // The end of the name, so that an extension of two parts (".osm.pbf")
  // counts whole.
  if (extension.empty() || path.size() < extension.size())
    return extension.empty() && ExtensionOf(path).empty();
  return EqualsIgnoringAsciiCase(path.substr(path.size() - extension.size()), extension) &&
         extension.front() == '.';
}

std::string PathInFolder(std::string_view folder, std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::string joined(folder);
  if (!joined.empty() && joined.back() != '/' && joined.back() != '\\') joined += '/';
  return joined + std::string(name);
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
  const std::string_view own = ExtensionOf(path);
  return std::string(path.substr(0, path.size() - own.size())) + std::string(extension);
}

}  // namespace velorin
