#pragma once
// What a CSV header's columns hold: the title (name, title, label, 名称,
// 名前, 施設名, GTFS's stop_name), the latitude (lat, latitude, 緯度,
// stop_lat), the longitude (lon, lng, long, longitude, 経度, stop_lon), in
// any letter case, and a point's further texts by their names and common
// synonyms (see FieldOfName). A role named by two columns takes the first;
// the header is then said to name it twice.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formats/point_fields.h"

namespace velorin {

/// A column of a further text, in the header's order.
struct CsvTextColumn {
  std::size_t column = 0;
  PointField field = PointField::kDescription;
  bool addressPart = false;
};

/// The roles of a header's columns; nothing for a column not found.
struct CsvColumns {
  std::optional<std::size_t> name;
  std::optional<std::size_t> latitude;
  std::optional<std::size_t> longitude;
  /// The columns of further texts, in the order their texts are gathered
  /// (the header's; GPSBabel's Notes before its Description, see
  /// csv_columns.cpp).
  std::vector<CsvTextColumn> texts;
  /// The fields those texts fill (a second description fills the comment).
  PointFieldSet given;
  /// "latitude: columns 2 and 5" for each role named more than once.
  std::vector<std::string> namedTwice;
};

/// Finds the columns among header cells given in UTF-8.
CsvColumns FindCsvColumns(const std::vector<std::string>& headerCells);

/// What is worth saying of a header whose points are read by `columns`
/// (its cells `headerCells`): which columns are read when none names a
/// title, and which roles two columns name. Empty otherwise.
std::string CsvHeaderNote(const CsvColumns& columns, const std::vector<std::string>& headerCells);

}  // namespace velorin
