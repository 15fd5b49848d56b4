// The XML parser through expat, fed chunk by chunk.
#include <expat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "formats/point_reader.h"
#include "formats/xml_parser.h"
#include "platform/iconv_converter_posix.h"

namespace velorin {

namespace {

/// One double-byte CP932 character to its Unicode scalar, or -1.
int ConvertCp932Pair(void* data, const char* bytes) {
  auto& converter = *static_cast<IconvConverter*>(data);
  std::string_view pair(bytes, 2);
  std::string output;
  if (converter.Convert(pair, output) != IconvConverter::Stop::kDone || output.size() != 4) {
    converter.Reset();
    return -1;
  }
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(output[i]); };
  return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

void ReleaseCp932(void* data) { delete static_cast<IconvConverter*>(data); }

/// `data`: where the name of an encoding expat lacks is kept, for the
/// failure that names it. expat knows no Japanese encoding: Shift_JIS is
/// told to it byte by byte.
int ShiftJisEncoding(void* data, const XML_Char* name, XML_Encoding* info) {
  *static_cast<std::string*>(data) = name;
  if (!IsShiftJisName(name)) return XML_STATUS_ERROR;
  auto converter = std::make_unique<IconvConverter>("UTF-32LE", "CP932");
  if (!converter->valid()) return XML_STATUS_ERROR;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte < 0x80) {
      info->map[byte] = byte;
    } else if (byte >= 0xA1 && byte <= 0xDF) {
      info->map[byte] = 0xFF61 + (byte - 0xA1);  // half-width katakana
    } else if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) {
      info->map[byte] = -2;  // the lead byte of a two-byte character
    } else {
      info->map[byte] = -1;
    }
  }
  info->data = converter.release();
  info->convert = &ConvertCp932Pair;
  info->release = &ReleaseCp932;
  return XML_STATUS_OK;
}

class ExpatParser : public XmlParser {
 public:
  ExpatParser(ByteSource& source, XmlHandler& handler, std::string_view formatName);
  ~ExpatParser() override {
    if (parser_ != nullptr) XML_ParserFree(parser_);
  }
  ExpatParser(const ExpatParser&) = delete;
  ExpatParser& operator=(const ExpatParser&) = delete;

  bool ParseMore() override;
  std::int64_t CurrentLine() const override {
    return static_cast<std::int64_t>(XML_GetCurrentLineNumber(parser_));
  }
  void Stop() override { XML_StopParser(parser_, XML_FALSE); }
  void WantText(bool want) override {
    if (want == textWanted_ || parser_ == nullptr) return;
    textWanted_ = want;
    XML_SetCharacterDataHandler(parser_, want ? &TextHandler : nullptr);
  }

 private:
  static void StartHandler(void* self, const char* name, const char** attributes);
  static void EndHandler(void* self, const char* name);
  static void TextHandler(void* self, const char* text, int length);
  static void EntityHandler(void* self, const char* name, int parameterEntity, const char* value,
                            int valueLength, const char* base, const char* systemId,
                            const char* publicId, const char* notation);
  static void DoctypeHandler(void* self, const char* name, const char* systemId,
                             const char* publicId, int internalSubset);
  static void SkippedEntityHandler(void* self, const char* name, int parameterEntity);
  /// Fails the document with expat's words for why it stopped.
  void ParseFailed();
  /// Keeps where expat got to, for the check on a single piece of markup.
  void NoteProgress();
  void Refuse(std::string message) {
    handler_.OnFailure(CurrentLine(), std::move(message));
    Stop();
  }

  ByteSource& source_;
  XmlHandler& handler_;
  std::string formatName_;
  XML_Parser parser_;
  std::string encoding_;         ///< the declared encoding expat does not know
  std::uint64_t fed_ = 0;        ///< bytes given to expat
  std::uint64_t lastEvent_ = 0;  ///< byte offset of the latest event
  bool eventSeen_ = false;       ///< in the chunk being parsed
  bool textWanted_ = true;       ///< the text handler is set
  std::int64_t openElements_ = 0;
};

