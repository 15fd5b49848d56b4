#include <cstdio>

#include "platform/anonymous_file.h"

namespace velorin {

std::FILE* CreateDeletedOnClose(const std::filesystem::path& path) {
  // x: never an existing file. The open file stays until closed once its
  // name is removed.
  std::FILE* file = std::fopen(path.c_str(), "w+bx");
  if (file != nullptr) std::remove(path.c_str());
  return file;
}

}  // namespace velorin
