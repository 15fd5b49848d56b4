#include "formats/format_table.h"

#include <array>

#include "formats/csv_reader.h"
#include "formats/csv_writer.h"
#include "formats/geojson_reader.h"
#include "formats/geojson_writer.h"
#include "formats/nvi_point_writer.h"
#include "formats/nvi_reader.h"
#include "formats/output_path.h"
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

/// The table. Built at its first use: whether the XML formats can be read
/// depends on the build (see formats/xml_readers.h).
const std::array<FormatInfo, 7>& Formats() {
  static const std::array<FormatInfo, 7> formats = {{
      {PointFormat::kPot, "pot", ".pot", false, PositionRange::kNvi, &MakePotReader,
       &MakeWriter<PotWriter>},
      {PointFormat::kNvi, "nvi", ".nvi", true, PositionRange::kNvi, &MakeReader<NviReader>,
       &MakeNviWriter},
      {PointFormat::kGpx, "gpx", ".gpx", false, PositionRange::kGlobe, GpxReaderFactory(),
       &MakeXmlWriter<kGpxLayout>},
      {PointFormat::kKml, "kml", ".kml", false, PositionRange::kGlobe, KmlReaderFactory(),
       &MakeXmlWriter<kKmlLayout>},
      {PointFormat::kKmz, "kmz", ".kmz", false, PositionRange::kGlobe, KmzReaderFactory(), nullptr},
      {PointFormat::kCsv, "csv", ".csv", false, PositionRange::kGlobe, &MakeTextReader<CsvReader>,
       &MakeCsvWriter},
      {PointFormat::kGeoJson, "geojson", ".geojson", false, PositionRange::kGlobe,
       &MakeGeoJsonReader, &MakeWriter<GeoJsonWriter>},
  }};
  return formats;
}

}  // namespace

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

std::optional<PointFormat> FormatOfExtension(std::string_view path) {
  for (const FormatInfo& info : Formats()) {
    if (HasExtension(path, info.extension)) return info.format;
  }
  if (HasExtension(path, ".json")) return PointFormat::kGeoJson;
  return std::nullopt;
}

std::optional<PointFormat> InputFormatOfExtension(std::string_view path) {
  // A tab-separated table is a CSV file to the reader, which tells the
  // separator from the header row.
  if (HasExtension(path, ".tsv")) return PointFormat::kCsv;
  return FormatOfExtension(path);
}

PointFormat InputFormatOfPath(std::string_view path) {
  return InputFormatOfExtension(path).value_or(PointFormat::kPot);
}

PointFormat OutputFormatOfPath(std::string_view path) {
  return FormatOfExtension(path).value_or(PointFormat::kNvi);
}

bool ReadsAhead(PointFormat format) {
  switch (format) {
    case PointFormat::kGpx:
    case PointFormat::kKml:
    case PointFormat::kKmz:
    case PointFormat::kGeoJson:
      return true;
    default:
      return false;
  }
}

PointFormat DefaultOutputFormat(PointFormat input) {
  return input == PointFormat::kNvi ? PointFormat::kGpx : PointFormat::kNvi;
}

std::string DefaultOutputPath(std::string_view input, PointFormat output) {
  return ReplaceExtension(input, InfoOf(output).extension);
}

}  // namespace velorin
