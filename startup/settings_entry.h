#pragma once
// One entry of the settings file written back, the others kept byte for
// byte: how the window remembers a choice the user makes in it (the NVI
// fields it fills).
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace velorin {

/// The settings entry that names the NVI fields the window fills ("addr,comm",
/// "all"; empty: none). Its sixth line: the first lines keep their meaning.
inline constexpr std::size_t kNviFieldsSetting = 5;

/// The text of a settings file with entry `index` (line index + 1) made
/// `value`: every other line kept as it is, its line end too; lines added,
/// empty, up to it when the file is shorter; CR LF after a line added or
/// made.
std::string WithSettingsEntry(std::string_view settings, std::size_t index, std::string_view value);

/// Writes entry `index` of the settings file at `path`, replacing the file
/// whole or not at all; false, with the reason in `error`, when it cannot be
/// read or written.
bool SaveSettingsEntry(const std::string& path, std::size_t index, std::string_view value,
                       std::error_code& error);

}  // namespace velorin
