#include <stdio.h>

#include "platform/anonymous_file.h"

namespace velorin {

std::FILE* CreateDeletedOnClose(const std::filesystem::path& path) {
  // T: kept in memory while there is room; D: deleted when closed (an open
  // file cannot lose its name on Windows).
  return _wfopen(path.c_str(), L"w+bTD");
}

}  // namespace velorin
