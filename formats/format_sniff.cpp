#include "formats/format_sniff.h"

#include <vector>

#include "formats/csv_dialect.h"
#include "formats/csv_reader.h"
#include "formats/csv_record.h"
#include "formats/exif_tags.h"
#include "formats/osm_pbf_head.h"
#include "text/ascii.h"

namespace velorin {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

/// The local name of the first element of an XML text, past its
/// declaration, comments, processing instructions and DOCTYPE.
std::string_view XmlRootName(std::string_view text) {
  std::size_t at = 0;
  while ((at = text.find('<', at)) != std::string_view::npos) {
    const std::string_view rest = text.substr(at + 1);
    if (rest.starts_with("?") || rest.starts_with("!")) {
      at = text.find('>', at);
      if (at == std::string_view::npos) return {};
      continue;
    }
    std::size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end]) && rest[end] != '>' && rest[end] != '/') ++end;
    std::string_view name = rest.substr(0, end);
    if (const std::size_t colon = name.find(':'); colon != std::string_view::npos) {
      name.remove_prefix(colon + 1);
    }
    return name;
  }
  return {};
}

/// The text up to its first line break.
std::string_view FirstLine(std::string_view text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

bool HoldsPotPointLine(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (EqualsIgnoringAsciiCase(text.substr(at, 7), "ord=poi")) return true;
    at = text.find('\n', at);
    if (at == std::string_view::npos) break;
  }
  return false;
}

/// The line's cells split at `separator` (quotes around a cell dropped).
std::vector<std::string> HeaderCells(std::string_view line, char separator) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t end = line.find(separator, start);
    if (end == std::string_view::npos) end = line.size();
    std::string_view cell = line.substr(start, end - start);
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
      cell = cell.substr(1, cell.size() - 2);
    }
    cells.emplace_back(cell);
    start = end + 1;
  }
  return cells;
}

bool NamesCsvColumns(std::string_view line, char separator) {
  const CsvColumns columns = FindCsvColumns(HeaderCells(line, separator));
  return columns.latitude && columns.longitude;
}

bool IsCsvHeader(std::string_view line) {
  const char separator =
      ChooseCsvSeparator(line, [line](char candidate) { return NamesCsvColumns(line, candidate); });
  return NamesCsvColumns(line, separator);
}

}  // namespace

std::optional<PointFormat> SniffPointFormat(std::string_view head) {
  if (head.starts_with("PK\x03\x04")) return PointFormat::kKmz;
  if (head.starts_with("\xFF\xD8\xFF") || StartsTiff(head.data(), head.size())) {
    return PointFormat::kPhoto;
  }
  if (StartsOsmPbf(head)) return PointFormat::kOsm;
  if (head.starts_with(kUtf8Mark)) head.remove_prefix(kUtf8Mark.size());
  std::size_t first = 0;
  while (first < head.size() && IsBlank(head[first])) ++first;
  const std::string_view text = head.substr(first);
  if (text.starts_with("NPOIs100@NRA/R1;")) return PointFormat::kNvi;
  if (text.starts_with("{")) {
    if (text.find("\"type\"") != std::string_view::npos) return PointFormat::kGeoJson;
    return std::nullopt;
  }
  if (text.starts_with("<")) {
    const std::string_view root = XmlRootName(text);
    if (root == "gpx") return PointFormat::kGpx;
    if (root == "kml") return PointFormat::kKml;
    if (root == "osm") return PointFormat::kOsm;
    return std::nullopt;
  }
  if (HoldsPotPointLine(text)) return PointFormat::kPot;
  if (IsCsvHeader(FirstLine(text))) return PointFormat::kCsv;
  return std::nullopt;
}

bool ExtensionLeavesFormatOpen(std::string_view path) { return !InputFormatOfExtension(path); }

std::optional<PointFormat> SniffFileFormat(FileSystem& files, const std::string& path) {
  // A folder is read as the photos it holds.
  if (files.IsFolder(path)) return PointFormat::kPhoto;
  const std::optional<std::string> head = files.ReadHead(path, kSniffedBytes);
  if (!head) return std::nullopt;
  return SniffPointFormat(*head);
}

PointFormat InputFormatOfFile(FileSystem& files, const std::string& path) {
  const std::optional<PointFormat> sniffed =
      ExtensionLeavesFormatOpen(path) ? SniffFileFormat(files, path) : std::nullopt;
  return sniffed.value_or(InputFormatOfPath(path));
}

}  // namespace velorin
