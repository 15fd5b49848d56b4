#include "formats/markup_escape.h"

#include <gtest/gtest.h>

#include "support/string_sink.h"

namespace velorin {
namespace {

struct EscapeCase {
  const char* name;
  std::string text;
  std::string written;
};

void PrintTo(const EscapeCase& c, std::ostream* out) { *out << c.name; }

std::string CaseName(const ::testing::TestParamInfo<EscapeCase>& info) { return info.param.name; }

class XmlTextTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(XmlTextTest, WritesWhatAnXmlParserGivesBack) {
  testing::StringSink sink;
  BufferedWriter out(sink);
  AppendXmlText(out, GetParam().text);
  out.Close();
  EXPECT_EQ(sink.bytes, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, XmlTextTest,
    ::testing::Values(EscapeCase{"Plain", "Tokyo Tower", "Tokyo Tower"},
                      EscapeCase{"Markup", "<b>&\"'", "&lt;b&gt;&amp;&quot;&apos;"},
                      EscapeCase{"CdataEnd", "]]>", "]]&gt;"},
                      EscapeCase{"TabLineBreaks", "a\tb\r\nc", "a&#9;b&#13;&#10;c"},
                      EscapeCase{"Utf8StaysAsItIs", "東京", "東京"}),
    CaseName);

class CsvFieldTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
  testing::StringSink sink;
  BufferedWriter out(sink);
  AppendCsvField(out, GetParam().text);
  out.Close();
  EXPECT_EQ(sink.bytes, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvFieldTest,
    ::testing::Values(EscapeCase{"Plain", "Tokyo Tower", "Tokyo Tower"},
                      EscapeCase{"Empty", "", ""},
                      EscapeCase{"Comma", "Shiba, Minato", "\"Shiba, Minato\""},
                      EscapeCase{"Quotes", "the \"Tower\"", "\"the \"\"Tower\"\"\""},
                      EscapeCase{"LineBreak", "a\nb", "\"a\nb\""},
                      EscapeCase{"LeadingBlank", " a", "\" a\""},
                      EscapeCase{"Semicolon", "a;b", "a;b"}),
    CaseName);

class JsonStringTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonStringTest, EscapesWhatJsonNeedsAndKeepsTheRest) {
  testing::StringSink sink;
  BufferedWriter out(sink);
  AppendJsonString(out, GetParam().text);
  out.Close();
  EXPECT_EQ(sink.bytes, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonStringTest,
    ::testing::Values(EscapeCase{"Plain", "Tokyo Tower", "\"Tokyo Tower\""},
                      EscapeCase{"Empty", "", "\"\""},
                      EscapeCase{"QuoteAndBackslash", "a \"b\" \\c", "\"a \\\"b\\\" \\\\c\""},
                      EscapeCase{"ShortEscapes", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
                      EscapeCase{"OtherControls", std::string("\0\x01\x1f\x7f", 4),
                                 "\"\\u0000\\u0001\\u001f\x7f\""},
                      EscapeCase{"SlashAndMarkupStay", "</a> & '", "\"</a> & '\""},
                      EscapeCase{"Utf8StaysAsItIs", "東京 🗼", "\"東京 🗼\""}),
    CaseName);

}  // namespace
}  // namespace velorin
