#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/home_folder.h"

namespace velorin {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
    return entry->pw_dir;
  return std::string();
}

}  // namespace velorin
