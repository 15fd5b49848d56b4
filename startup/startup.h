#pragma once
// The start-up sequence: settings file, then the message file it selects
// (module mainModule holds the two tables).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "startup/file_locations.h"
#include "startup/settings_lines.h"

namespace velorin {

inline constexpr std::string_view kIllegalSystemDataText = "Illegal System data file!!";
inline constexpr std::string_view kIllegalMessageText = "Illegal Message file!!";
inline constexpr std::string_view kStartupFailureTitle = "Velorin";

/// Entries of the message table that name the window's font: its family and
/// its size in points.
inline constexpr std::size_t kFontNameMessage = 0;
inline constexpr std::size_t kFontSizeMessage = 1;

/// The two global tables, filled once at start-up and read-only afterwards.
/// Texts are the files' CP932 bytes, without line ends.
struct StartupTables {
  std::vector<std::string> systemSettings = std::vector<std::string>(kSettingsLines);
  std::vector<std::string> messageTable = std::vector<std::string>(200);

  /// The language entry is exactly "0".
  bool Japanese() const { return systemSettings[kLanguageEntry] == "0"; }
};

enum class StartupFailure {
  kNone,
  kSettings,  ///< velorin.ini missing, unreadable or shorter than 16 lines
  kMessages,  ///< message file missing, unreadable, short, or message 1 not a number
};

/// Message file name for the settings: velorin_j.msg or velorin_e.msg.
std::string MessageFileName(const StartupTables& tables);

/// The result of loading the start-up files: on a failure, which file and
/// what was wrong with it, for the person who has to mend it.
struct StartupOutcome {
  StartupFailure failure = StartupFailure::kNone;
  std::string path;     ///< the file that failed
  std::string problem;  ///< "cannot be opened", "has fewer than 16 lines", ...
};

/// Loads the settings from `locations.settingsPath`, then the message file
/// they select from the data folder, both read through `files`.
StartupOutcome LoadStartupFiles(FileSystem& files, const FileLocations& locations,
                                StartupTables& tables);

/// Loads both tables from `applicationFolder` (which ends with a separator)
/// of `files`.
StartupFailure LoadStartupTables(FileSystem& files, const std::string& applicationFolder,
                                 StartupTables& tables);

/// One line for standard error: "velorin: the settings file PATH PROBLEM".
std::string StartupFailureReport(const StartupOutcome& outcome);

/// Message 1 read as a single-precision font size; false when not a number.
bool ParseFontSize(std::string_view text, float& size);

}  // namespace velorin
