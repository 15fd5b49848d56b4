#include "convert/output_path.h"

namespace velorin {

std::string DeriveOutputPath(std::string_view inputPath) {
  for (std::size_t k = inputPath.size(); k > 0; --k) {
    const char c = inputPath[k - 1];
    if (c == '\\' || c == '/') break;
    if (c == '.') return std::string(inputPath.substr(0, k - 1)) + ".nvi";
  }
  return std::string(inputPath) + ".nvi";
}

}  // namespace velorin
