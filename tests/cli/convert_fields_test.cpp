// A point's further texts through whole conversions: where they land in
// each output, what the summary says of those an output has no place for,
// the NVI fields on request, and a chain of formats that keeps what each
// can hold.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

const std::string kSavedPlaces =
    "{\"type\": \"FeatureCollection\", \"features\": [{\"geometry\": {\"coordinates\": "
    "[139.745433, 35.658581], \"type\": \"Point\"}, \"properties\": {\"date\": "
    "\"2024-05-01T10:00:00Z\", \"google_maps_url\": \"https://maps.example.com/?cid=1\", "
    "\"location\": {\"address\": \"1-2-3 Example-cho, Minato\", \"country_code\": \"JP\", "
    "\"name\": \"Tower\"}}, \"type\": \"Feature\"}]}\n";

const std::string kShop =
    "{\"type\": \"FeatureCollection\", \"features\": [{\"type\": \"Feature\", \"properties\": "
    "{\"name\": \"Shop\", \"description\": \"Bakery {fresh}; open\", \"comment\": \"ask\", "
    "\"address\": \"1-2-3 Example-cho\", \"url\": \"https://example.com/\", \"phone\": \"03\", "
    "\"email\": \"info@example.com\"}, \"geometry\": {\"type\": \"Point\", \"coordinates\": "
    "[139.745433, 35.658581]}}]}\n";

std::string NviBlock(const std::string& title, const std::string& addr, const std::string& hpgl,
                     const std::string& mail, const std::string& comm) {
  return "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n $168733DF7E085B86;\n TTL= {" +
         title + "};\n CHAR = SJIS;\n ADDR = {" + addr + "};\n HPGL = {" + hpgl + "};\n MAIL = {" +
         mail + "};\n LNKF = {};\n COMM = {" + comm + "};\neoNPOIs@NRA\n";
}

struct FieldsRunCase {
  const char* name;
  std::string input;
  std::string output;  ///< the output's name, its extension the format
  std::optional<std::string> nviFields;
  int exitCode;
  std::string written;   ///< the output's bytes; empty: not compared
  std::string messages;  ///< standard error but the line naming the output
};

void PrintTo(const FieldsRunCase& c, std::ostream* out) { *out << c.name; }

class FieldsRunTest : public ::testing::TestWithParam<FieldsRunCase> {};

