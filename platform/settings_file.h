#pragma once
// A settings file read and written whole: velorin.ini and velorin_map.ini,
// which the window writes unasked when a choice is to be remembered. Read
// through the FileSystem in one piece; no more than a settings file can
// hold (a file far longer, or one holding bytes no text holds, is none).
// Written whole or not at all, and only the file itself: a link to a file
// outside the settings folder is replaced, never what it points to.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"

namespace velorin {

/// The most bytes a settings file holds.
inline constexpr std::size_t kSettingsFileLimit = std::size_t{64} * 1024;

/// Whether `text` may be a settings file: at most kSettingsFileLimit bytes,
/// and no byte below 0x20 but TAB, CR and LF (no NUL, nothing of a program
/// or a picture).
bool IsSettingsText(std::string_view text);

/// The whole file at `path`; nothing, with the reason in `error`, when it
/// cannot be read or is no settings text (IsSettingsText: then
/// std::errc::invalid_argument). A missing file gives
/// std::errc::no_such_file_or_directory.
std::optional<std::string> ReadSettingsFile(FileSystem& files, const std::string& path,
                                            std::error_code& error);

/// Replaces the file at `path` (made if missing) by `text`, whole or not at
/// all, through FileSystem::OpenForReplacingInFolder; false, with the reason
/// in `error`, when it could not.
bool ReplaceSettingsFile(FileSystem& files, const std::string& path, std::string_view text,
                         std::error_code& error);

}  // namespace velorin
