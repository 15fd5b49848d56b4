#pragma once
// One entry of the settings file written back, for a choice the window
// remembers: the file's other lines keep every byte, their line ends too.
// Only a settings file is written: one that start-up would read (sixteen
// lines or more of text), whose entry holds nothing or a value of the
// entry's own kind; anything else (a file linked or copied in its place) is
// refused and left as it is.
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"
#include "startup/settings_lines.h"

namespace velorin {

/// The settings file's text with entry `index` (line index + 1) made
/// `entry`, its line end kept; a file too short for it gets empty CR LF
/// lines up to it.
std::string WithSettingsEntry(std::string_view settings, std::size_t index, std::string_view entry);

/// Whether a text is a value of one entry's kind ("tokyo" for a datum).
using SettingsEntryKind = bool (*)(std::string_view entry);

/// Whether `settings` is a settings file whose entry `index` may be
/// written: sixteen lines or more, and that entry empty or of `kind`.
bool MayWriteSettingsEntry(std::string_view settings, std::size_t index, SettingsEntryKind kind);

/// Writes entry `index` into the settings file at `path` (through `files`:
/// ReadSettingsFile, ReplaceSettingsFile), replacing the file whole or not
/// at all; false, with the reason in `error`, when the file cannot be read
/// or written, or is no settings file whose entry `index` is of `kind`
/// (std::errc::invalid_argument).
bool SaveSettingsEntry(FileSystem& files, const std::string& path, std::size_t index,
                       std::string_view entry, SettingsEntryKind kind, std::error_code& error);

}  // namespace velorin
