#pragma once
// One entry of the settings file written back, for a choice the window
// remembers: the file's other lines keep every byte, their line ends too.
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace velorin {

/// The settings file's text with entry `index` (line index + 1) made
/// `entry`, its line end kept; a file too short for it gets empty CR LF
/// lines up to it.
std::string WithSettingsEntry(std::string_view settings, std::size_t index, std::string_view entry);

/// Writes entry `index` into the settings file at `path`, replacing the
/// file whole or not at all; false, with the reason in `error`, when the
/// file cannot be read or written.
bool SaveSettingsEntry(const std::string& path, std::size_t index, std::string_view entry,
                       std::error_code& error);

}  // namespace velorin
