#include "formats/xml_external_doctype.h"

#include <gtest/gtest.h>

namespace velorin {
namespace {

struct DoctypeCase {
  const char* name;
  std::string head;
  std::optional<ByteSpan> span;

  friend void PrintTo(const DoctypeCase& c, std::ostream* out) { *out << c.name; }
};

class ExternalDoctypeTest : public ::testing::TestWithParam<DoctypeCase> {};

TEST_P(ExternalDoctypeTest, FindsOnlyADeclarationNamingAnExternalDtd) {
  EXPECT_EQ(FindExternalDoctype(GetParam().head), GetParam().span);
}

INSTANTIATE_TEST_SUITE_P(
    Heads, ExternalDoctypeTest,
    ::testing::Values(
        DoctypeCase{"System", "<!DOCTYPE gpx SYSTEM \"gpx.dtd\"><gpx/>", ByteSpan{0, 31}},
        DoctypeCase{"Public", "<!DOCTYPE kml PUBLIC \"-//x\" 'k.dtd' ><kml/>", ByteSpan{0, 37}},
        DoctypeCase{"AfterDeclarationCommentAndInstruction",
                    "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- a > b -->\n<?pi x?>"
                    "<!DOCTYPE\ngpx\nSYSTEM\n\"a>b.dtd\"\n>",
                    ByteSpan{48, 80}},
        DoctypeCase{"InternalSubset", "<!DOCTYPE gpx [<!ENTITY a \"b\">]><gpx/>", std::nullopt},
        DoctypeCase{"ExternalAndInternalSubset", "<!DOCTYPE gpx SYSTEM \"g.dtd\" [ ]><gpx/>",
                    std::nullopt},
        DoctypeCase{"NoExternalIdentifier", "<!DOCTYPE gpx><gpx/>", std::nullopt},
        DoctypeCase{"PublicWithoutSystemLiteral", "<!DOCTYPE gpx PUBLIC \"-//x\"><gpx/>",
                    std::nullopt},
        DoctypeCase{"UnquotedLiteral", "<!DOCTYPE gpx SYSTEM gpx.dtd><gpx/>", std::nullopt},
        DoctypeCase{"CutOffInTheLiteral", "<!DOCTYPE gpx SYSTEM \"gpx.d", std::nullopt},
        DoctypeCase{"CutOffBeforeTheEnd", "<!DOCTYPE gpx SYSTEM \"gpx.dtd\"", std::nullopt},
        DoctypeCase{"CommentNeverEnds", "<!-- <!DOCTYPE gpx SYSTEM \"g.dtd\">", std::nullopt},
        DoctypeCase{"AfterTheDocumentElement", "<gpx/><!DOCTYPE gpx SYSTEM \"g.dtd\">",
                    std::nullopt},
        DoctypeCase{"LowerCaseKeyword", "<!doctype gpx SYSTEM \"g.dtd\"><gpx/>", std::nullopt},
        DoctypeCase{"Utf16", std::string("<\0!\0D\0", 6), std::nullopt},
        DoctypeCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExternalDoctypeTest, BlankingKeepsTheLineEnds) {
  std::string text = "a<!DOCTYPE\r\ngpx\nSYSTEM 'x'>b";
  BlankOut(text, ByteSpan{1, 27});
  EXPECT_EQ(text, "a         \r\n   \n           b");
}

}  // namespace
}  // namespace velorin
