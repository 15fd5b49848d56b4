// The start-up sequence: settings first, then the message file they select.
#include "startup/startup.h"

#include <charconv>
#include <cstddef>

#include "startup/text_file_loader.h"

namespace velorin {
namespace {

constexpr auto kSettingsLineCount = static_cast<std::int32_t>(kSettingsLines);
constexpr std::int32_t kMessageLines = 200;

// A font size outside this range cannot be meant seriously and would wreck
// the fixed-size window.
constexpr float kMaxFontSize = 72.0f;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Plain decimal notation only: digits with at most one point and at least
// one digit. No sign, no exponent, no "inf" or "nan".
bool IsPlainDecimal(std::string_view text) {
  bool seenPoint = false;
  bool seenDigit = false;
  for (char c : text) {
    if (IsDigit(c)) {
      seenDigit = true;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      return false;
    }
  }
  return seenDigit;
}

}  // namespace

std::string MessageFileName(const StartupTables& tables) {
  return tables.Japanese() ? "velorin_j.msg" : "velorin_e.msg";
}

namespace {

// What a failed LoadTextLines result says about the file.
std::string LoadProblem(std::int16_t result, std::int32_t lines) {
  switch (result) {
    case -1:
      return "cannot be opened (it is missing or unreadable)";
    case 1:
      return "has fewer than " + std::to_string(lines) + " lines";
    default:
      return "could not be read";
  }
}

}  // namespace

StartupOutcome LoadStartupFiles(FileSystem& files, const FileLocations& locations,
                                StartupTables& tables) {
  const std::int16_t settings =
      LoadTextLines(files, locations.settingsPath, kSettingsLineCount, tables.systemSettings);
  if (settings != 0)
    return {StartupFailure::kSettings, locations.settingsPath,
            LoadProblem(settings, kSettingsLineCount)};

  const std::string messagePath = locations.dataFolder + MessageFileName(tables);
  const std::int16_t messages =
      LoadTextLines(files, messagePath, kMessageLines, tables.messageTable);
  if (messages != 0)
    return {StartupFailure::kMessages, messagePath, LoadProblem(messages, kMessageLines)};

  // The window cannot set its fonts without a numeric message 1, so such a
  // message file is as unusable as a short one.
  float fontSize = 0.0f;
  if (!ParseFontSize(tables.messageTable[kFontSizeMessage], fontSize))
    return {StartupFailure::kMessages, messagePath,
            "has no font size on line 2 (a number of points up to 72)"};
  return {};
}

StartupFailure LoadStartupTables(FileSystem& files, const std::string& applicationFolder,
                                 StartupTables& tables) {
  return LoadStartupFiles(files, PortableLocations(applicationFolder), tables).failure;
}

std::string StartupFailureReport(const StartupOutcome& outcome) {
  switch (outcome.failure) {
    case StartupFailure::kNone:
      return std::string();
    case StartupFailure::kSettings:
      return "velorin: the settings file " + outcome.path + " " + outcome.problem;
    case StartupFailure::kMessages:
      return "velorin: the message file " + outcome.path + " " + outcome.problem;
  }
  return std::string();
}

bool ParseFontSize(std::string_view text, float& size) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (!IsPlainDecimal(text)) return false;

  float value = 0.0f;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  if (!(value > 0.0f) || value > kMaxFontSize) return false;
  size = value;
  return true;
}

}  // namespace velorin
