#include "formats/csv_columns.h"

#include <array>
#include <string_view>

#include "text/ascii.h"

namespace velorin {

namespace {

constexpr std::array<std::string_view, 7> kNameHeaders = {"name", "title",  "label",    "名称",
                                                          "名前", "施設名", "stop_name"};
constexpr std::array<std::string_view, 4> kLatitudeHeaders = {"lat", "latitude", "緯度",
                                                              "stop_lat"};
constexpr std::array<std::string_view, 6> kLongitudeHeaders = {"lon",       "lng",  "long",
                                                               "longitude", "経度", "stop_lon"};

template <std::size_t N>
bool IsOneOf(std::string_view cell, const std::array<std::string_view, N>& names) {
  for (const std::string_view name : names) {
    if (cell == name) return true;
  }
  return false;
}

template <std::size_t N>
std::string NamesText(const std::array<std::string_view, N>& names) {
  std::string text;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) text += i + 1 == N ? " or " : ", ";
    text += names[i];
  }
  return text;
}

/// "\"lat\" (column 2)".
std::string ColumnWords(const std::vector<std::string>& cells, std::size_t column) {
  return "\"" + cells[column] + "\" (column " + std::to_string(column + 1) + ")";
}

/// A role's columns, the first of which is read.
struct RoleColumns {
  std::string_view role;
  std::vector<std::size_t> columns = {};
  void Note(std::size_t column) { columns.push_back(column); }
  std::optional<std::size_t> first() const {
    if (columns.empty()) return std::nullopt;
    return columns.front();
  }
};

std::string TwiceWords(const RoleColumns& role, const std::vector<std::string>& cells) {
  std::string text =
      "the header names " + std::string(role.role) + " in " + ColumnWords(cells, role.columns[0]);
  for (std::size_t i = 1; i < role.columns.size(); ++i) {
    text += (i + 1 == role.columns.size() ? " and " : ", ") + ColumnWords(cells, role.columns[i]);
  }
  return text + ": the first is read";
}

/// GPSBabel's CSV writes a point's description (GPX's <cmt>) under
/// Description and its notes (GPX's <desc>) under Notes: read so, the
/// notes are the description and the Description column the comment.
void PutGpsBabelNotesFirst(std::vector<CsvTextColumn>& texts,
                           const std::vector<std::string>& lowerCells) {
  CsvTextColumn* description = nullptr;
  for (CsvTextColumn& text : texts) {
    const std::string& cell = lowerCells[text.column];
    if (cell == "description" && description == nullptr) description = &text;
    if (cell == "notes" && description != nullptr) {
      std::swap(description->column, text.column);
      return;
    }
  }
}

}  // namespace

CsvColumns FindCsvColumns(const std::vector<std::string>& headerCells) {
  CsvColumns columns;
  RoleColumns name{"a title"};
  RoleColumns latitude{"the latitude"};
  RoleColumns longitude{"the longitude"};
  std::vector<std::string> lower;
  for (std::size_t i = 0; i < headerCells.size(); ++i) {
    const std::string& cell = lower.emplace_back(AsciiToLower(headerCells[i]));
    if (IsOneOf(cell, kNameHeaders)) name.Note(i);
    if (IsOneOf(cell, kLatitudeHeaders)) latitude.Note(i);
    if (IsOneOf(cell, kLongitudeHeaders)) longitude.Note(i);
    if (const std::optional<FieldName> field = FieldOfName(cell)) {
      columns.texts.push_back({i, field->field, field->addressPart});
    }
  }
  columns.name = name.first();
  columns.latitude = latitude.first();
  columns.longitude = longitude.first();
  for (const RoleColumns* role : {&name, &latitude, &longitude}) {
    if (role->columns.size() > 1) columns.namedTwice.push_back(TwiceWords(*role, headerCells));
  }
  PutGpsBabelNotesFirst(columns.texts, lower);
  for (const CsvTextColumn& text : columns.texts) {
    // A second description or link goes to the comment (gathered_texts.h).
    const bool second = columns.given.Has(text.field) &&
                        (text.field == PointField::kDescription || text.field == PointField::kLink);
    columns.given.Add(second ? PointField::kComment : text.field);
  }
  return columns;
}

std::string CsvHeaderNote(const CsvColumns& columns, const std::vector<std::string>& headerCells) {
  std::string note;
  if (!columns.name && columns.latitude && columns.longitude) {
    note = "no column of the header names a title (" + NamesText(kNameHeaders) +
           "): the points are untitled; read are the latitude from " +
           ColumnWords(headerCells, *columns.latitude) + ", the longitude from " +
           ColumnWords(headerCells, *columns.longitude);
    for (const CsvTextColumn& text : columns.texts) {
      note += ", the " + std::string(WordsOf(text.field).one) + " from " +
              ColumnWords(headerCells, text.column);
    }
  }
  for (const std::string& twice : columns.namedTwice) {
    note += (note.empty() ? "" : "; ") + twice;
  }
  return note;
}

}  // namespace velorin
