#pragma once
#include <string>
#include <string_view>

namespace velorin {

/// The default output path for an input path: the extension of the final
/// component (from its last ".") is replaced by ".nvi", or ".nvi" is added
/// when there is none. Both "\" and "/" end the search for the extension.
std::string DeriveOutputPath(std::string_view inputPath);

}  // namespace velorin
