#include "formats/xml_utf8_source.h"

#include <gtest/gtest.h>

#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Refusal = XmlUtf8Source::Refusal;

struct Utf8Case {
  const char* name;
  std::string document;
  std::string utf8;  ///< what comes out before the end or the refusal
  Refusal refusal = Refusal::kNone;
  std::int64_t refusalLine = 1;
};

void PrintTo(const Utf8Case& c, std::ostream* out) { *out << c.name; }

class XmlUtf8SourceTest : public ::testing::TestWithParam<Utf8Case> {};

// Read in pieces of 1 and 2 bytes as well, so that a two-byte CP932
// character and the declaration are split between reads.
TEST_P(XmlUtf8SourceTest, ConvertsOrRefuses) {
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{1}, std::size_t{2}}) {
    testing::MemorySource source(GetParam().document, chunk);
    XmlUtf8Source document(source);
    std::string out;
    char buffer[7];
    std::ptrdiff_t count = 0;
    while ((count = document.Read(buffer, sizeof buffer)) > 0) {
      out.append(buffer, static_cast<std::size_t>(count));
    }
    EXPECT_EQ(out, GetParam().utf8) << "chunk " << chunk;
    EXPECT_EQ(count < 0, GetParam().refusal != Refusal::kNone) << "chunk " << chunk;
    EXPECT_EQ(document.refusal(), GetParam().refusal) << "chunk " << chunk;
    if (GetParam().refusal != Refusal::kNone) {
      EXPECT_EQ(document.refusalLine(), GetParam().refusalLine) << "chunk " << chunk;
    }
  }
}

const std::string kShiftJisHead = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n";
const std::string kUtf8Head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlUtf8SourceTest,
    ::testing::Values(
        Utf8Case{"NoDeclaration", "<gpx>\xE6\x9D\xB1</gpx>", "<gpx>\xE6\x9D\xB1</gpx>"},
        Utf8Case{"Empty", "", ""},
        Utf8Case{"Utf8Declared", kUtf8Head + "<gpx/>", kUtf8Head + "<gpx/>"},
        Utf8Case{"Utf16PassesAsItIs", std::string("\xFF\xFE<\0g\0/\0>\0", 10),
                 std::string("\xFF\xFE<\0g\0/\0>\0", 10)},
        Utf8Case{"Latin1", "<?xml version='1.0' encoding='iso-8859-1'?><a>\xA7\xFF</a>",
                 "<?xml version='1.0' encoding='UTF-8'?><a>\xC2\xA7\xC3\xBF</a>"},
        Utf8Case{"ShiftJis", kShiftJisHead + "<a>\x93\x8C\x8B\x9E \xB1</a>",
                 kUtf8Head + "<a>東京 ｱ</a>"},
        Utf8Case{"Cp932NameWithBlanksAroundTheEqualsSign",
                 "<?xml version=\"1.0\" encoding = \"CP932\" ?><a>\x81\x60</a>",
                 "<?xml version=\"1.0\" encoding = \"UTF-8\" ?><a>～</a>"},
        Utf8Case{"InvalidShiftJisAfterGoodLines",
                 kShiftJisHead + "<a>\x93\x8C</a>\n<b>\x81\x20</b>", kUtf8Head + "<a>東</a>\n<b>",
                 Refusal::kInvalidBytes, 3},
        Utf8Case{"LeadByteAtTheEnd", kShiftJisHead + "<a/>\x93", kUtf8Head + "<a/>",
                 Refusal::kInvalidBytes, 2},
        Utf8Case{"UnknownEncoding", "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>\n<gpx/>", "",
                 Refusal::kUnknownEncoding, 1},
        Utf8Case{"EncodingOutsideTheDeclarationIsText",
                 "<?xml version=\"1.0\"?><a encoding=\"EUC-JP\"/>",
                 "<?xml version=\"1.0\"?><a encoding=\"EUC-JP\"/>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmlUtf8SourceTest, UnknownEncodingIsNamed) {
  testing::MemorySource source("<?xml version=\"1.0\" encoding=\"EUC-JP\"?><a/>");
  XmlUtf8Source document(source);
  char buffer[64];
  EXPECT_EQ(document.Read(buffer, sizeof buffer), -1);
  EXPECT_EQ(document.encoding(), "EUC-JP");
}

TEST(XmlUtf8SourceTest, ReadErrorIsTheSources) {
  testing::MemorySource source(kShiftJisHead + "<a/>");
  source.FailAfter(10);
  XmlUtf8Source document(source);
  char buffer[64];
  EXPECT_EQ(document.Read(buffer, sizeof buffer), -1);
  EXPECT_EQ(document.refusal(), Refusal::kNone);
  EXPECT_EQ(document.error(), std::errc::io_error);
}

}  // namespace
}  // namespace velorin