TEST_P(FieldsRunTest, TextsWhereTheOutputKeepsThemAndTheRestCounted) {
  const FieldsRunCase& c = GetParam();
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  WriteBytes(folder.PathOf("in.geojson"), c.input);
  ConvertOptions options;
  options.input = folder.PathOf("in.geojson");
  options.output = folder.PathOf(c.output);
  if (c.output.ends_with(".nvi")) options.timestamp = "2010/04/01 14:30:00";
  options.explain = true;
  if (c.nviFields) options.nviFields = ParseNviFieldList(*c.nviFields);
  std::ostringstream err;
  StdioFileSystem files;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertCommand(options, files, console), c.exitCode);
  // All but the line that names the output.
  std::string said = err.str();
  if (const std::size_t at = said.find(" written to "); at != std::string::npos) {
    const std::size_t start = said.rfind('\n', at);
    const std::size_t from = start == std::string::npos ? 0 : start + 1;
    said.erase(from, said.find('\n', at) + 1 - from);
  }
  EXPECT_EQ(said, c.messages);
  if (!c.written.empty()) {
    EXPECT_EQ(ReadBytes(folder.PathOf(c.output)), c.written);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, FieldsRunTest,
    ::testing::Values(
        FieldsRunCase{"SavedPlacesGiveAddrAndHpgl", kSavedPlaces, "out.nvi", "all", kExitDone,
                      NviBlock("Tower", "1-2-3 Example-cho, Minato",
                               "https://maps.example.com/?cid=1", "", ""),
                      ""},
        FieldsRunCase{"WithoutTheOptionEveryBlockIsAsEver", kSavedPlaces, "out.nvi", std::nullopt,
                      kExitDone, NviBlock("Tower", "", "", "", ""),
                      "velorin-cli: 1 address and 1 link not kept: NVI fills its fields only "
                      "with --nvi-fields\n"},
        FieldsRunCase{"OnlyTheFieldsAsked", kSavedPlaces, "out.nvi", "addr", kExitDone,
                      NviBlock("Tower", "1-2-3 Example-cho, Minato", "", "", ""),
                      "velorin-cli: 1 link not kept: their NVI fields were not asked for in "
                      "--nvi-fields\n"},
        FieldsRunCase{
            "NothingBreaksTheBlock", kShop, "out.nvi", "all", kExitDone,
            NviBlock("Shop", "1-2-3 Example-cho", "https://example.com/", "info@example.com",
                     "Bakery (fresh), open / ask / TEL 03"),
            "1: NVI fields made to fit the block: COMM: 3 braces, semicolons or line breaks "
            "replaced: Shop\n"
            "velorin-cli: 1 record with NVI fields made to fit the block (braces, semicolons "
            "and line breaks replaced, long texts cut)\n"},
        FieldsRunCase{"GpxHasNoPlaceForAnEmailAddress", kShop, "out.gpx", std::nullopt, kExitDone,
                      "", "velorin-cli: 1 e-mail address not kept: GPX has no place for them\n"},
        FieldsRunCase{"PotHasNoPlaceForAny", kShop, "out.pot", std::nullopt, kExitDone, "",
                      "velorin-cli: 1 description, 1 comment, 1 address, 1 link, 1 telephone "
                      "number and 1 e-mail address not kept: POT has no place for them\n"},
        FieldsRunCase{"NviFieldsForAnotherOutputIsAUsageError", kShop, "out.kml", "comm",
                      kExitUsage, "",
                      "velorin-cli: --nvi-fields applies to NVI output only (the output is "
                      "KML)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class FieldsChainTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  /// Converts `from` into `to` (names in the folder); standard error.
  std::string Convert(const std::string& from, const std::string& to,
                      std::optional<NviFieldSet> nviFields = std::nullopt) {
    ConvertOptions options;
    options.input = folder_.PathOf(from);
    options.output = folder_.PathOf(to);
    if (to.ends_with(".nvi")) options.timestamp = "2010/04/01 14:30:00";
    options.nviFields = nviFields;
    std::ostringstream err;
    StdioFileSystem files;
    ConvertConsole console{err};
    EXPECT_EQ(RunConvertCommand(options, files, console), kExitDone) << err.str();
    return err.str();
  }

  TempFolder folder_;
};

#if VELORIN_XML_READERS
TEST_F(FieldsChainTest, GeoJsonKmlGpxCsvGeoJsonKeepsWhatEachCanHold) {
  WriteBytes(folder_.PathOf("a.geojson"), kShop);
  Convert("a.geojson", "b.kml");
  // GPX holds all but the e-mail address, which the chain loses there.
  EXPECT_NE(Convert("b.kml", "c.gpx").find("1 e-mail address not kept"), std::string::npos);
  Convert("c.gpx", "d.csv");
  EXPECT_EQ(ReadBytes(folder_.PathOf("d.csv")),
            "name,latitude,longitude,description,comment,address,url,phone\r\n"
            "Shop,35.658581000,139.745433000,Bakery {fresh}; open,ask,1-2-3 Example-cho,"
            "https://example.com/,03\r\n");
  Convert("d.csv", "e.geojson");
  EXPECT_EQ(ReadBytes(folder_.PathOf("e.geojson")),
            "{\"type\": \"FeatureCollection\", \"features\": [\n"
            "{\"type\": \"Feature\", \"properties\": {\"name\": \"Shop\", \"description\": "
            "\"Bakery {fresh}; open\", \"comment\": \"ask\", \"address\": \"1-2-3 Example-cho\", "
            "\"url\": \"https://example.com/\", \"phone\": \"03\"}, \"geometry\": {\"type\": "
            "\"Point\", \"coordinates\": [139.745433000, 35.658581000]}}\n]}\n");
}
#endif

TEST_F(FieldsChainTest, NviFieldsComeBackAsTexts) {
  WriteBytes(folder_.PathOf("a.geojson"), kShop);
  Convert("a.geojson", "b.nvi", NviFieldSet::All());
  Convert("b.nvi", "c.geojson");
  EXPECT_NE(ReadBytes(folder_.PathOf("c.geojson"))
                .find("\"description\": \"Bakery (fresh), open / ask / TEL 03\", \"address\": "
                      "\"1-2-3 Example-cho\", \"url\": \"https://example.com/\", \"email\": "
                      "\"info@example.com\"}"),
            std::string::npos);
  // Once more into NVI: the same fields, byte for byte.
  Convert("c.geojson", "d.nvi", NviFieldSet::All());
  EXPECT_EQ(ReadBytes(folder_.PathOf("d.nvi")), ReadBytes(folder_.PathOf("b.nvi")));
}

}  // namespace
}  // namespace velorin
