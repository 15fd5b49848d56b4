// The format lists of the man page and the docs against the format table:
// a format added to the table (or an extension, or one that stops being
// written) fails here until the pages say so too.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "cli/format_help.h"
#include "formats/format_table.h"

namespace velorin {
namespace {

std::string ReadDoc(const std::string& name) {
  std::ifstream in(std::string(VELORIN_DOCS_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// The names in bold of the first ".BR" line after `marker`: the list of
/// an option's values (".BR pot ", " nvi " or " gpx ."), the quoted
/// arguments between them in roman.
std::vector<std::string> ManPageList(const std::string& page, const std::string& marker) {
  const std::size_t at = page.find(marker + "\n");
  if (at == std::string::npos) return {};
  const std::size_t line = page.find("\n.BR ", at) + 5;
  // The quoted separators out, the names stay.
  const std::string list = std::regex_replace(page.substr(line, page.find('\n', line) - line),
                                              std::regex("\"[^\"]*\""), " ");
  const std::regex name("[a-z]+");
  std::vector<std::string> names;
  for (auto it = std::sregex_iterator(list.begin(), list.end(), name); it != std::sregex_iterator();
       ++it) {
    names.push_back(it->str());
  }
  return names;
}

struct ListCase {
  const char* name;
  const char* marker;
  bool written;
};

void PrintTo(const ListCase& c, std::ostream* out) { *out << c.name; }

class ManPageListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ManPageListTest, NamesTheFormatsOfTheTable) {
  EXPECT_EQ(ManPageList(ReadDoc("man/velorin-cli.1"), GetParam().marker),
            FormatOptionNames(GetParam().written));
}

INSTANTIATE_TEST_SUITE_P(Options, ManPageListTest,
                         ::testing::Values(ListCase{"From", ".BI \\-\\-from= FORMAT", false},
                                           ListCase{"To", ".BI \\-\\-to= FORMAT", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every extension the table knows besides the format's name (".tsv",
// ".json") is named in the man page; the names are in the lists above.
TEST(ManPage, NamesEveryFurtherExtension) {
  const std::string page = ReadDoc("man/velorin-cli.1");
  for (const FormatInfo& info : PointFormats()) {
    for (const std::string_view extension : ExtensionsOf(info, false)) {
      if (extension == "." + std::string(info.name)) continue;
      EXPECT_TRUE(std::regex_search(page, std::regex("\\" + std::string(extension) + "\\b")))
          << extension;
    }
  }
}

TEST(ManPage, NameLineNamesEveryFormat) {
  const std::string page = ReadDoc("man/velorin-cli.1");
  const std::size_t name = page.find(".SH NAME\n");
  const std::string line = page.substr(name + 9, page.find('\n', name + 9) - name - 9);
  for (const FormatInfo& info : PointFormats()) {
    EXPECT_NE(line.find(info.displayName), std::string::npos) << info.displayName;
  }
}

/// One row of the table of docs/formats.md.
struct DocRow {
  bool read = false;
  bool written = false;
  std::set<std::string> extensions;
  std::set<std::string> readOnly;
};

/// "| `gpx` | yes | yes | `.gpx` | ...": the rows by format name.
std::map<std::string, DocRow> FormatsPageRows(const std::string& page) {
  const std::regex row("\\n\\| `([a-z]+)` \\| (yes|no) \\| (yes|no) \\| ([^|]*) \\|");
  const std::regex extension("`(\\.[a-z.]+)`( \\(read only\\))?");
  std::map<std::string, DocRow> rows;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), row); it != std::sregex_iterator();
       ++it) {
    DocRow& doc = rows[(*it)[1]];
    doc.read = (*it)[2] == "yes";
    doc.written = (*it)[3] == "yes";
    const std::string cell = (*it)[4];
    for (auto e = std::sregex_iterator(cell.begin(), cell.end(), extension);
         e != std::sregex_iterator(); ++e) {
      ((*e)[2].matched ? doc.readOnly : doc.extensions).insert((*e)[1]);
    }
  }
  return rows;
}

std::set<std::string> Strings(const std::vector<std::string_view>& views) {
  return std::set<std::string>(views.begin(), views.end());
}

TEST(FormatsPage, HasARowForEveryFormatOfTheTable) {
  const std::map<std::string, DocRow> rows = FormatsPageRows(ReadDoc("formats.md"));
  EXPECT_EQ(rows.size(), PointFormats().size());
  for (const FormatInfo& info : PointFormats()) {
    const auto row = rows.find(std::string(info.name));
    ASSERT_NE(row, rows.end()) << info.name;
    const DocRow& doc = row->second;
    // A build without the XML readers reads fewer formats than the page,
    // which tells of a whole build.
    if (VELORIN_XML_READERS) {
      EXPECT_EQ(doc.read, info.makeReader != nullptr) << info.name;
    }
    EXPECT_EQ(doc.written, info.makeWriter != nullptr) << info.name;
    EXPECT_EQ(doc.extensions, Strings(ExtensionsOf(info, true))) << info.name;
    std::set<std::string> readOnly = Strings(ExtensionsOf(info, false));
    for (const std::string& written : doc.extensions) readOnly.erase(written);
    EXPECT_EQ(doc.readOnly, readOnly) << info.name;
  }
}

// "`--from=FMT` / `--to=FMT` (`pot`, `nvi`, `kmz` read only, `csv`; ...)":
// every name, and those read only.
TEST(CommandLinePage, FromAndToNameTheFormatsOfTheTable) {
  const std::string page = ReadDoc("command-line.md");
  const std::string marker = "`--from=FMT` / `--to=FMT` (";
  const std::size_t at = page.find(marker) + marker.size();
  const std::string list = page.substr(at, page.find(';', at) - at);
  std::vector<std::string> names;
  std::vector<std::string> notWritten;
  const std::regex name("`([a-z]+)`( read only)?");
  for (auto it = std::sregex_iterator(list.begin(), list.end(), name); it != std::sregex_iterator();
       ++it) {
    names.push_back((*it)[1]);
    if ((*it)[2].matched) notWritten.push_back((*it)[1]);
  }
  EXPECT_EQ(names, FormatOptionNames(false));
  std::vector<std::string> readOnly;
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeWriter == nullptr) readOnly.emplace_back(info.name);
  }
  EXPECT_EQ(notWritten, readOnly);
}

}  // namespace
}  // namespace velorin
