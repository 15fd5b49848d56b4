#include <cstdlib>

#include "platform/home_folder.h"

namespace velorin {

std::string HomeFolder() {
  const char* profile = std::getenv("USERPROFILE");
  return profile != nullptr ? std::string(profile) : std::string();
}

}  // namespace velorin
