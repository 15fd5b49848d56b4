#pragma once
// The format an input is read as, and what chose it: an option, its
// extension, its first bytes, or nothing (POT).
#include <optional>
#include <string>
#include <utility>

#include "formats/format_table.h"
#include "platform/file_system.h"

namespace velorin {

/// What chose the input's format.
enum class FormatBasis { kOption, kExtension, kContent, kNothing };

/// The format an input is read as: `named` when given (--from), else its
/// extension, else its first bytes, else POT; standard input (`isStream`)
/// is POT unless named. The first bytes are read through `files`.
std::pair<PointFormat, FormatBasis> ChooseInputFormat(FileSystem& files, const std::string& path,
                                                      bool isStream,
                                                      std::optional<PointFormat> named);

}  // namespace velorin
