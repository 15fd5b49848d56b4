#pragma once
// Text put safely into XML, CSV and JSON output.
#include <string_view>

#include "platform/buffered_writer.h"

namespace velorin {

/// Appends UTF-8 text as XML character data or attribute value: & < > " '
/// and TAB, LF, CR become references. The text holds no character XML 1.0
/// forbids (the run's title rule saw to that).
void AppendXmlText(BufferedWriter& out, std::string_view utf8);

/// Appends one CSV field (RFC 4180): quoted, with inner quotes doubled, when
/// it holds the delimiter, a quote, CR or LF, or begins or ends with a blank.
void AppendCsvField(BufferedWriter& out, std::string_view text, char delimiter = ',');

/// Appends UTF-8 text as a JSON string (RFC 8259), quotes included: '"' and
/// '\\' escaped, control characters as \n, \t ... or \u00XX, every other
/// character as it is (non-ASCII as UTF-8). Nothing is lost.
void AppendJsonString(BufferedWriter& out, std::string_view utf8);

}  // namespace velorin
