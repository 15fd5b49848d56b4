#include "formats/format_table.h"

#include <array>
#include <vector>

#include "formats/csv_reader.h"
#include "formats/csv_writer.h"
#include "formats/geojson_reader.h"
#include "formats/geojson_writer.h"
#include "formats/nvi_point_writer.h"
#include "formats/nvi_reader.h"
#include "formats/osm_reader.h"
#include "formats/output_path.h"
#include "formats/photo_reader.h"
#include "formats/pot_reader.h"
#include "formats/pot_writer.h"
#include "formats/xml_point_writer.h"
#include "formats/xml_readers.h"
#include "text/ascii.h"

namespace velorin {

namespace {

template <typename Reader>
std::unique_ptr<PointReader> MakeReader(ByteSource& source, const ReaderOptions&) {
  return std::make_unique<Reader>(source);
}

template <typename Reader>
std::unique_ptr<PointReader> MakeTextReader(ByteSource& source, const ReaderOptions& options) {
  return std::make_unique<Reader>(source, options);
}

std::unique_ptr<PointReader> MakePotReader(ByteSource& source, const ReaderOptions& options) {
  return std::make_unique<PotReader>(source, options);
}

std::unique_ptr<PointReader> MakeGeoJsonReader(ByteSource& source, const ReaderOptions& options) {
  return std::make_unique<GeoJsonReader>(source, std::size_t{1} << 16, options.points,
                                         options.thinMetres);
}

std::unique_ptr<PointReader> MakePhotoReader(ByteSource& source, const ReaderOptions& options) {
  return std::make_unique<PhotoReader>(source, options.path);
}

std::unique_ptr<PointReader> MakePhotoFolderReader(FileSystem& files, const std::string& folder,
                                                   const ReaderOptions&) {
  return std::make_unique<PhotoReader>(files, folder);
}

template <typename Writer>
std::unique_ptr<PointWriter> MakeWriter(BufferedWriter& out, Clock&, const WriterOptions&) {
  return std::make_unique<Writer>(out);
}

template <const XmlLayout& layout>
std::unique_ptr<PointWriter> MakeXmlWriter(BufferedWriter& out, Clock&, const WriterOptions&) {
  return std::make_unique<XmlPointWriter>(out, layout);
}

std::unique_ptr<PointWriter> MakeCsvWriter(BufferedWriter& out, Clock&,
                                           const WriterOptions& options) {
  return std::make_unique<CsvWriter>(out, options.csvEncoding);
}

std::unique_ptr<PointWriter> MakeNviWriter(BufferedWriter& out, Clock& clock,
                                           const WriterOptions&) {
  return std::make_unique<NviPointWriter>(out, clock);
}

constexpr unsigned Bits(FormatOption option) { return static_cast<unsigned>(option); }

constexpr std::size_t kFormatCount = 9;

constexpr unsigned kTextInput = Bits(FormatOption::kInputEncoding);
constexpr unsigned kReadDatum = Bits(FormatOption::kInputDatum);
constexpr unsigned kWriteDatum = Bits(FormatOption::kOutputDatum);
constexpr unsigned kLines = Bits(FormatOption::kPointKinds);
constexpr ItemNames kPointLines{"point line", "point lines"};
constexpr ItemNames kPoints{"point", "points"};
constexpr ItemNames kRecords{"record", "records"};

/// The texts each format's files keep besides titles. GPX has no place for
/// a waypoint's e-mail address (its address and telephone number go into
/// Garmin's waypoint extension); POT for none; NVI for those asked for.
constexpr std::pair<PointFormat, PointFieldSet> kFieldsKept[] = {
    {PointFormat::kGpx,
     {PointField::kDescription, PointField::kComment, PointField::kAddress, PointField::kLink,
      PointField::kPhone}},
    {PointFormat::kKml, PointFieldSet::All()},
    {PointFormat::kKmz, PointFieldSet::All()},
    {PointFormat::kCsv, PointFieldSet::All()},
    {PointFormat::kGeoJson, PointFieldSet::All()},
    {PointFormat::kPhoto, {PointField::kDescription}},
    {PointFormat::kOsm,
     {PointField::kDescription, PointField::kComment, PointField::kAddress, PointField::kLink,
      PointField::kPhone, PointField::kEmail}},
};

std::array<FormatInfo, kFormatCount> WithFieldsKept(std::array<FormatInfo, kFormatCount> formats) {
  for (FormatInfo& info : formats) {
    for (const auto& [format, fields] : kFieldsKept) {
      if (format == info.format) info.fields = fields;
    }
  }
  return formats;
}

/// The table. Built at its first use: whether the XML formats can be read
/// depends on the build (see formats/xml_readers.h).
const std::array<FormatInfo, kFormatCount>& Formats() {
  static const std::array<FormatInfo, kFormatCount> formats = WithFieldsKept({{
      {PointFormat::kPot, "pot", "POT", ".pot", "", "", "POT point lists", false,
       PositionRange::kNvi, &MakePotReader, &MakeWriter<PotWriter>, kTextInput | kReadDatum,
       kWriteDatum, false, true, true, kPointLines, kPoints, std::nullopt},
      {PointFormat::kNvi, "nvi", "NVI", ".nvi", "", "", "NVI record blocks", true,
       PositionRange::kNvi, &MakeReader<NviReader>, &MakeNviWriter, kReadDatum,
       Bits(FormatOption::kTimestamp) | Bits(FormatOption::kNviFields) | kWriteDatum, false, false,
       true, kPoints, kRecords, std::nullopt},
      {PointFormat::kGpx, "gpx", "GPX", ".gpx", "", "", "GPX waypoints", false,
       PositionRange::kGlobe, GpxReaderFactory(), &MakeXmlWriter<kGpxLayout>, kLines, 0, true,
       false, false, kPoints, kPoints, std::nullopt},
      {PointFormat::kKml, "kml", "KML", ".kml", "", "", "KML placemarks", false,
       PositionRange::kGlobe, KmlReaderFactory(), &MakeXmlWriter<kKmlLayout>, kLines, 0, true,
       false, false, kPoints, kPoints, std::nullopt},
      {PointFormat::kKmz, "kmz", "KMZ", ".kmz", "", "", "KMZ (zipped KML)", false,
       PositionRange::kGlobe, KmzReaderFactory(), nullptr, kLines, 0, true, false, false, kPoints,
       kPoints, PointFormat::kKml},
      {PointFormat::kCsv, "csv", "CSV", ".csv", "", ".tsv", "CSV tables", false,
       PositionRange::kGlobe, &MakeTextReader<CsvReader>, &MakeCsvWriter, kTextInput | kReadDatum,
       Bits(FormatOption::kCsvEncoding) | kWriteDatum, false, false, false, kPoints, kPoints,
       std::nullopt},
      {PointFormat::kGeoJson, "geojson", "GeoJSON", ".geojson", ".json", "", "GeoJSON points",
       false, PositionRange::kGlobe, &MakeGeoJsonReader, &MakeWriter<GeoJsonWriter>, kLines, 0,
       true, false, false, kPoints, kPoints, std::nullopt},
      {PointFormat::kPhoto,
       "photo",
       "Photo",
       ".jpg",
       "",
       ".jpeg|.jpe|.tif|.tiff",
       "geotagged photos (JPEG, TIFF; a folder of them)",
       false,
       PositionRange::kGlobe,
       &MakePhotoReader,
       nullptr,
       0,
       0,
       false,
       false,
       false,
       ItemNames{"photo", "photos"},
       kPoints,
       std::nullopt,
       {},
       &MakePhotoFolderReader},
      {PointFormat::kOsm, "osm", "OSM", ".osm.pbf", "", ".osm|.pbf", OsmHolds(), false,
       PositionRange::kGlobe, &MakeOsmReader, nullptr, Bits(FormatOption::kOsmTags), 0, true, false,
       false, ItemNames{"object", "objects"}, kPoints, std::nullopt},
  }});
  return formats;
}

/// Calls `take` with each "|"-separated extension of `list`.
template <typename Take>
void ForEachExtension(std::string_view list, Take take) {
  while (!list.empty()) {
    const std::size_t bar = list.find('|');
    take(list.substr(0, bar));
    if (bar == std::string_view::npos) break;
    list.remove_prefix(bar + 1);
  }
}

std::optional<PointFormat> FormatOfExtensionIn(std::string_view path, bool written) {
  for (const FormatInfo& info : Formats()) {
    for (const std::string_view extension : ExtensionsOf(info, written)) {
      if (HasExtension(path, extension)) return info.format;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string_view OptionName(FormatOption option) {
  switch (option) {
    case FormatOption::kInputEncoding:
      return "--input-encoding";
    case FormatOption::kPointKinds:
      return "--points";
    case FormatOption::kTimestamp:
      return "--timestamp";
    case FormatOption::kCsvEncoding:
      return "--csv-encoding";
    case FormatOption::kInputDatum:
      return "--input-datum";
    case FormatOption::kOutputDatum:
      return "--output-datum";
    case FormatOption::kNviFields:
      return "--nvi-fields";
    case FormatOption::kOsmTags:
      return "--osm-tags";
  }
  return {};
}

std::span<const FormatInfo> PointFormats() { return Formats(); }

const FormatInfo& InfoOf(PointFormat format) {
  for (const FormatInfo& info : Formats()) {
    if (info.format == format) return info;
  }
  return Formats().front();
}

std::optional<PointFormat> FormatNamed(std::string_view name) {
  for (const FormatInfo& info : Formats()) {
    if (EqualsIgnoringAsciiCase(info.name, name)) return info.format;
  }
  return std::nullopt;
}

bool OptionApplies(FormatOption option, PointFormat format, bool written) {
  const FormatInfo& info = InfoOf(format);
  return ((written ? info.writeOptions : info.readOptions) & Bits(option)) != 0;
}

std::string ListedNames(const std::vector<std::string_view>& names, std::string_view conjunction) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? conjunction : ", ";
    text += names[i];
  }
  return text;
}

std::string FormatsWithOption(FormatOption option, bool written, std::string_view conjunction) {
  std::vector<std::string_view> names;
  for (const FormatInfo& info : Formats()) {
    if (OptionApplies(option, info.format, written)) names.push_back(info.displayName);
  }
  return ListedNames(names, conjunction);
}

std::vector<std::string_view> ExtensionsOf(const FormatInfo& info, bool written) {
  std::vector<std::string_view> extensions{info.extension};
  const auto add = [&](std::string_view extension) { extensions.push_back(extension); };
  ForEachExtension(info.moreExtensions, add);
  if (!written) ForEachExtension(info.readOnlyExtensions, add);
  return extensions;
}

std::optional<PointFormat> FormatOfExtension(std::string_view path) {
  return FormatOfExtensionIn(path, true);
}

std::optional<PointFormat> InputFormatOfExtension(std::string_view path) {
  return FormatOfExtensionIn(path, false);
}

PointFormat InputFormatOfPath(std::string_view path) {
  return InputFormatOfExtension(path).value_or(PointFormat::kPot);
}

PointFormat OutputFormatOfPath(std::string_view path) {
  return FormatOfExtension(path).value_or(PointFormat::kNvi);
}

std::optional<PointFormat> WrittenFormatOfPath(std::string_view path) {
  const std::optional<PointFormat> named = FormatOfExtension(path);
  if (!named) return std::nullopt;
  const FormatInfo& info = InfoOf(*named);
  if (info.writeInstead || info.makeWriter == nullptr) return std::nullopt;
  return named;
}

bool ReadsAhead(PointFormat format) { return InfoOf(format).readsAhead; }

TitleEncoding WrittenTitleEncoding(PointFormat format, const WriterOptions& options) {
  switch (format) {
    case PointFormat::kPot:
    case PointFormat::kNvi:
      return TitleEncoding::kCp932;
    case PointFormat::kCsv:
      return options.csvEncoding == CsvEncoding::kCp932 ? TitleEncoding::kCp932
                                                        : TitleEncoding::kUtf8;
    default:
      return TitleEncoding::kUtf8;
  }
}

std::size_t TitleCharacterLimit(PointFormat format) {
  return format == PointFormat::kPot ? kMaxPotTitleCharacters : 0;
}

PointFormat DefaultOutputFormat(PointFormat input) {
  return input == PointFormat::kNvi ? PointFormat::kGpx : PointFormat::kNvi;
}

std::string DefaultOutputPath(std::string_view input, PointFormat output) {
  // An extension of two parts (".osm.pbf") goes whole.
  for (const FormatInfo& info : Formats()) {
    for (const std::string_view extension : ExtensionsOf(info, false)) {
      if (extension.find('.', 1) != std::string_view::npos && HasExtension(input, extension)) {
        input.remove_suffix(extension.size());
        return std::string(input) + std::string(InfoOf(output).extension);
      }
    }
  }
  return ReplaceExtension(input, InfoOf(output).extension);
}

std::string_view DisplayName(PointFormat format) { return InfoOf(format).displayName; }

}  // namespace velorin
