#pragma once
// The encoding of a text file chosen from its first bytes, as they come: a
// pipe that has gone quiet is not waited for, so that the first lines are
// converted before the rest arrives.
#include <optional>

#include "platform/line_reader.h"
#include "text/text_encoding.h"

namespace velorin {

/// The encoding of what `reader` is about to give: as told, or as what has
/// arrived of its first kEncodingSniffBytes says. A UTF-8 byte-order mark is
/// skipped, unless the text is told to be CP932.
DetectedEncoding TakeTextEncoding(LineReader& reader, std::optional<TextEncoding> told);

}  // namespace velorin
