#pragma once
// The streaming XML parser under the GPX and KML readers: it reads a byte
// source in chunks and hands elements and text to a handler, with namespace
// processing. The build chooses it: expat (xml_parser_expat.cpp), or on
// Windows the system's XmlLite (xml_parser_xmllite_win32.cpp). Both refuse
// the same hostile documents with the same words: a DTD of the document's
// own, an entity never defined, a single piece of markup larger than
// kMaxMarkupSize.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_stream.h"

namespace velorin {

/// Between a namespace and the local name in the names handed on: XML names
/// hold no U+0001.
constexpr char kXmlNamespaceSeparator = '\x01';

/// What a parser reports, in document order.
class XmlHandler {
 public:
  /// `name`: "uri\x01local", or "local" in no namespace. `attributes`: name,
  /// value pairs ending with nullptr; unprefixed names are local, and
  /// namespace declarations are not among them.
  virtual void OnElementStart(const char* name, const char** attributes) = 0;
  virtual void OnElementEnd(const char* name) = 0;
  /// Character data, in pieces of any size.
  virtual void OnCharacterData(const char* text, std::size_t length) = 0;
  /// The document cannot be read on; nothing more is reported after it.
  virtual void OnFailure(std::int64_t line, std::string message) = 0;
  /// Whether the handler stopped the document (it failed it).
  virtual bool failed() const = 0;

 protected:
  ~XmlHandler() = default;
};

class XmlParser {
 public:
  /// Bytes read from the source at a time.
  static constexpr std::size_t kChunkSize = 1 << 18;
  /// The most bytes the parser may hold waiting for one piece of markup to
  /// end.
  static constexpr std::size_t kMaxMarkupSize = 1 << 20;

  virtual ~XmlParser() = default;
  /// Reads and parses the next chunk; false at the end of the document or
  /// after a failure (the handler has been told).
  virtual bool ParseMore() = 0;
  /// The line of the latest event (1 for the first).
  virtual std::int64_t CurrentLine() const = 0;
  /// Stops the parse: from a handler that failed the document.
  virtual void Stop() = 0;
  /// Whether the handler takes the character data from here on (it is
  /// taken from the start). A parser may then leave out the text nobody
  /// reads, most of a document, rather than hand it over piece by piece.
  virtual void WantText(bool /*want*/) {}
};

/// `formatName` ("GPX") names the file in the failures.
std::unique_ptr<XmlParser> MakeXmlParser(ByteSource& source, XmlHandler& handler,
                                         std::string_view formatName);

/// Shift_JIS under its usual names, read as CP932 (what Japanese Windows
/// programs mean by Shift_JIS).
bool IsShiftJisName(std::string_view name);

/// The failures both parsers word alike.
std::string UnknownEncodingText(std::string_view formatName, std::string_view encoding);
std::string NotWellFormedText(std::string_view formatName, std::string_view why);
std::string MarkupTooLongText();
std::string OwnDtdText();
std::string EntitiesDeclaredText();
std::string UndefinedEntityText(std::string_view name);

}  // namespace velorin
