#include "platform/program_folder.h"

namespace velorin {

std::string FolderWithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != FolderSeparator()) folder.push_back(FolderSeparator());
  return folder;
}

}  // namespace velorin
