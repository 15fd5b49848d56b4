// What velorin.exe says of itself: its --help, and the
// message and help files the build puts beside it, in their Windows wording.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

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
std::string Beside(const char* name) { return ReadFile(fs::path(VELORIN_BIN) / name); }
std::string EnglishMessages() { return Beside("velorin_e.msg"); }
std::string JapaneseMessages() { return Beside("velorin_j.msg"); }
std::string EnglishHelp() { return Beside("velorin_hlp_e.txt"); }
std::string JapaneseHelp() { return Beside("velorin_hlp_j.txt"); }

class WindowsTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(WindowsTextTest, DescribesWindows) {
  const TextCase& c = GetParam();
  const std::string text = c.text();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find(c.word) != std::string::npos, c.holds) << text;
}

// The English window in a font whose backslash is one (a Japanese font
// draws it as a yen sign); the log's folder as Windows names it.
INSTANTIATE_TEST_SUITE_P(
    Texts, WindowsTextTest,
    ::testing::Values(
        TextCase{"UsageNamesTheProgram", &Usage, "Usage: velorin.exe [FILE]", true},
        TextCase{"UsageOffersTheMap", &Usage, "--map FILE", true},
        TextCase{"UsageNamesNoManPages", &Usage, "(1)", false},
        TextCase{"UsageNamesNoTileServer", &Usage, "VELORIN_TILE_URL", false},
        TextCase{"UsageNamesTheCommandLine", &Usage, "velorin-cli.exe", true},
        TextCase{"EnglishFontIsTahoma", &EnglishMessages, "Tahoma\r\n9\r\n", true},
        TextCase{"EnglishMapClose", &EnglishMessages, "\r\n&Close\r\n", true},
        TextCase{"EnglishHelpDescribesTheMapWindow", &EnglishHelp, "velorin.exe --map FILE", true},
        TextCase{"EnglishHelpNamesTheTileCache", &EnglishHelp, "%LOCALAPPDATA%\\Velorin\\tiles",
                 true},
        TextCase{"EnglishFontIsNoJapaneseFont", &EnglishMessages, "IPAPGothic", false},
        TextCase{"EnglishLogFolder", &EnglishMessages, "%LOCALAPPDATA%\\Velorin", true},
        TextCase{"JapaneseLogFolder", &JapaneseMessages, "%LOCALAPPDATA%\\Velorin", true},
        TextCase{"EnglishHelpNamesAppData", &EnglishHelp, "%APPDATA%\\Velorin", true},
        TextCase{"EnglishHelpNamesNoLinuxFolder", &EnglishHelp, "/usr/share", false},
        TextCase{"EnglishHelpNamesExplorer", &EnglishHelp, "Explorer", true},
        TextCase{"EnglishHelpDescribesTheEditor", &EnglishHelp, "F2 renames a point in the list",
                 true},
        TextCase{"EnglishHelpSaysNoMissingEditor", &EnglishHelp, "does not yet list", false},
        TextCase{"JapaneseHelpNamesLocalAppData", &JapaneseHelp, "%LOCALAPPDATA%\\Velorin", true},
        TextCase{"JapaneseHelpNamesNoLinuxFolder", &JapaneseHelp, "~/.local", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
