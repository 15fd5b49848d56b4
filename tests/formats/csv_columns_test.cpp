// What a CSV header's columns hold, as files from spreadsheets, GPSBabel
// and GTFS feeds head them, and what is said of a header that leaves a
// role unnamed or names one twice.
#include "formats/csv_columns.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace velorin {
namespace {

struct ColumnsCase {
  const char* name;
  std::vector<std::string> header;
  std::optional<std::size_t> title;
  std::optional<std::size_t> latitude;
  std::optional<std::size_t> longitude;
  /// "column:field" for each text column, in the order gathered ("+" after
  /// an address part).
  std::vector<std::string> texts;
  std::string note;
};

void PrintTo(const ColumnsCase& c, std::ostream* out) { *out << c.name; }

std::vector<std::string> Texts(const CsvColumns& columns) {
  std::vector<std::string> texts;
  for (const CsvTextColumn& text : columns.texts) {
    texts.push_back(std::to_string(text.column) + ":" + std::string(WordsOf(text.field).one) +
                    (text.addressPart ? "+" : ""));
  }
  return texts;
}

class CsvColumnsTest : public ::testing::TestWithParam<ColumnsCase> {};

TEST_P(CsvColumnsTest, EachRoleFromItsColumn) {
  const ColumnsCase& c = GetParam();
  const CsvColumns columns = FindCsvColumns(c.header);
  EXPECT_EQ(columns.name, c.title);
  EXPECT_EQ(columns.latitude, c.latitude);
  EXPECT_EQ(columns.longitude, c.longitude);
  EXPECT_EQ(Texts(columns), c.texts);
  EXPECT_EQ(CsvHeaderNote(columns, c.header), c.note);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, CsvColumnsTest,
    ::testing::Values(
        ColumnsCase{"Plain", {"name", "lat", "lon"}, 0, 1, 2, {}, ""},
        // GPSBabel's unicsv: its Notes are a point's description (GPX's
        // <desc>), its Description the comment (GPX's <cmt>); the address
        // from its parts in the columns' order.
        ColumnsCase{"GpsBabel",
                    {"No", "Latitude", "Longitude", "Name", "Description", "Notes", "URL",
                     "Address", "City", "PostalCode", "State", "Country", "Phone"},
                    3,
                    1,
                    2,
                    {"5:description", "4:description", "6:link", "7:address", "8:address+",
                     "9:address+", "10:address+", "11:address+", "12:telephone number"},
                    ""},
        ColumnsCase{"TwoDescriptionsInTheirOrder",
                    {"name", "lat", "lon", "desc", "notes"},
                    0,
                    1,
                    2,
                    {"3:description", "4:description"},
                    ""},
        ColumnsCase{"GtfsStops",
                    {"stop_id", "stop_name", "stop_desc", "stop_lat", "stop_lon", "stop_url"},
                    1,
                    3,
                    4,
                    {"2:description", "5:link"},
                    ""},
        ColumnsCase{"JapaneseFacilityName", {"施設名", "緯度", "経度"}, 0, 1, 2, {}, ""},
        // No title: what is read is said.
        ColumnsCase{"NoTitleColumn",
                    {"id", "Y", "lat", "lon", "desc"},
                    std::nullopt,
                    2,
                    3,
                    {"4:description"},
                    "no column of the header names a title (name, title, label, 名称, 名前, "
                    "施設名 or stop_name): the points are untitled; read are the latitude from "
                    "\"lat\" (column 3), the longitude from \"lon\" (column 4), the description "
                    "from \"desc\" (column 5)"},
        // A role named twice: the first is read, and it is said.
        ColumnsCase{"LatitudeTwice",
                    {"name", "lat", "lon", "Latitude"},
                    0,
                    1,
                    2,
                    {},
                    "the header names the latitude in \"lat\" (column 2) and \"Latitude\" "
                    "(column 4): the first is read"},
        ColumnsCase{"TitleThreeTimes",
                    {"name", "Title", "lat", "lon", "label"},
                    0,
                    2,
                    3,
                    {},
                    "the header names a title in \"name\" (column 1), \"Title\" (column 2) and "
                    "\"label\" (column 5): the first is read"},
        ColumnsCase{"NoPositionSaysNothing",
                    {"name", "address"},
                    0,
                    std::nullopt,
                    std::nullopt,
                    {"1:address"},
                    ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The fields a header's texts fill, for the writer's columns: a second
// description or link fills the comment.
TEST(CsvColumnsTest, TheFieldsGivenIncludeTheCommentOfASecondText) {
  const CsvColumns gpsBabel =
      FindCsvColumns({"Name", "Latitude", "Longitude", "Description", "Notes", "City"});
  EXPECT_EQ(gpsBabel.given,
            (PointFieldSet{PointField::kDescription, PointField::kComment, PointField::kAddress}));
  const CsvColumns links = FindCsvColumns({"name", "lat", "lon", "url", "website"});
  EXPECT_EQ(links.given, (PointFieldSet{PointField::kLink, PointField::kComment}));
}

}  // namespace
}  // namespace velorin
