#pragma once
// A document type declaration that only names an external DTD
// (`<!DOCTYPE gpx SYSTEM "gpx.dtd">`) says nothing a reader of points needs:
// the DTD is never read. Found in the document's first bytes, it can be
// passed over by a parser that refuses every DTD, so that such files are
// read as expat reads them; a declaration with a DTD of its own (an
// internal subset in brackets) is never passed over.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velorin {

struct ByteSpan {
  std::size_t begin = 0;
  std::size_t end = 0;  ///< one past the declaration's '>'
  bool operator==(const ByteSpan&) const = default;
};

/// Where in `head` (the first bytes of a UTF-8 document) its document type
/// declaration lies when it only names an external DTD and ends within
/// `head`; nullopt when there is no declaration, it has an internal subset,
/// it is malformed or it does not end within `head`.
std::optional<ByteSpan> FindExternalDoctype(std::string_view head);

/// Turns the bytes of `span` in `text` into spaces, keeping the line ends,
/// so that the lines of what follows stay where they were.
void BlankOut(std::string& text, ByteSpan span);

}  // namespace velorin
