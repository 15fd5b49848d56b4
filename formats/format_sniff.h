#pragma once
// The format of a point file told by its first bytes, for an input whose
// extension names none (.xml and .txt name none either): an XML root
// element <gpx> or <kml>, a zip archive (KMZ), NVI's record mark, a POT
// point line, a CSV header naming latitude and longitude, a JSON object with
// a "type" member (GeoJSON).
#include <optional>
#include <string>
#include <string_view>

#include "formats/format_table.h"
#include "platform/file_system.h"

namespace velorin {

/// How many first bytes SniffPointFormat needs at most.
inline constexpr std::size_t kSniffedBytes = std::size_t{64} * 1024;

/// The format `head` (a file's first bytes) shows; nothing when it shows none.
std::optional<PointFormat> SniffPointFormat(std::string_view head);

/// Whether the format of `path` is looked for in its content: its extension
/// names no format, or names one that many formats share.
bool ExtensionLeavesFormatOpen(std::string_view path);

/// What the first bytes of an ordinary file of `files` show (never a
/// pipe's, which would lose what is read); nothing when they show no format.
std::optional<PointFormat> SniffFileFormat(FileSystem& files, const std::string& path);

/// The format of an input file of `files`: its extension's; else what its
/// first bytes show; else POT.
PointFormat InputFormatOfFile(FileSystem& files, const std::string& path);

}  // namespace velorin
