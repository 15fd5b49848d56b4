// The formats the window converts come from the format table, and the
// window's pages name every one of them.
#include "window/window_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "text/cp932_decoder.h"

namespace velorin {
namespace {

using F = PointFormat;

TEST(WindowInputFormats, EveryFormatReadButTheOutput) {
  EXPECT_EQ(WindowOutputFormat(), F::kNvi);
  std::vector<PointFormat> expected;
  std::vector<std::string_view> names;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeReader == nullptr || info.format == F::kNvi) continue;
    expected.push_back(info.format);
    names.push_back(info.displayName);
  }
  EXPECT_EQ(WindowInputFormats(), expected);
  EXPECT_EQ(WindowInputFormatNames(), ListedNames(names));
  const std::vector<PointFormat> withNvi = WindowInputFormats(F::kGpx);
  EXPECT_NE(std::find(withNvi.begin(), withNvi.end(), F::kNvi), withNvi.end());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// A page of the window and the part of it that lists the formats read.
struct PageCase {
  const char* name;
  std::string (*part)();
};

void PrintTo(const PageCase& c, std::ostream* out) { *out << c.name; }

std::string ManPageName() {
  const std::string page = ReadFile(std::string(VELORIN_DOCS_DIR) + "/man/velorin.1");
  const std::size_t name = page.find(".SH NAME\n") + 9;
  return page.substr(name, page.find('\n', name) - name);
}

/// Section 1 of a help file, up to its second section.
std::string HelpIntroduction(const char* file) {
  const std::string help = Cp932ToUtf8(ReadFile(std::string(VELORIN_DATA_DIR) + "/" + file));
  return help.substr(0, help.find("\r\n2. "));
}
std::string EnglishHelp() { return HelpIntroduction("velorin_hlp_e.txt"); }
std::string JapaneseHelp() { return HelpIntroduction("velorin_hlp_j.txt"); }

class WindowPageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(WindowPageTest, NamesEveryFormatRead) {
  const std::string part = GetParam().part();
  ASSERT_FALSE(part.empty());
  for (const PointFormat format : WindowInputFormats()) {
    EXPECT_NE(part.find(DisplayName(format)), std::string::npos)
        << DisplayName(format) << " in " << part;
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, WindowPageTest,
                         ::testing::Values(PageCase{"ManPageName", &ManPageName},
                                           PageCase{"EnglishHelp", &EnglishHelp},
                                           PageCase{"JapaneseHelp", &JapaneseHelp}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
