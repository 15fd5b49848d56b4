#pragma once
// The user's home folder, as each system knows it. One sibling file per system.
#include <string>

namespace velorin {

/// HOME, else the password database (POSIX); USERPROFILE (Windows). Empty
/// when unknown.
std::string HomeFolder();

}  // namespace velorin
