// The file dialogs' filters: the patterns that stand for formats become the
// table's extensions, every other pair stays as the message file writes it,
// and the shipped messages offer every format the window reads.
#include "window/dialog_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "text/cp932_decoder.h"
#include "window/window_formats.h"

namespace velorin {
namespace {

using F = PointFormat;

struct FilterCase {
  const char* name;
  const char* message;
  std::vector<PointFormat> formats;
  bool written;
  const char* filter;
};

class DialogFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(DialogFilterTest, MakesTheFilter) {
  const FilterCase& c = GetParam();
  EXPECT_EQ(DialogFilter(c.message, c.formats, c.written), c.filter);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, DialogFilterTest,
    ::testing::Values(
        FilterCase{"PatternsOfItsOwnStay",
                   "POT (*.pot)|*.pot|All files (*.*)|*.*",
                   {F::kGpx},
                   false,
                   "POT (*.pot)|*.pot|All files (*.*)|*.*"},
        FilterCase{"NoBarStays", "M42", {F::kGpx}, false, "M42"},
        FilterCase{"EmptyStays", "", {F::kGpx}, false, ""},
        FilterCase{"PatternWithoutDescriptionStays",
                   "POT|*.pot|*.txt",
                   {F::kGpx},
                   false,
                   "POT|*.pot|*.txt"},
        FilterCase{"EmptyPartsStay", "a||b|", {F::kGpx}, false, "a||b|"},
        FilterCase{"EveryFormatInOnePair",
                   "Point files|{point files}",
                   {F::kPot, F::kCsv},
                   false,
                   "Point files (*.pot;*.csv;*.tsv)|*.pot;*.csv;*.tsv"},
        FilterCase{"OnePairEachNamed",
                   "{format} files|{each format}|All|*.*",
                   {F::kGpx, F::kGeoJson},
                   false,
                   "GPX files (*.gpx)|*.gpx|GeoJSON files (*.geojson;*.json)|*.geojson;*.json|"
                   "All|*.*"},
        FilterCase{"WrittenLeavesReadOnlyExtensions",
                   "{format}|{each format}",
                   {F::kCsv},
                   true,
                   "CSV (*.csv)|*.csv"},
        FilterCase{"DescriptionWithoutName",
                   "Files|{each format}",
                   {F::kPot, F::kNvi},
                   false,
                   "Files (*.pot)|*.pot|Files (*.nvi)|*.nvi"},
        FilterCase{
            "NoFormatsLeaveTheOtherPairs", "{format}|{each format}|All|*.*", {}, false, "All|*.*"},
        FilterCase{"NoFormatsInOnePair", "Point files|{point files}|All|*.*", {}, false, "All|*.*"},
        FilterCase{"MarkerAsDescriptionIsText",
                   "{each format}|*.x",
                   {F::kGpx},
                   false,
                   "{each format}|*.x"}),
    [](const auto& info) { return std::string(info.param.name); });

/// Message `number` of a shipped message file, in UTF-8 as the window has it.
std::string ShippedMessage(const char* file, std::size_t number) {
  std::ifstream in(std::string(VELORIN_DATA_DIR) + "/" + file, std::ios::binary);
  std::string line;
  for (std::size_t i = 0; i <= number && std::getline(in, line); ++i) {
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return Cp932ToUtf8(line);
}

class ShippedFilterTest : public ::testing::TestWithParam<const char*> {};

/// The filter's pairs, "description|pattern" each.
std::vector<std::pair<std::string, std::string>> PairsOf(const std::string& filter) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::size_t from = 0;
  while (from < filter.size()) {
    const std::size_t bar = filter.find('|', from);
    const std::size_t end = std::min(filter.find('|', bar + 1), filter.size());
    pairs.emplace_back(filter.substr(from, bar - from), filter.substr(bar + 1, end - bar - 1));
    from = end + 1;
  }
  return pairs;
}

TEST_P(ShippedFilterTest, InputOffersEveryExtensionRead) {
  const std::vector<PointFormat> formats = WindowInputFormats();
  const auto pairs = PairsOf(DialogFilter(ShippedMessage(GetParam(), 42), formats, false));
  // Every point file at once, then one pair a format whose description
  // begins with its name, then every file.
  ASSERT_EQ(pairs.size(), formats.size() + 2);
  std::string all;
  for (std::size_t i = 0; i < formats.size(); ++i) {
    std::string patterns;
    for (const std::string_view extension : ExtensionsOf(InfoOf(formats[i]), false)) {
      patterns += (patterns.empty() ? "*" : ";*") + std::string(extension);
    }
    all += (all.empty() ? "" : ";") + patterns;
    const auto& [description, pattern] = pairs[i + 1];
    EXPECT_EQ(pattern, patterns);
    EXPECT_EQ(description.find(DisplayName(formats[i])), 0u) << description;
    EXPECT_TRUE(description.ends_with(" (" + patterns + ")")) << description;
  }
  EXPECT_EQ(pairs.front().second, all);
  EXPECT_TRUE(pairs.front().first.ends_with(" (" + all + ")")) << pairs.front().first;
  EXPECT_EQ(all.find("*.nvi"), std::string::npos) << "the window's output is not offered";
  EXPECT_EQ(pairs.back().second, "*.*");
}

TEST_P(ShippedFilterTest, InputCaptionNamesEveryFormatRead) {
  const std::string caption = ShippedMessage(GetParam(), 30);
  for (const PointFormat format : WindowInputFormats()) {
    EXPECT_NE(caption.find(DisplayName(format)), std::string::npos) << caption;
  }
}

TEST_P(ShippedFilterTest, OutputOffersTheOutput) {
  const PointFormat output = F::kNvi;
  const std::string filter = DialogFilter(ShippedMessage(GetParam(), 47), {&output, 1}, true);
  EXPECT_EQ(filter.find("NVI"), 0u) << filter;
  EXPECT_NE(filter.find(" (*.nvi)|*.nvi|"), std::string::npos) << filter;
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedFilterTest,
                         ::testing::Values("velorin_e.msg", "velorin_j.msg"), [](const auto& info) {
                           return std::string(info.param).substr(0, 9) == "velorin_e"
                                      ? std::string("English")
                                      : std::string("Japanese");
                         });

}  // namespace
}  // namespace velorin
