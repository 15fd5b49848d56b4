#pragma once
// File name extensions, the one place that reads and replaces them.
#include <string>
#include <string_view>

namespace velorin {

/// The extension of the final component of `path`, from its last "." on
/// (".pot"), or empty when it has none. Both "\" and "/" end a component.
std::string_view ExtensionOf(std::string_view path);

/// True when the extension of `path` is `extension` (with its dot), in any
/// ASCII letter case.
bool HasExtension(std::string_view path, std::string_view extension);

/// The final component of `path` (after its last "\\" or "/") placed in
/// `folder`: where a file of that name goes in another folder.
std::string PathInFolder(std::string_view folder, std::string_view path);

/// The path with its extension replaced by `extension` (".gpx"), or
/// `extension` added when there is none.
std::string ReplaceExtension(std::string_view path, std::string_view extension);

}  // namespace velorin
