// The input's encoding: chosen once per file, UTF-8 lines converted to CP932
// before they are parsed, so that titles reach the NVI file in CP932.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "memory_run.h"

namespace velorin::testing {
namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kTokyoUtf8 = "\xE6\x9D\xB1\xE4\xBA\xAC";  // 東京
const std::string kTokyoCp932 = "\x93\x8C\x8B\x9E";
const std::string kEmoji = "\xF0\x9F\x98\x80";  // nothing CP932 holds comes close

struct EncodingCase {
  const char* name;
  std::optional<TextEncoding> choice;
  std::string input;
  TextEncoding encoding;
  std::vector<std::string> titles;  ///< of the blocks written, in CP932
  std::vector<std::int64_t> notUtf8Lines;
  std::int32_t titlesReplaced;
  std::int32_t titlesUnshowable;
};

/// A POT line for the point (135, 35) titled `title`.
std::string PointLine(const std::string& title) {
  return "ORD=POI/tex=" + title + "/kei=135'0'0'0/ido=35'0'0'0";
}

void PrintTo(const EncodingCase& c, std::ostream* out) { *out << c.name; }

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

/// Lines that are no point lines, in UTF-8 with Japanese, `count` of them.
std::string Filler(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "memo " + kTokyoUtf8 + "\r\n";
  return text;
}

class ChoiceRecorder : public RunObserver {
 public:
  void OnSkipped(const ReadEntry& entry, SkipKind, std::string_view reason) override {
    const std::int64_t line = entry.point.line;
    if (reason == "not valid UTF-8") notUtf8.push_back(line);
  }
  void OnTitleChanged(const Point& point, TitleChange change) override {
    (change == TitleChange::kUnshowable ? unshowable : replaced).push_back(point.line);
  }
  std::vector<std::int64_t> notUtf8;
  std::vector<std::int64_t> replaced;
  std::vector<std::int64_t> unshowable;
};

class RunEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(RunEncodingTest, TitlesReachTheNviFileInCp932) {
  const EncodingCase& c = GetParam();
  MemoryRun run;
  run.files.AddFile("/in.pot", c.input);
  run.files.AddFolder("/out");
  ChoiceRecorder observer;
  const RunOutcome outcome = run.Run({.inputs = {{"/in.pot", PointFormat::kPot}},
                                      .observer = &observer,
                                      .inputEncoding = c.choice});
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.inputEncoding, c.encoding);
  EXPECT_EQ(run.NviTitles(), c.titles);
  EXPECT_EQ(observer.notUtf8, c.notUtf8Lines);
  EXPECT_EQ(outcome.titles.replaced, c.titlesReplaced);
  EXPECT_EQ(observer.replaced.size(), static_cast<std::size_t>(c.titlesReplaced));
  EXPECT_EQ(outcome.titles.unshowable, c.titlesUnshowable);
  EXPECT_EQ(observer.unshowable.size(), static_cast<std::size_t>(c.titlesUnshowable));
}

