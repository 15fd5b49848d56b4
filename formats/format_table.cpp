#include "formats/format_table.h"

#include <array>

#include "formats/output_path.h"
#include "formats/csv_reader.h"
#include "formats/csv_writer.h"
#include "formats/gpx_writer.h"
#include "formats/kml_writer.h"
#include "formats/nvi_point_writer.h"
#include "formats/nvi_reader.h"
#include "formats/pot_reader.h"
#include "formats/pot_writer.h"
#include "formats/xml_readers.h"

namespace velorin {

namespace {

template <typename Reader>
std::unique_ptr<PointReader> MakeReader(ByteSource& source, const ReaderOptions&) {
  return std::make_unique<Reader>(source);
}

template <typename Reader>
std::unique_ptr<PointReader> MakeTextReader(ByteSource& source, const ReaderOptions& options) {
  return std::make_unique<Reader>(source, options.textEncoding);
}

template <typename Writer>
std::unique_ptr<PointWriter> MakeWriter(BufferedWriter& out, Clock&) {
  return std::make_unique<Writer>(out);
}

std::unique_ptr<PointWriter> MakeNviWriter(BufferedWriter& out, Clock& clock) {
  return std::make_unique<NviPointWriter>(out, clock);
}

/// The table. Built at its first use: whether the XML formats can be read
/// depends on the build (see formats/xml_readers.h).
const std::array<FormatInfo, 6>& Formats() {
  static const std::array<FormatInfo, 6> formats = {{
      {PointFormat::kPot, "pot", ".pot", &MakeTextReader<PotReader>, &MakeWriter<PotWriter>},
      {PointFormat::kNvi, "nvi", ".nvi", &MakeReader<NviReader>, &MakeNviWriter},
      {PointFormat::kGpx, "gpx", ".gpx", GpxReaderFactory(), &MakeWriter<GpxWriter>},
      {PointFormat::kKml, "kml", ".kml", KmlReaderFactory(), &MakeWriter<KmlWriter>},
      {PointFormat::kKmz, "kmz", ".kmz", KmzReaderFactory(), nullptr},
      {PointFormat::kCsv, "csv", ".csv", &MakeTextReader<CsvReader>, &MakeWriter<CsvWriter>},
  }};
  return formats;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return lower;
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
  const std::string lower = LowerAscii(name);
  for (const FormatInfo& info : Formats()) {
    if (info.name == lower) return info.format;
  }
  return std::nullopt;
}

std::optional<PointFormat> FormatOfExtension(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = file.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const std::string extension = LowerAscii(file.substr(dot));
  for (const FormatInfo& info : Formats()) {
    if (info.extension == extension) return info.format;
  }
  return std::nullopt;
}

PointFormat InputFormatOfPath(std::string_view path) {
  return FormatOfExtension(path).value_or(PointFormat::kPot);
}

PointFormat OutputFormatOfPath(std::string_view path) {
  return FormatOfExtension(path).value_or(PointFormat::kNvi);
}

std::string DefaultOutputPathFor(std::string_view input, PointFormat inputFormat) {
  return ReplaceExtension(input, inputFormat == PointFormat::kNvi ? ".gpx" : ".nvi");
}

}  // namespace velorin