ExpatParser::ExpatParser(ByteSource& source, XmlHandler& handler, std::string_view formatName)
    : source_(source),
      handler_(handler),
      formatName_(formatName),
      parser_(XML_ParserCreateNS(nullptr, kXmlNamespaceSeparator)) {
  if (parser_ == nullptr) return;
  XML_SetUserData(parser_, this);
  XML_SetElementHandler(parser_, &StartHandler, &EndHandler);
  XML_SetCharacterDataHandler(parser_, &TextHandler);
  XML_SetEntityDeclHandler(parser_, &EntityHandler);
  XML_SetStartDoctypeDeclHandler(parser_, &DoctypeHandler);
  XML_SetSkippedEntityHandler(parser_, &SkippedEntityHandler);
  XML_SetUnknownEncodingHandler(parser_, &ShiftJisEncoding, &encoding_);
  // Never read an external DTD or parameter entity.
  XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

bool ExpatParser::ParseMore() {
  void* buffer =
      parser_ == nullptr ? nullptr : XML_GetBuffer(parser_, static_cast<int>(kChunkSize));
  if (buffer == nullptr) {
    handler_.OnFailure(parser_ == nullptr ? 0 : CurrentLine(), "out of memory");
    return false;
  }
  const std::ptrdiff_t count = source_.Read(static_cast<char*>(buffer), kChunkSize);
  if (count < 0) {
    handler_.OnFailure(0, ReadErrorText(source_.error()));
    return false;
  }
  const bool last = count == 0;
  fed_ += static_cast<std::uint64_t>(count);
  if (XML_ParseBuffer(parser_, static_cast<int>(count), last) != XML_STATUS_OK) {
    ParseFailed();
    return false;
  }
  if (handler_.failed()) return false;
  // Text left out is progress all the same: inside the document element a
  // chunk that reported nothing else was text (or markup that is still
  // open, where expat's position stays).
  if (eventSeen_ || (openElements_ > 0 && !textWanted_)) NoteProgress();
  if (fed_ - lastEvent_ > kMaxMarkupSize) {
    handler_.OnFailure(CurrentLine(), MarkupTooLongText());
    return false;
  }
  return !last;
}

void ExpatParser::ParseFailed() {
  if (handler_.failed()) return;
  if (XML_GetErrorCode(parser_) == XML_ERROR_UNKNOWN_ENCODING) {
    handler_.OnFailure(CurrentLine(), UnknownEncodingText(formatName_, encoding_));
    return;
  }
  handler_.OnFailure(CurrentLine(),
                     NotWellFormedText(formatName_, XML_ErrorString(XML_GetErrorCode(parser_))));
}

void ExpatParser::NoteProgress() {
  // Asked once a chunk, not at every event: after a parse that reported
  // events, expat's position is that of the last of them (or of the markup
  // it waits to see the end of).
  eventSeen_ = false;
  const XML_Index at = XML_GetCurrentByteIndex(parser_);
  if (at > 0) lastEvent_ = std::max(lastEvent_, static_cast<std::uint64_t>(at));
}

void ExpatParser::StartHandler(void* self, const char* name, const char** attributes) {
  auto& parser = *static_cast<ExpatParser*>(self);
  ++parser.openElements_;
  if (parser.handler_.failed()) return;  // expat may call on for a moment after a stop
  parser.eventSeen_ = true;
  parser.handler_.OnElementStart(name, attributes);
}

void ExpatParser::EndHandler(void* self, const char* name) {
  auto& parser = *static_cast<ExpatParser*>(self);
  --parser.openElements_;
  if (parser.handler_.failed()) return;
  parser.eventSeen_ = true;
  parser.handler_.OnElementEnd(name);
}

void ExpatParser::TextHandler(void* self, const char* text, int length) {
  auto& parser = *static_cast<ExpatParser*>(self);
  parser.eventSeen_ = true;
  parser.handler_.OnCharacterData(text, static_cast<std::size_t>(length));
}

void ExpatParser::EntityHandler(void* self, const char*, int, const char*, int, const char*,
                                const char*, const char*, const char*) {
  static_cast<ExpatParser*>(self)->Refuse(EntitiesDeclaredText());
}

void ExpatParser::DoctypeHandler(void* self, const char*, const char*, const char*,
                                 int internalSubset) {
  if (internalSubset == 0) return;  // a named external DTD alone is never read
  static_cast<ExpatParser*>(self)->Refuse(OwnDtdText());
}

void ExpatParser::SkippedEntityHandler(void* self, const char* name, int) {
  // expat passes over a reference it cannot resolve when an external DTD is
  // named: reading on would drop text silently.
  static_cast<ExpatParser*>(self)->Refuse(UndefinedEntityText(name));
}

}  // namespace

std::unique_ptr<XmlParser> MakeXmlParser(ByteSource& source, XmlHandler& handler,
                                         std::string_view formatName) {
  return std::make_unique<ExpatParser>(source, handler, formatName);
}

}  // namespace velorin