INSTANTIATE_TEST_SUITE_P(
    Table, RunEncodingTest,
    ::testing::Values(EncodingCase{"Cp932StaysByteForByte",
                                   std::nullopt,
                                   Lines({PointLine(kTokyoCp932), PointLine("\x81\x60\x87\x40")}),
                                   TextEncoding::kCp932,
                                   {kTokyoCp932, "\x81\x60\x87\x40"},
                                   {},
                                   0,
                                   0},
                      EncodingCase{"AsciiIsReadAsCp932",
                                   std::nullopt,
                                   Lines({PointLine("Tower")}),
                                   TextEncoding::kCp932,
                                   {"Tower"},
                                   {},
                                   0,
                                   0},
                      EncodingCase{"Utf8WithJapanese",
                                   std::nullopt,
                                   Lines({PointLine(kTokyoUtf8), PointLine("A")}),
                                   TextEncoding::kUtf8,
                                   {kTokyoCp932, "A"},
                                   {},
                                   0,
                                   0},
                      // The mark is dropped: the first line is a point line again.
                      EncodingCase{"Utf8ByteOrderMark",
                                   std::nullopt,
                                   kBom + Lines({PointLine("A")}),
                                   TextEncoding::kUtf8,
                                   {"A"},
                                   {},
                                   0,
                                   0},
                      EncodingCase{"Utf8ByteOrderMarkToldUtf8",
                                   TextEncoding::kUtf8,
                                   kBom + Lines({PointLine("A")}),
                                   TextEncoding::kUtf8,
                                   {"A"},
                                   {},
                                   0,
                                   0},
                      // A character CP932 lacks never costs the point.
                      EncodingCase{"CharacterCp932Lacks",
                                   std::nullopt,
                                   Lines({PointLine(kTokyoUtf8 + kEmoji), PointLine("B")}),
                                   TextEncoding::kUtf8,
                                   {kTokyoCp932 + "?", "B"},
                                   {},
                                   1,
                                   0},
                      // Nothing CP932 shows is left: counted apart.
                      EncodingCase{"TitleCp932CannotShowAtAll",
                                   std::nullopt,
                                   Lines({PointLine(kEmoji + " " + kEmoji), PointLine("B")}),
                                   TextEncoding::kUtf8,
                                   {"? ?", "B"},
                                   {},
                                   0,
                                   1},
                      // Only the title counts as changed: elsewhere the line is not written.
                      EncodingCase{"ReplacementOutsideTheTitle",
                                   std::nullopt,
                                   Lines({PointLine(kTokyoUtf8) + "/memo=" + kEmoji}),
                                   TextEncoding::kUtf8,
                                   {kTokyoCp932},
                                   {},
                                   0,
                                   0},
                      // The choice looks at the first 64 KiB only; a bad line after them
                      // is skipped, not taken for CP932.
                      EncodingCase{"InvalidLineAfterTheStartIsSkipped",
                                   std::nullopt,
                                   Filler(6000) + Lines({PointLine(kTokyoUtf8), PointLine("\xFF"),
                                                         PointLine("C")}),
                                   TextEncoding::kUtf8,
                                   {kTokyoCp932, "C"},
                                   {6002},
                                   0,
                                   0},
                      EncodingCase{"InvalidStartMeansCp932",
                                   std::nullopt,
                                   Lines({PointLine(kTokyoUtf8), PointLine("\xFF")}),
                                   TextEncoding::kCp932,
                                   {kTokyoUtf8, "\xFF"},
                                   {},
                                   0,
                                   0},
                      EncodingCase{"InvalidLineOfAFileToldUtf8IsSkipped",
                                   TextEncoding::kUtf8,
                                   Lines({PointLine("A"), PointLine("\xFF"), PointLine("C")}),
                                   TextEncoding::kUtf8,
                                   {"A", "C"},
                                   {2},
                                   0,
                                   0},
                      EncodingCase{"ToldCp932KeepsUtf8Bytes",
                                   TextEncoding::kCp932,
                                   Lines({PointLine(kTokyoUtf8)}),
                                   TextEncoding::kCp932,
                                   {kTokyoUtf8},
                                   {},
                                   0,
                                   0},
                      EncodingCase{"ToldUtf8SkipsCp932Lines",
                                   TextEncoding::kUtf8,
                                   Lines({PointLine(kTokyoCp932), PointLine("D")}),
                                   TextEncoding::kUtf8,
                                   {"D"},
                                   {1},
                                   0,
                                   0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunEncoding, Utf8LogHoldsCp932) {
  MemoryRun run;
  run.files.AddFile("/in.pot", PointLine(kTokyoUtf8) + "\r\n");
  run.files.AddFolder("/out");
  run.Run({.inputs = {{"/in.pot", PointFormat::kPot}}, .logPath = "/out/log.txt"});
  EXPECT_EQ(run.files.Contents("/out/log.txt"),
            "Line# 1\t" + kTokyoCp932 + "\t135'0'0'0\t35'0'0'0\t$13D5FD5FD5FD4C00\r\n");
}

}  // namespace
}  // namespace velorin::testing
