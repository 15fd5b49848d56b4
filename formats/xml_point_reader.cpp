#include "formats/xml_point_reader.h"

#include <expat.h>

namespace velorin {

namespace {

constexpr char kNamespaceSeparator = '\x01';

}  // namespace

std::string_view LocalName(std::string_view name) {
  const std::size_t separator = name.rfind(kNamespaceSeparator);
  return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

std::string_view NamespaceOf(std::string_view name) {
  const std::size_t separator = name.rfind(kNamespaceSeparator);
  return separator == std::string_view::npos ? std::string_view() : name.substr(0, separator);
}

const char* FindAttribute(const char** attributes, std::string_view name) {
  for (const char** at = attributes; at[0] != nullptr; at += 2) {
    if (std::string_view(at[0]) == name) return at[1];
  }
  return nullptr;
}

XmlPointReader::XmlPointReader(ByteSource& source, std::string_view rootName,
                               std::string_view formatName)
    : source_(source),
      parser_(XML_ParserCreateNS(nullptr, kNamespaceSeparator)),
      rootName_(rootName),
      formatName_(formatName) {
  if (parser_ == nullptr) {
    Fail(0, "out of memory");
    finished_ = true;
    return;
  }
  XML_SetUserData(parser_, this);
  XML_SetElementHandler(parser_, &StartHandler, &EndHandler);
  XML_SetCharacterDataHandler(parser_, &TextHandler);
  XML_SetEntityDeclHandler(parser_, &EntityHandler);
  // Never read an external DTD or parameter entity.
  XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlPointReader::~XmlPointReader() {
  if (parser_ != nullptr) XML_ParserFree(parser_);
}

bool XmlPointReader::Next(ReadEntry& entry) {
  while (taken_ == queued_) {
    taken_ = queued_ = 0;
    if (finished_ || !ParseMore()) {
      finished_ = true;
      if (taken_ == queued_) return false;
    }
  }
  std::swap(entry, queue_[taken_++]);
  return true;
}

ReadEntry& XmlPointReader::Emit() {
  if (queued_ == queue_.size()) queue_.emplace_back();
  ReadEntry& entry = queue_[queued_++];
  entry.isPoint = true;
  entry.skip = SkipKind::kMalformed;
  entry.reason.clear();
  entry.point.title.clear();
  entry.point.titleApproximated = false;
  entry.point.line = CurrentLine();
  return entry;
}

std::int64_t XmlPointReader::CurrentLine() const {
  return static_cast<std::int64_t>(XML_GetCurrentLineNumber(parser_));
}

void XmlPointReader::Stop(std::string message) {
  Fail(CurrentLine(), std::move(message));
  XML_StopParser(parser_, XML_FALSE);
}

bool XmlPointReader::ParseMore() {
  void* buffer = XML_GetBuffer(parser_, static_cast<int>(kChunkSize));
  if (buffer == nullptr) {
    Fail(CurrentLine(), "out of memory");
    return false;
  }
  const std::ptrdiff_t count = source_.Read(static_cast<char*>(buffer), kChunkSize);
  if (count < 0) {
    Fail(0, ReadErrorText(source_.error()));
    return false;
  }
  const bool last = count == 0;
  fed_ += static_cast<std::uint64_t>(count);
  if (XML_ParseBuffer(parser_, static_cast<int>(count), last) != XML_STATUS_OK) {
    if (!failure()) {
      Fail(static_cast<std::int64_t>(XML_GetCurrentLineNumber(parser_)),
           std::string("not a well-formed ") + formatName_ +
               " file: " + XML_ErrorString(XML_GetErrorCode(parser_)));
    }
    return false;
  }
  if (failure()) return false;
  if (fed_ - lastEvent_ > kMaxMarkupSize) {
    Fail(CurrentLine(),
         "a single piece of markup longer than " + std::to_string(kMaxMarkupSize) + " bytes");
    return false;
  }
  return !last;
}

void XmlPointReader::NoteProgress() {
  const XML_Index at = XML_GetCurrentByteIndex(parser_);
  if (at > 0) lastEvent_ = static_cast<std::uint64_t>(at);
}

void XmlPointReader::StartHandler(void* self, const char* name, const char** attributes) {
  auto& reader = *static_cast<XmlPointReader*>(self);
  if (reader.failure()) return;  // expat may call on for a moment after a stop
  reader.NoteProgress();
  ++reader.depth_;
  const std::string_view local = LocalName(name);
  if (reader.depth_ == 1 && local != reader.rootName_) {
    reader.Stop("not a " + reader.formatName_ + " file: the document element is <" +
                std::string(local) + ">, not <" + reader.rootName_ + ">");
    return;
  }
  reader.collecting_ = false;  // text is collected from leaf elements only
  reader.OnStart(name, reader.depth_, attributes);
}

void XmlPointReader::EndHandler(void* self, const char* name) {
  auto& reader = *static_cast<XmlPointReader*>(self);
  if (reader.failure()) return;
  reader.NoteProgress();
  reader.OnEnd(name, reader.depth_);
  reader.collecting_ = false;
  --reader.depth_;
}

void XmlPointReader::TextHandler(void* self, const char* text, int length) {
  auto& reader = *static_cast<XmlPointReader*>(self);
  reader.NoteProgress();
  if (!reader.collecting_) return;
  const std::size_t room = kMaxTextSize - reader.text_.size();
  const auto size = static_cast<std::size_t>(length);
  if (size > room) reader.textOverflow_ = true;
  reader.text_.append(text, std::min(size, room));
}

void XmlPointReader::EntityHandler(void* self, const char*, int, const char*, int, const char*,
                                   const char*, const char*, const char*) {
  auto& reader = *static_cast<XmlPointReader*>(self);
  reader.Stop(
      "the file declares entities, which are refused (they can expand without bound or "
      "read other files)");
}

}  // namespace velorin
