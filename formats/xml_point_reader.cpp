#include "formats/xml_point_reader.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "text/ascii.h"
#include "text/iconv_converter.h"

namespace velorin {

namespace {

constexpr char kNamespaceSeparator = '\x01';

// Shift_JIS under its usual names: expat knows no Japanese encoding, so this
// one is told to it byte by byte, read as CP932 (what Japanese Windows
// programs mean by Shift_JIS).
constexpr const char* kShiftJisNames[] = {"shift_jis",   "shift-jis", "sjis",    "x-sjis",
                                          "windows-31j", "cp932",     "ms_kanji"};

bool IsShiftJisName(std::string_view name) {
  for (const char* known : kShiftJisNames) {
    if (EqualsIgnoringAsciiCase(name, known)) return true;
  }
  return false;
}

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
/// failure that names it.
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

}  // namespace

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
  XML_SetStartDoctypeDeclHandler(parser_, &DoctypeHandler);
  XML_SetSkippedEntityHandler(parser_, &SkippedEntityHandler);
  XML_SetUnknownEncodingHandler(parser_, &ShiftJisEncoding, &encoding_);
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
  swap(entry, queue_[taken_++]);
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
  entry.point.titleTidied = false;
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

XmlName XmlPointReader::Split(const char* name) {
  // XML names hold no U+0001: the first one is expat's separator.
  XmlName split;
  const char* separator = std::strchr(name, kNamespaceSeparator);
  if (separator == nullptr) {
    split.local = name;
  } else {
    split.space = {name, static_cast<std::size_t>(separator - name)};
    split.local = separator + 1;
  }
  if (split.space.empty()) {
    split.own = true;
  } else if (split.space == lastSpace_) {
    split.own = lastSpaceOwn_;
  } else {
    split.own = IsOwnNamespace(split.space);
    lastSpace_.assign(split.space);
    lastSpaceOwn_ = split.own;
  }
  return split;
}

bool XmlPointReader::PassesOver(const XmlName& name, std::string_view readName) {
  const std::string_view local = name.local;
  if (name.own && local == readName) return false;
  if (!EqualsIgnoringAsciiCase(local, readName)) return false;
  if (ignored_.unreadElements++ == 0) {
    ignored_.unreadName = local;
    ignored_.unreadNote = local == readName ? "in namespace " + std::string(name.space)
                                            : "(not <" + std::string(readName) + ">)";
  }
  return true;
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
    if (!failure() && XML_GetErrorCode(parser_) == XML_ERROR_UNKNOWN_ENCODING) {
      Fail(CurrentLine(), "the " + formatName_ + " file is in " + encoding_ +
                              ", which is not read (UTF-8, UTF-16, ISO-8859-1, US-ASCII and "
                              "Shift_JIS are)");
    }
    if (!failure()) {
      Fail(static_cast<std::int64_t>(XML_GetCurrentLineNumber(parser_)),
           std::string("not a well-formed ") + formatName_ +
               " file: " + XML_ErrorString(XML_GetErrorCode(parser_)));
    }
    return false;
  }
  if (failure()) return false;
  if (eventSeen_) NoteProgress();
  if (fed_ - lastEvent_ > kMaxMarkupSize) {
    Fail(CurrentLine(),
         "a single piece of markup longer than " + std::to_string(kMaxMarkupSize) + " bytes");
    return false;
  }
  return !last;
}

void XmlPointReader::NoteProgress() {
  // Asked once a chunk, not at every event: after a parse that reported
  // events, expat's position is that of the last of them (or of the markup
  // it waits to see the end of).
  eventSeen_ = false;
  const XML_Index at = XML_GetCurrentByteIndex(parser_);
  if (at > 0) lastEvent_ = std::max(lastEvent_, static_cast<std::uint64_t>(at));
}

void XmlPointReader::StartHandler(void* self, const char* name, const char** attributes) {
  auto& reader = *static_cast<XmlPointReader*>(self);
  if (reader.failure()) return;  // expat may call on for a moment after a stop
  reader.eventSeen_ = true;
  if (++reader.depth_ > kMaxDepth) {
    reader.Stop("elements nested more than " + std::to_string(kMaxDepth) + " deep: refused");
    return;
  }
  const XmlName split = reader.Split(name);
  reader.open_[static_cast<std::size_t>(reader.depth_ - 1)] = {name, split};
  if (reader.depth_ == 1 && split.local != reader.rootName_) {
    reader.Stop("not a " + reader.formatName_ + " file: the document element is <" +
                std::string(split.local) + ">, not <" + reader.rootName_ + ">");
    return;
  }
  // Text is collected from leaf elements only.
  reader.collecting_ = reader.streaming_ = false;
  reader.OnStart(split, reader.depth_, attributes);
}

void XmlPointReader::EndHandler(void* self, const char* name) {
  auto& reader = *static_cast<XmlPointReader*>(self);
  if (reader.failure()) return;
  reader.eventSeen_ = true;
  // expat ends an element with the name it began it with, still held: the
  // split made then serves (split again should the name be elsewhere).
  const OpenElement& open = reader.open_[static_cast<std::size_t>(reader.depth_ - 1)];
  reader.streaming_ = false;
  reader.OnEnd(open.name == name ? open.split : reader.Split(name), reader.depth_);
  reader.collecting_ = false;
  --reader.depth_;
}

void XmlPointReader::TextHandler(void* self, const char* text, int length) {
  auto& reader = *static_cast<XmlPointReader*>(self);
  reader.eventSeen_ = true;
  if (reader.streaming_) reader.OnText({text, static_cast<std::size_t>(length)});
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

void XmlPointReader::DoctypeHandler(void* self, const char*, const char*, const char*,
                                    int internalSubset) {
  if (internalSubset == 0) return;  // a named external DTD alone is never read
  static_cast<XmlPointReader*>(self)->Stop(
      "the file has a DTD of its own, which is refused (its entities can expand without bound "
      "or read other files, its defaults add attributes the file does not show)");
}

void XmlPointReader::SkippedEntityHandler(void* self, const char* name, int) {
  // expat passes over a reference it cannot resolve when an external DTD is
  // named: reading on would drop text silently.
  static_cast<XmlPointReader*>(self)->Stop(std::string("the entity &") + name +
                                           "; is not defined in the file");
}

}  // namespace velorin
