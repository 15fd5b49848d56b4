#include "startup/startup.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"
#include "tests/support/case_name.h"

namespace velorin {
namespace {

// `count` CR LF lines; line 1 is `first`, the rest "line N".
std::string FileOfLines(const std::string& first, int count, bool finalLineEnd = true) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += i == 0 ? first : "line " + std::to_string(i + 1);
    if (i + 1 < count || finalLineEnd) text += "\r\n";
  }
  return text;
}

// A usable message file whose caption (message 2) tells the languages apart.
std::string MessageFile(const std::string& caption, int count = 200, bool finalLineEnd = true,
                        const std::string& fontSize = "9") {
  std::string text = "Noto Sans CJK JP\r\n" + fontSize + "\r\n" + caption + "\r\n";
  for (int i = 3; i < count; ++i) {
    text += "message " + std::to_string(i);
    if (i + 1 < count || finalLineEnd) text += "\r\n";
  }
  return text;
}

struct StartupCase {
  const char* name;
  std::optional<std::string> settings;  // nothing: no velorin.ini
  std::optional<std::string> english;   // nothing: no velorin_e.msg
  std::optional<std::string> japanese;  // nothing: no velorin_j.msg
  StartupFailure failure;
  const char* caption;  // message 2 after a successful start
};

const std::string kEnglish = MessageFile("English");
const std::string kJapanese = MessageFile("Japanese");

void PrintTo(const StartupCase& c, std::ostream* out) { *out << c.name; }

class LoadStartupTablesCase : public ::testing::TestWithParam<StartupCase> {};

TEST_P(LoadStartupTablesCase, FailureAndLanguage) {
  const StartupCase& c = GetParam();
  MemoryFileSystem files;
  if (c.settings) files.AddFile("/app/velorin.ini", *c.settings);
  if (c.english) files.AddFile("/app/velorin_e.msg", *c.english);
  if (c.japanese) files.AddFile("/app/velorin_j.msg", *c.japanese);

  StartupTables tables;
  EXPECT_EQ(LoadStartupTables(files, "/app/", tables), c.failure);
  if (c.failure == StartupFailure::kNone) {
    EXPECT_EQ(tables.messageTable[2], c.caption);
  }
  EXPECT_EQ(tables.systemSettings.size(), 16u);
  EXPECT_EQ(tables.messageTable.size(), 200u);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LoadStartupTablesCase,
    ::testing::Values(
        StartupCase{"EnglishSettings", FileOfLines("1", 16), kEnglish, kJapanese,
                    StartupFailure::kNone, "English"},
        StartupCase{"JapaneseSettings", FileOfLines("0", 16), kEnglish, kJapanese,
                    StartupFailure::kNone, "Japanese"},
        StartupCase{"DoubleZeroIsEnglish", FileOfLines("00", 16), kEnglish, kJapanese,
                    StartupFailure::kNone, "English"},
        StartupCase{"BlankBeforeZeroIsEnglish", FileOfLines(" 0", 16), kEnglish, kJapanese,
                    StartupFailure::kNone, "English"},
        StartupCase{"BlankAfterZeroIsEnglish", FileOfLines("0 ", 16), kEnglish, kJapanese,
                    StartupFailure::kNone, "English"},
        StartupCase{"EmptyLanguageIsEnglish", FileOfLines("", 16), kEnglish, kJapanese,
                    StartupFailure::kNone, "English"},
        StartupCase{"SettingsWithoutFinalLineEnd", FileOfLines("0", 16, false), kEnglish, kJapanese,
                    StartupFailure::kNone, "Japanese"},
        StartupCase{"TwentySettingsLinesAccepted", FileOfLines("1", 20), kEnglish, kJapanese,
                    StartupFailure::kNone, "English"},
        StartupCase{"SettingsWithLfLineEnds", "0\n0\n\n1\n\n\n\n\n\n\n\n\n\n\n\n\n", kEnglish,
                    kJapanese, StartupFailure::kNone, "Japanese"},
        StartupCase{"FifteenSettingsLines", FileOfLines("1", 15), kEnglish, kJapanese,
                    StartupFailure::kSettings, ""},
        StartupCase{"EmptySettings", "", kEnglish, kJapanese, StartupFailure::kSettings, ""},
        StartupCase{"NoSettings", std::nullopt, kEnglish, kJapanese, StartupFailure::kSettings, ""},
        StartupCase{"EnglishMissingJapanesePresent", FileOfLines("1", 16), std::nullopt, kJapanese,
                    StartupFailure::kMessages, ""},
        StartupCase{"JapaneseMissingEnglishPresent", FileOfLines("0", 16), kEnglish, std::nullopt,
                    StartupFailure::kMessages, ""},
        StartupCase{"MessageFileOf199Lines", FileOfLines("1", 16), MessageFile("English", 199),
                    kJapanese, StartupFailure::kMessages, ""},
        StartupCase{"MessageFileOf200LinesWithoutFinalLineEnd", FileOfLines("1", 16),
                    MessageFile("English", 200, false), kJapanese, StartupFailure::kNone,
                    "English"},
        StartupCase{"MessageFileOf250Lines", FileOfLines("1", 16), MessageFile("English", 250),
                    kJapanese, StartupFailure::kNone, "English"},
        StartupCase{"EmptyMessageFile", FileOfLines("1", 16), "", kJapanese,
                    StartupFailure::kMessages, ""},
        StartupCase{"FontSizeNotANumber", FileOfLines("1", 16),
                    MessageFile("English", 200, true, "nine"), kJapanese, StartupFailure::kMessages,
                    ""},
        StartupCase{"FontSizeEmpty", FileOfLines("1", 16), MessageFile("English", 200, true, ""),
                    kJapanese, StartupFailure::kMessages, ""},
        StartupCase{"FontSizeWithBlanks", FileOfLines("1", 16),
                    MessageFile("English", 200, true, " 10.5 "), kJapanese, StartupFailure::kNone,
                    "English"}),
    [](const ::testing::TestParamInfo<StartupCase>& info) { return std::string(info.param.name); });

