#pragma once
// The folder of the running program, where its own files lie. One sibling
// file per system.
#include <string>

namespace velorin {

/// The folder of the running executable, ending with the system's separator
/// ("/" on Linux, "\" on Windows).
std::string ExecutableFolder();

}  // namespace velorin
