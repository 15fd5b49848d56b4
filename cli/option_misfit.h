#pragma once
// Options that do not apply to the formats of a command, in words: each
// option's formats come from the format table.
#include <string>
#include <vector>

#include "formats/format_table.h"

namespace velorin {

/// Which of the format-bound options a command was given.
struct GivenOptions {
  bool timestamp = false;
  bool csvEncoding = false;
  bool inputEncoding = false;
  bool nviFields = false;
};

/// The first option of `given` that applies to none of `inputs` (read) or
/// not to `output` (written), or a format this build cannot read or write:
/// one line without the program's name; empty when all is well.
std::string OptionMisfit(const GivenOptions& given, const std::vector<PointFormat>& inputs,
                         PointFormat output);

}  // namespace velorin
