// The encoding of a POT file chosen at its first bytes beyond ASCII,
// wherever they come: early, cut by the end of the first 64 KiB, just past
// them or far on, through buffers and reads of every size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/pot_reader.h"
#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

struct LateCase {
  const char* name;
  std::string late;   ///< the title whose first byte beyond ASCII lands at the offsets tried
  std::string after;  ///< point lines after that one
  std::vector<std::string> titles;  ///< of that line and those after, in UTF-8 ("*": approximated)
  TextEncoding named;
};

void PrintTo(const LateCase& c, std::ostream* out) { *out << c.name; }

constexpr std::string_view kPlace = "/kei=139'0'0'0/ido=35'0'0'0\r\n";

/// ASCII point lines up to `offset`, then the late title's line and `after`.
std::string FileWithLateLine(const LateCase& c, std::size_t offset, std::size_t& asciiLines) {
  const std::string line = "ORD=POI/tex=P" + std::string(kPlace);
  const std::string start = "ORD=POI/tex=";
  std::size_t prefix = 0;  // ASCII of the title before its late byte
  while (static_cast<unsigned char>(c.late[prefix]) < 0x80) ++prefix;
  const std::size_t room = offset - start.size() - prefix;
  asciiLines = room / line.size();
  // The first line is padded so that the late byte lands at `offset`.
  std::string file =
      start + std::string(room - asciiLines * line.size() + 1, 'P') + std::string(kPlace);
  for (std::size_t i = 1; i < asciiLines; ++i) file += line;
  EXPECT_EQ(file.size() + start.size() + prefix, offset);
  return file + start + c.late + std::string(kPlace) + c.after;
}

class PotLateEncodingTest : public ::testing::TestWithParam<LateCase> {};

TEST_P(PotLateEncodingTest, DecidesAtTheFirstBytesBeyondAscii) {
  const LateCase& c = GetParam();
  constexpr std::size_t kHead = kEncodingSniffBytes;
  for (const std::size_t offset : {std::size_t{100}, kHead - 1, kHead, 3 * kHead + 17}) {
    std::size_t asciiLines = 0;
    const std::string file = FileWithLateLine(c, offset, asciiLines);
    for (const std::size_t bufferSize : {std::size_t{1} << 16, std::size_t{61}}) {
      for (const std::size_t chunk : {std::size_t{0}, std::size_t{7}}) {
        SCOPED_TRACE("offset " + std::to_string(offset) + ", buffer " + std::to_string(bufferSize) +
                     ", chunk " + std::to_string(chunk));
        testing::MemorySource source(file, chunk);
        ReaderOptions options;
        options.bufferSize = bufferSize;
        PotReader reader(source, options);
        const std::vector<std::string> entries = testing::ReadAll(reader);
        ASSERT_EQ(entries.size(), asciiLines + c.titles.size());
        for (std::size_t i = 0; i < c.titles.size(); ++i) {
          const std::string& entry = entries[asciiLines + i];
          // "LINE title 139 35": the title alone.
          const std::size_t begin = entry.find(' ') + 1;
          EXPECT_EQ(entry.substr(begin, entry.size() - begin - 7), c.titles[i]) << entry;
        }
        EXPECT_EQ(reader.textEncoding(), c.named);
        EXPECT_TRUE(reader.textBeyondAscii());
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, PotLateEncodingTest,
    ::testing::Values(
        LateCase{"Utf8", "東京タワー", "", {"東京タワー"}, TextEncoding::kUtf8},
        LateCase{"Cp932", "\x93\x8C\x8B\x9E", "", {"東京"}, TextEncoding::kCp932},
        LateCase{"AccentedUtf8",
                 "Café",
                 "ORD=POI/tex=B" + std::string(kPlace),
                 {"Cafe*", "B"},
                 TextEncoding::kUtf8},
        // Valid UTF-8 ("ýýý") that is three half-width katakana in CP932.
        LateCase{
            "KatakanaRunIsCp932", "\xC3\xBD\xC3\xBD\xC3\xBD", "", {"ﾃｽﾃｽﾃｽ"}, TextEncoding::kCp932},
        // The line that decides is judged with what follows it.
        LateCase{"BytesAfterTheLineJudgedToo",
                 "\xC3\xA9",
                 "ORD=POI/tex=\x93\x8C" + std::string(kPlace),
                 {"ﾃｩ", "東"},
                 TextEncoding::kCp932}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