TEST(LoadStartupTables, SettingsBeyondLine16AreIgnored) {
  MemoryFileSystem files;
  files.AddFile("/app/velorin.ini",
                "0\r\n0\r\n\r\n1\r\n" + std::string(12, '\n') + "seventeen\r\n");
  files.AddFile("/app/velorin_j.msg", kJapanese);
  StartupTables tables;
  ASSERT_EQ(LoadStartupTables(files, "/app/", tables), StartupFailure::kNone);
  EXPECT_EQ(tables.systemSettings[0], "0");
  EXPECT_EQ(tables.systemSettings[1], "0");
  EXPECT_EQ(tables.systemSettings[2], "");
  EXPECT_EQ(tables.systemSettings[3], "1");
  EXPECT_EQ(tables.systemSettings[15], "");
  EXPECT_EQ(tables.messageTable[199], "message 199");
}

TEST(LoadStartupTables, ShortSettingsStopBeforeTheMessages) {
  MemoryFileSystem files;
  files.AddFile("/app/velorin.ini", FileOfLines("1", 15));
  files.AddFile("/app/velorin_e.msg", kEnglish);
  StartupTables tables;
  EXPECT_EQ(LoadStartupTables(files, "/app/", tables), StartupFailure::kSettings);
  EXPECT_EQ(tables.messageTable[2], "");
}

TEST(MessageFileName, OnlyExactZeroSelectsJapanese) {
  for (const char* language : {"1", "00", " 0", "0 ", "", "O", "0\t"}) {
    StartupTables tables;
    tables.systemSettings[0] = language;
    EXPECT_EQ(MessageFileName(tables), "velorin_e.msg") << '"' << language << '"';
    EXPECT_FALSE(tables.Japanese());
  }
  StartupTables tables;
  tables.systemSettings[0] = "0";
  EXPECT_EQ(MessageFileName(tables), "velorin_j.msg");
  EXPECT_TRUE(tables.Japanese());
}

struct FontSizeCase {
  const char* text;
  bool ok;
  float size;
};

void PrintTo(const FontSizeCase& c, std::ostream* out) {
  *out << '"' << c.text << '"' << (c.ok ? " is a font size" : " is refused");
}

class ParseFontSizeCase : public ::testing::TestWithParam<FontSizeCase> {};

TEST_P(ParseFontSizeCase, Parses) {
  const FontSizeCase& c = GetParam();
  float size = -7.0f;
  EXPECT_EQ(ParseFontSize(c.text, size), c.ok) << '"' << c.text << '"';
  EXPECT_EQ(size, c.ok ? c.size : -7.0f) << "a rejected text leaves the size alone";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseFontSizeCase,
    ::testing::Values(FontSizeCase{"9", true, 9.0f}, FontSizeCase{"10.5", true, 10.5f},
                      FontSizeCase{" 9 ", true, 9.0f}, FontSizeCase{"\t9\t", true, 9.0f},
                      FontSizeCase{"09", true, 9.0f}, FontSizeCase{"9.", true, 9.0f},
                      FontSizeCase{".5", true, 0.5f}, FontSizeCase{"72", true, 72.0f},
                      FontSizeCase{"72.5", false, 0}, FontSizeCase{"0", false, 0},
                      FontSizeCase{"0.0", false, 0}, FontSizeCase{"", false, 0},
                      FontSizeCase{"   ", false, 0}, FontSizeCase{".", false, 0},
                      FontSizeCase{"-9", false, 0}, FontSizeCase{"+9", false, 0},
                      FontSizeCase{"9pt", false, 0}, FontSizeCase{"9,5", false, 0},
                      FontSizeCase{"9 5", false, 0}, FontSizeCase{"1.2.3", false, 0},
                      FontSizeCase{"1e1", false, 0}, FontSizeCase{"inf", false, 0},
                      FontSizeCase{"nan", false, 0}, FontSizeCase{"0x9", false, 0},
                      FontSizeCase{"\xEF\xBC\x99", false, 0},  // a full-width 9
                      FontSizeCase{"99999999999999999999999999999999999999999999", false, 0}),
    [](const ::testing::TestParamInfo<FontSizeCase>& info) {
      return testutil::CaseName(info.param.text) + (info.param.ok ? "_accepted" : "_refused");
    });

}  // namespace
}  // namespace velorin
