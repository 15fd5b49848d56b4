// What velorin.exe says of itself: its --help, its refusal of --map, and the
// message and help files the build puts beside it, in their Windows wording.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "startup/startup.h"
#include "startup/window_arguments.h"
#include "win32/win32_usage.h"

namespace velorin {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A text and what it must or must not hold.
struct TextCase {
  const char* name;
  std::string (*text)();
  const char* word;
  bool holds;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

std::string Usage() { return Win32UsageText(); }
std::string EnglishHelp() { return ReadFile(fs::path(VELORIN_BIN) / "velorin_hlp_e.txt"); }
std::string JapaneseHelp() { return ReadFile(fs::path(VELORIN_BIN) / "velorin_hlp_j.txt"); }

class WindowsTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(WindowsTextTest, DescribesWindows) {
  const TextCase& c = GetParam();
  const std::string text = c.text();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find(c.word) != std::string::npos, c.holds) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WindowsTextTest,
    ::testing::Values(TextCase{"UsageNamesTheProgram", &Usage, "Usage: velorin.exe [FILE]", true},
                      TextCase{"UsageOffersNoMap", &Usage, "--map", false},
                      TextCase{"UsageNamesNoManPages", &Usage, "(1)", false},
                      TextCase{"UsageNamesNoTileServer", &Usage, "VELORIN_TILE_URL", false},
                      TextCase{"UsageNamesTheCommandLine", &Usage, "velorin-cli.exe", true},
                      TextCase{"EnglishHelpNamesAppData", &EnglishHelp, "%APPDATA%\\Velorin", true},
                      TextCase{"EnglishHelpNamesNoLinuxFolder", &EnglishHelp, "/usr/share", false},
                      TextCase{"EnglishHelpNamesExplorer", &EnglishHelp, "Explorer", true},
                      TextCase{"JapaneseHelpNamesLocalAppData", &JapaneseHelp,
                               "%LOCALAPPDATA%\\Velorin", true},
                      TextCase{"JapaneseHelpNamesNoLinuxFolder", &JapaneseHelp, "~/.local", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Win32Arguments, MapIsRefusedWithTheCommandLinesMap) {
  const WindowArguments parsed = ParseWindowArguments({"--map", "a.gpx"}, MapOption::kAbsent);
  EXPECT_EQ(parsed.action, WindowAction::kUsageError);
  EXPECT_NE(parsed.error.find("velorin-cli map"), std::string::npos) << parsed.error;
}

// The message files beside the program: the English window in a font whose
// backslash is one, and the log's folder as Windows names it.
struct MessageCase {
  const char* name;
  const char* language;  ///< settings line 1
  int number;
  const char* word;
};

void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

class WindowsMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(WindowsMessageTest, HoldsTheWindowsText) {
  const MessageCase& c = GetParam();
  const std::string folder = fs::temp_directory_path().string() + "\\velorin_texts_" + c.name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : {"velorin_e.msg", "velorin_j.msg"})
    fs::copy_file(fs::path(VELORIN_BIN) / name, fs::path(folder) / name);
  {
    std::ofstream settings(fs::path(folder) / "velorin.ini", std::ios::binary);
    settings << c.language << "\r\n";
    for (int line = 1; line < 16; ++line) settings << "0\r\n";
  }
  StartupTables tables;
  ASSERT_EQ(LoadStartupFiles(PortableLocations(folder + "\\"), tables).failure,
            StartupFailure::kNone);
  EXPECT_NE(tables.messageTable[static_cast<std::size_t>(c.number)].find(c.word), std::string::npos)
      << tables.messageTable[static_cast<std::size_t>(c.number)];
  fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, WindowsMessageTest,
    ::testing::Values(MessageCase{"EnglishFont", "1", 0, "Tahoma"},
                      MessageCase{"EnglishLogFolder", "1", 133, "%LOCALAPPDATA%\\Velorin"},
                      MessageCase{"JapaneseLogFolder", "0", 133, "%LOCALAPPDATA%\\Velorin"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
