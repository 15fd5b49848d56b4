#include "formats/output_path.h"

namespace velorin {

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
  for (std::size_t k = path.size(); k > 0; --k) {
    const char c = path[k - 1];
    if (c == '\\' || c == '/') break;
    if (c == '.') return std::string(path.substr(0, k - 1)) + std::string(extension);
  }
  return std::string(path) + std::string(extension);
}

std::string DeriveOutputPath(std::string_view inputPath) {
  return ReplaceExtension(inputPath, ".nvi");
}

}  // namespace velorin
