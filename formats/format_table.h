#pragma once
// The point formats Velorin knows, as data: one row a format, saying what
// it reads and writes, its names and extensions, which options apply to it,
// how its titles and items are treated and named. Everything that differs
// by format asks the table: the run, the command line's checks and help,
// the window's dialogs.
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/point_check.h"
#include "formats/point_reader.h"
#include "formats/point_writer.h"
#include "platform/buffered_writer.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace velorin {

enum class PointFormat { kPot, kNvi, kGpx, kKml, kKmz, kCsv, kGeoJson, kPhoto, kOsm };

/// The options that apply to some formats only, as a set of bits.
enum class FormatOption : unsigned {
  kInputEncoding = 1u << 0,  ///< --input-encoding: a text input's encoding
  kPointKinds = 1u << 1,     ///< --points and --thin: routes and tracks
  kTimestamp = 1u << 2,      ///< --timestamp: the records' time stamp
  kCsvEncoding = 1u << 3,    ///< --csv-encoding
  /// --input-datum and --output-datum: the datum of a format whose files do
  /// not say (POT, NVI, CSV); the others are WGS 84 by definition.
  kInputDatum = 1u << 4,
  kOutputDatum = 1u << 5,
  kNviFields = 1u << 6,  ///< --nvi-fields: the NVI block's own fields
  /// --osm-tags and --osm-name: the objects kept of an OpenStreetMap
  /// extract and the language of their titles.
  kOsmTags = 1u << 7,
};

/// An option's name on the command line ("--timestamp").
std::string_view OptionName(FormatOption option);

/// How the items of a format are named in reports: singular and plural.
struct ItemNames {
  std::string_view one;
  std::string_view many;
};

struct FormatInfo {
  PointFormat format;
  std::string_view name;         ///< as --from and --to take it: "gpx"
  std::string_view displayName;  ///< as messages name it: "GPX"
  std::string_view extension;    ///< the one written, with its dot
  /// Further extensions of the format, read and written ("|"-separated).
  std::string_view moreExtensions;
  /// Extensions read as this format but never written as it ("|"-separated).
  std::string_view readOnlyExtensions;
  /// What the files hold, in a few words for help texts.
  std::string_view holds;
  bool limitsRecords;       ///< a file holds at most kRecordLimit records
  PositionRange positions;  ///< the positions a file holds
  /// Nothing when the format cannot be read (or written) by this build.
  std::unique_ptr<PointReader> (*makeReader)(ByteSource& source, const ReaderOptions& options);
  std::unique_ptr<PointWriter> (*makeWriter)(BufferedWriter& out, Clock& clock,
                                             const WriterOptions& options);
  /// Options that apply when the format is read, and when it is written.
  unsigned readOptions;
  unsigned writeOptions;
  /// A file is parsed on a thread of its own while the run writes (see
  /// ReadAheadPointReader): the formats with a parser of their own. The line
  /// formats are not: POT entries view the reader's line, and CSV's
  /// encoding is told from its bytes as they come.
  bool readsAhead;
  /// A file is a list of lines, every line one entry, whether it holds a
  /// point or not (POT): what became of the file can be told line by line.
  /// In the other formats a point may take many lines, or none of its own.
  bool readByTheLine;
  /// Its titles are the unit's own CP932 bytes (POT, NVI): they reach a
  /// file of such a format unchanged. Elsewhere white space in a title is
  /// the file's layout (an indented XML name, a CSV cell over two lines).
  bool titlesAreUnitBytes;
  /// What a skipped entry of it is called: "point line" (POT) or "point".
  ItemNames entries;
  /// What its written entries are called: "record" (NVI) or "point".
  ItemNames written;
  /// The format to write instead, for one that is only read (KMZ: KML).
  std::optional<PointFormat> writeInstead;
  /// The point's further texts a file of it keeps (NVI: those asked for
  /// with --nvi-fields; none unasked).
  PointFieldSet fields = {};
  /// A folder named as an input is read as one input of this format: its
  /// reader opens the folder's files itself (photos). Nothing for formats
  /// that read files only.
  std::unique_ptr<PointReader> (*makeFolderReader)(FileSystem& files, const std::string& folder,
                                                   const ReaderOptions& options) = nullptr;
};

std::span<const FormatInfo> PointFormats();
const FormatInfo& InfoOf(PointFormat format);
std::optional<PointFormat> FormatNamed(std::string_view name);

/// Whether `option` applies to `format` when read (or written).
bool OptionApplies(FormatOption option, PointFormat format, bool written);
/// "POT and CSV", "NVI": the formats an option applies to, read or written,
/// the last joined by `conjunction` (" and ", " or ").
std::string FormatsWithOption(FormatOption option, bool written,
                              std::string_view conjunction = " and ");
/// "a, b and c": names listed, the last joined by `conjunction`.
std::string ListedNames(const std::vector<std::string_view>& names,
                        std::string_view conjunction = " and ");
/// Every extension of a format, the one written first: ".geojson", ".json".
std::vector<std::string_view> ExtensionsOf(const FormatInfo& info, bool written);

/// The format of a path by its extension, in any letter case; nothing for
/// an extension the table does not know. ".json" counts as GeoJSON (whose
/// reader refuses a file that is other JSON, saying so).
std::optional<PointFormat> FormatOfExtension(std::string_view path);
/// The format an input's extension names, read-only extensions (".tsv")
/// included; nothing for another extension.
std::optional<PointFormat> InputFormatOfExtension(std::string_view path);
/// An unknown extension counts as POT for an input.
PointFormat InputFormatOfPath(std::string_view path);
/// An unknown extension counts as NVI for an output.
PointFormat OutputFormatOfPath(std::string_view path);
/// The format a file at `path` is written in by its extension when this
/// build writes that format under that name; nothing for an extension no
/// format has, or one of a format only read (KMZ) or not written here: one
/// format is never written under another's name.
std::optional<PointFormat> WrittenFormatOfPath(std::string_view path);
/// Whether a file of the format is parsed on a thread of its own.
bool ReadsAhead(PointFormat format);
/// The encoding a writer of `format` takes titles in, as `options` set it
/// up: CP932 for the unit's own formats and a CSV written as CP932.
TitleEncoding WrittenTitleEncoding(PointFormat format, const WriterOptions& options = {});
/// The most characters a title of `format` keeps (0: no limit): where its
/// writer cuts a longer one.
std::size_t TitleCharacterLimit(PointFormat format);
/// What an input is converted into when nothing says: NVI, or GPX for an
/// NVI input.
PointFormat DefaultOutputFormat(PointFormat input);
/// The input path with the extension of `output`.
std::string DefaultOutputPath(std::string_view input, PointFormat output);
/// "GPX": the format's name in messages.
std::string_view DisplayName(PointFormat format);

}  // namespace velorin
