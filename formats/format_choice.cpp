#include "formats/format_choice.h"

#include "formats/format_sniff.h"

namespace velorin {

std::pair<PointFormat, FormatBasis> ChooseInputFormat(FileSystem& files, const std::string& path,
                                                      bool isStream,
                                                      std::optional<PointFormat> named) {
  if (named) return {*named, FormatBasis::kOption};
  if (isStream) return {PointFormat::kPot, FormatBasis::kNothing};
  const bool open = ExtensionLeavesFormatOpen(path);
  const std::optional<PointFormat> sniffed = open ? SniffFileFormat(files, path) : std::nullopt;
  if (sniffed) return {*sniffed, FormatBasis::kContent};
  return {InputFormatOfPath(path), open ? FormatBasis::kNothing : FormatBasis::kExtension};
}

}  // namespace velorin
