#pragma once
#include <string>
#include <string_view>

namespace velorin {

/// The path with the extension of its final component (from its last ".")
/// replaced by `extension` (".gpx"), or `extension` added when there is
/// none. Both "\" and "/" end the search for the extension.
std::string ReplaceExtension(std::string_view path, std::string_view extension);

/// The default output path for an input path: ReplaceExtension with ".nvi".
std::string DeriveOutputPath(std::string_view inputPath);

}  // namespace velorin
