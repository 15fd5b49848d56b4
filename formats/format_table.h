#pragma once
// The point formats velorin-cli knows, and the one table that picks a
// reader and a writer for each: by name (--from, --to) or by a path's
// extension.
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "formats/point_check.h"
#include "formats/point_reader.h"
#include "formats/point_writer.h"
#include "platform/buffered_writer.h"
#include "platform/clock.h"

namespace velorin {

enum class PointFormat { kPot, kNvi, kGpx, kKml, kKmz, kCsv, kGeoJson };

struct FormatInfo {
  PointFormat format;
  std::string_view name;       ///< as --from and --to take it
  std::string_view extension;  ///< with its dot
  bool limitsRecords;          ///< a file holds at most kRecordLimit records
  PositionRange positions;     ///< the positions a file holds
  /// Nothing when the format cannot be read (or written).
  std::unique_ptr<PointReader> (*makeReader)(ByteSource& source, const ReaderOptions& options);
  std::unique_ptr<PointWriter> (*makeWriter)(BufferedWriter& out, Clock& clock,
                                             const WriterOptions& options);
};

std::span<const FormatInfo> PointFormats();
const FormatInfo& InfoOf(PointFormat format);
std::optional<PointFormat> FormatNamed(std::string_view name);

/// The format of a path by its extension, in any letter case; nothing for
/// an extension the table does not know. ".json" counts as GeoJSON (whose
/// reader refuses a file that is other JSON, saying so).
std::optional<PointFormat> FormatOfExtension(std::string_view path);
/// The format an input's extension names: the table's, or CSV for `.tsv`;
/// nothing for another extension.
std::optional<PointFormat> InputFormatOfExtension(std::string_view path);
/// An unknown extension counts as POT for an input.
PointFormat InputFormatOfPath(std::string_view path);
/// An unknown extension counts as NVI for an output.
PointFormat OutputFormatOfPath(std::string_view path);
/// Whether a file of the format is parsed on a thread of its own while the
/// run writes (see ReadAheadPointReader): the formats with a parser of their
/// own (GPX, KML, KMZ, GeoJSON). The line formats are not: POT entries view
/// the reader's line, and CSV's encoding is told from its first bytes.
bool ReadsAhead(PointFormat format);
/// What an input is converted into when nothing says: NVI, or GPX for an
/// NVI input.
PointFormat DefaultOutputFormat(PointFormat input);
/// The input path with the extension of `output`.
std::string DefaultOutputPath(std::string_view input, PointFormat output);

}  // namespace velorin
