#include "formats/geojson_reader.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

namespace velorin {

namespace {

// Iterative: the parser's own stack, not the call stack, grows with the
// nesting. One value at a time: the reader itself walks the top-level
// object and its "features". Numbers as texts: coordinates are parsed by
// ParseDecimalDegrees (correctly rounded), other numbers not at all. In
// place: strings are decoded in the stream's buffer (JsonSourceStream),
// numbers handed over where they stand, neither copied.
constexpr unsigned kParseFlags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag |
    rapidjson::kParseValidateEncodingFlag | rapidjson::kParseNumbersAsStringsFlag |
    rapidjson::kParseInsituFlag;

/// UTF-8 as the parser writes decoded strings in place, but for a \u escape
/// of a lone low surrogate (DC00 to DFFF), which it would write as the
/// three bytes of no character: the stream stops there instead, so that the
/// file is refused as it is for a lone high surrogate.
struct StrictUtf8 : rapidjson::UTF8<> {
  template <typename OutputStream>
  static void Encode(OutputStream& os, unsigned codepoint) {
    if (codepoint >= 0xDC00 && codepoint <= 0xDFFF) [[unlikely]] {
      os.StopAtLoneSurrogate();
      return;
    }
    rapidjson::UTF8<>::Encode(os, codepoint);
  }
};

/// A member's name, parsed as a JSON string of its own, handed on as a key.
struct KeyHandler : rapidjson::BaseReaderHandler<rapidjson::UTF8<>, KeyHandler> {
  explicit KeyHandler(GeoJsonHandler& handler) : target(handler) {}
  bool String(const char* text, rapidjson::SizeType length, bool copy) {
    return target.Key(text, length, copy);
  }
  bool Default() { return false; }
  GeoJsonHandler& target;
};

}  // namespace

struct GeoJsonReader::Parser {
  // In place, strings are decoded in the source's encoding.
  rapidjson::GenericReader<StrictUtf8, rapidjson::UTF8<>> reader;
};

GeoJsonReader::GeoJsonReader(ByteSource& source, std::size_t bufferSize, PointKinds kinds,
                             double thinMetres)
    : stream_(source, bufferSize),
      handler_(stream_, kinds, thinMetres),
      parser_(std::make_unique<Parser>()) {}

GeoJsonReader::~GeoJsonReader() = default;

bool GeoJsonReader::Next(ReadEntry& entry) {
  while (taken_ == handler_.readyCount()) {
    handler_.ClearReady();
    taken_ = 0;
    if (state_ == State::kDone || !Step()) {
      state_ = State::kDone;
      if (handler_.readyCount() == 0) return false;
    }
  }
  swap(entry, handler_.ReadyAt(taken_++));
  return true;
}

bool GeoJsonReader::Stop(int errorCode) {
  if (handler_.failure()) {
    FailWith(handler_.failure());
  } else if (stream_.readFailed()) {
    Fail(0, ReadErrorText(stream_.error()));
  } else if (stream_.tokenTooLong()) {
    Fail(stream_.Line(), "a single JSON string, number or run of white space longer than " +
                             std::to_string(JsonSourceStream::kMaxTokenSize) + " bytes");
  } else if (stream_.loneSurrogate()) {
    Fail(stream_.Line(),
         std::string("not a well-formed GeoJSON file: ") +
             rapidjson::GetParseError_En(rapidjson::kParseErrorStringUnicodeSurrogateInvalid));
  } else if (errorCode == rapidjson::kParseErrorDocumentEmpty) {
    // Only a value within the object can be missing: the file is cut off.
    Fail(stream_.Line(), "not a well-formed GeoJSON file: it ends where a value should follow");
  } else {
    const auto code = static_cast<rapidjson::ParseErrorCode>(errorCode);
    Fail(stream_.Line(),
         std::string("not a well-formed GeoJSON file: ") + rapidjson::GetParseError_En(code));
  }
  return false;
}

bool GeoJsonReader::StopAtHandler() {
  if (!handler_.failure()) return true;
  FailWith(handler_.failure());
  return false;
}

bool GeoJsonReader::ParseValue() {
  const rapidjson::ParseResult result = parser_->reader.Parse<kParseFlags>(stream_, handler_);
  if (handler_.TakePause()) {
    // The parser pauses at the end of an array or object, before it takes
    // the closing bracket; the containers it opened are the reader's to
    // walk now, each past a value of its own.
    stream_.Take();
    first_.resize(handler_.depth(), 0);
    return true;
  }
  return result.IsError() ? Stop(result.Code()) : StopAtHandler();
}

bool GeoJsonReader::ParseKey() {
  rapidjson::SkipWhitespace(stream_);
  if (stream_.Peek() != '"') return Stop(rapidjson::kParseErrorObjectMissName);
  KeyHandler keys(handler_);
  const rapidjson::ParseResult result = parser_->reader.Parse<kParseFlags>(stream_, keys);
  if (result.IsError()) return Stop(result.Code());
  return Expect(':', rapidjson::kParseErrorObjectMissColon);
}

bool GeoJsonReader::Expect(char c, int errorCode) {
  rapidjson::SkipWhitespace(stream_);
  if (stream_.Peek() != c) return Stop(errorCode);
  stream_.Take();
  stream_.MarkEvent();
  return true;
}

bool GeoJsonReader::Step() {
  // A feature that ended with many points hands them out first.
  if (handler_.emitting()) {
    handler_.EmitMore();
    return true;
  }
  rapidjson::SkipWhitespace(stream_);
  const char next = stream_.Peek();
  switch (state_) {
    case State::kStart:
      return StepStart(next);
    case State::kWalking:
      return StepWalk(next);
    case State::kTrailing:
      return StepTrailing(next);
    case State::kDone:
      return false;
  }
  return false;
}

bool GeoJsonReader::StepStart(char next) {
  if (stream_.LooksWide()) {
    Fail(1, "not UTF-8 (the file looks like UTF-16 or UTF-32): GeoJSON is read in UTF-8 only");
    return false;
  }
  if (next == '\0' && stream_.AtEnd() && !stream_.readFailed()) {
    Fail(stream_.Line(), "not a GeoJSON file: the file is empty");
    return false;
  }
  if (next != '{') {
    if (next == '\0') return Stop(rapidjson::kParseErrorValueInvalid);
    Fail(stream_.Line(), "not a GeoJSON file: it does not begin with a JSON object ('{')");
    return false;
  }
  stream_.Take();
  handler_.StartObject();
  first_.assign(1, 1);
  state_ = State::kWalking;
  return true;
}

bool GeoJsonReader::StepWalk(char next) {
  const bool array = handler_.InArray();
  const char close = array ? ']' : '}';
  if (first_.back() != 0) {
    if (next == close) return Close(array);
    first_.back() = 0;
  } else if (next == ',') {
    stream_.Take();
    stream_.MarkEvent();
  } else if (next == close) {
    return Close(array);
  } else {
    return Stop(array ? rapidjson::kParseErrorArrayMissCommaOrSquareBracket
                      : rapidjson::kParseErrorObjectMissCommaOrCurlyBracket);
  }
  if (!array && !ParseKey()) return false;
  return WalkValue();
}

bool GeoJsonReader::WalkValue() {
  rapidjson::SkipWhitespace(stream_);
  if (handler_.FeaturesNext() && stream_.Peek() == '[') {
    stream_.Take();
    handler_.StartArray();
    first_.push_back(1);
    return true;
  }
  return ParseValue();
}

bool GeoJsonReader::StepTrailing(char next) {
  if (next != '\0' || !stream_.AtEnd() || stream_.readFailed() || stream_.tokenTooLong()) {
    return Stop(rapidjson::kParseErrorDocumentRootNotSingular);
  }
  state_ = State::kDone;
  return false;
}

bool GeoJsonReader::Close(bool array) {
  stream_.Take();
  first_.pop_back();
  const bool ok = array ? handler_.EndArray(0) : handler_.EndObject(0);
  if (first_.empty()) state_ = State::kTrailing;
  if (handler_.TakePause()) return true;
  return ok || StopAtHandler();
}

}  // namespace velorin
