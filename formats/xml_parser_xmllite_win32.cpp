// The XML parser through XmlLite, the XML reader every Windows since XP SP3
// ships: loaded from xmllite.dll when a GPX or KML file is first read, so
// that no import library is needed and other runs never load it. XmlLite
// pulls the document through XmlSourceStream; its UTF-16 names and texts
// are handed on as UTF-8.
#include <windows.h>
//
#include <xmllite.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "formats/point_reader.h"
#include "formats/xml_parser.h"
#include "formats/xml_source_stream_win32.h"
#include "platform/shared_library.h"
#include "platform/wide_text_win32.h"

namespace velorin {

namespace {

constexpr const char* kLibraryName = "xmllite.dll";
constexpr std::wstring_view kXmlnsUri = L"http://www.w3.org/2000/xmlns/";

/// XmlLite's own limit on nesting, well past the readers' (which then fail
/// with their own words first); a stack of names as deep is kept.
constexpr UINT kMaxParserDepth = 1024;
/// Nodes read for one ParseMore: a few points' worth.
constexpr int kNodesPerCall = 256;
/// UTF-16 units of a text read at a time: a text of any length is read in
/// pieces, as expat hands it on, so that the readers' limits on a name or a
/// description apply instead of the limit on a piece of markup.
constexpr UINT kTextPiece = 4096;
/// The most UTF-16 units of a text held until the node after it tells on
/// which lines the text lies; a longer text goes on as it is read.
constexpr std::size_t kHeldTextSize = 1 << 16;

using CreateXmlReaderFunction = decltype(&::CreateXmlReader);

struct XmlLiteApi {
  std::unique_ptr<SharedLibrary> library;
  CreateXmlReaderFunction create = nullptr;
  std::string error;

  XmlLiteApi() {
    library = SharedLibrary::Open(kLibraryName, error);
    if (!library) return;
    create = reinterpret_cast<CreateXmlReaderFunction>(library->Find("CreateXmlReader"));
    if (create == nullptr) error = std::string("no CreateXmlReader in ") + kLibraryName;
  }
};

const XmlLiteApi& XmlLite() {
  static const XmlLiteApi api;
  return api;
}

std::string Utf8(const WCHAR* text, UINT length) {
  return Narrow(std::wstring_view(text, length)).value_or("\xEF\xBF\xBD");
}

class XmlLiteParser : public XmlParser {
 public:
  XmlLiteParser(ByteSource& source, XmlHandler& handler, std::string_view formatName);
  ~XmlLiteParser() override {
    if (reader_ != nullptr) reader_->Release();
    stream_->Release();
  }
  XmlLiteParser(const XmlLiteParser&) = delete;
  XmlLiteParser& operator=(const XmlLiteParser&) = delete;

  bool ParseMore() override;
  std::int64_t CurrentLine() const override { return line_; }
  void Stop() override { stopped_ = true; }

 private:
  /// Sets up the reader; the words for why it could not be, or "".
  std::string Start();
  /// Whether the reader returned the node before again at the end of the
  /// input (then the handler has been told).
  bool Stuck(XmlNodeType type);
  /// Whether the failure `result` is the end of the input, as Wine reports it.
  bool InputEnded(HRESULT result) const;
  void Handle(XmlNodeType type);
  void StartElement();
  /// The current node's name as handed on: "uri\x01local" or "local".
  void Name(std::string& into);
  void CollectAttributes();
  void Text();
  /// Takes `length` units of the current text; whether to read on.
  bool TakeText(const WCHAR* text, UINT length);
  /// Hands on the text held, line by line, now that the node after it has
  /// been read; whether to read on.
  bool FlushText();
  /// Hands on `length` units of `text`; whether to read on.
  bool HandOnText(const WCHAR* text, std::size_t length);
  void Failed(HRESULT result);
  /// The document's encoding or its bytes refused.
  void Refused(const XmlUtf8Source& document);
  std::string ErrorText(HRESULT result) const;

  XmlHandler& handler_;
  std::string formatName_;
  XmlSourceStream* stream_;
  IXmlReader* reader_ = nullptr;
  std::string startFailure_;
  std::vector<std::string> names_;  ///< of the open elements, by depth
  std::size_t depth_ = 0;
  std::vector<std::string> attributeTexts_;
  std::vector<const char*> attributes_;
  std::int64_t line_ = 1;
  /// The text read last, until the node after it is read: XmlLite gives a
  /// text one line (under Wine the line where it ends), expat the line of
  /// each piece, which the lines of coordinates in KML depend on.
  std::wstring heldText_;
  bool textTooLong_ = false;  ///< the current text goes on unheld
  struct Position {
    XmlNodeType type = XmlNodeType_None;
    UINT line = 0;
    UINT column = 0;
    bool operator==(const Position&) const = default;
  };
  Position last_;  ///< of the node read before
  bool elementSeen_ = false;
  bool stopped_ = false;
};

XmlLiteParser::XmlLiteParser(ByteSource& source, XmlHandler& handler, std::string_view formatName)
    : handler_(handler),
      formatName_(formatName),
      stream_(new XmlSourceStream(source)),
      names_(kMaxParserDepth + 1) {
  startFailure_ = Start();
}

std::string XmlLiteParser::Start() {
  const XmlLiteApi& api = XmlLite();
  if (api.create == nullptr) {
    return "reading " + formatName_ + " files needs " + kLibraryName +
           ", which could not be loaded: " + api.error;
  }
  if (FAILED(api.create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader_), nullptr))) {
    reader_ = nullptr;
    return "out of memory";
  }
  // A DTD is refused outright: its entities can expand without bound or
  // read other files, and its defaults add attributes the file does not
  // show.
  if (FAILED(reader_->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
      FAILED(reader_->SetProperty(XmlReaderProperty_MaxElementDepth, kMaxParserDepth)) ||
      FAILED(reader_->SetInput(static_cast<IStream*>(stream_)))) {
    return "XmlLite could not be set up";
  }
  return {};
}

bool XmlLiteParser::ParseMore() {
  if (!startFailure_.empty()) {
    handler_.OnFailure(0, startFailure_);
    return false;
  }
  for (int nodes = 0; nodes < kNodesPerCall; ++nodes) {
    XmlNodeType type = XmlNodeType_None;
    const HRESULT result = reader_->Read(&type);
    // The stream's refusal ends the document, whatever Read says (XmlLite
    // under Wine goes on returning nodes after it).
    if (stream_->stop() != XmlSourceStream::Stop::kNone) {
      Failed(FAILED(result) ? result : E_FAIL);
      return false;
    }
    if (result == S_FALSE) return false;  // the end of the document
    if (FAILED(result)) {
      Failed(InputEnded(result) ? static_cast<HRESULT>(MX_E_INPUTEND) : result);
      return false;
    }
    if (Stuck(type) || !FlushText()) return false;
    Handle(type);
    stream_->NoteEvent();
    if (stopped_ || handler_.failed()) return false;
  }
  return true;
}

bool XmlLiteParser::InputEnded(HRESULT result) const {
  // XmlLite under Wine meets the end of a document cut off inside a name as
  // a character no name may hold, or waits for more (E_PENDING).
  return result == E_PENDING ||
         (stream_->ended() && result == static_cast<HRESULT>(NC_E_QNAMECHARACTER));
}

bool XmlLiteParser::Stuck(XmlNodeType type) {
  UINT line = 0;
  UINT column = 0;
  if (SUCCEEDED(reader_->GetLineNumber(&line))) line_ = line;
  reader_->GetLinePosition(&column);
  const Position position{type, line, column};
  // At the end of a document cut off between two pieces of markup, XmlLite
  // under Wine returns the last node again and again instead of failing.
  const bool stuck = stream_->ended() && position == last_;
  last_ = position;
  if (stuck) {
    handler_.OnFailure(line_, NotWellFormedText(formatName_, "no element found"));
  }
  return stuck;
}

void XmlLiteParser::Handle(XmlNodeType type) {
  switch (type) {
    case XmlNodeType_Element:
      StartElement();
      break;
    case XmlNodeType_EndElement:
      if (depth_ > 0) handler_.OnElementEnd(names_[--depth_].c_str());
      break;
    case XmlNodeType_Text:
    case XmlNodeType_CDATA:
    case XmlNodeType_Whitespace:
      Text();
      break;
    default:
      break;  // declarations, comments, processing instructions
  }
}

void XmlLiteParser::Name(std::string& into) {
  const WCHAR* uri = nullptr;
  UINT uriLength = 0;
  const WCHAR* local = nullptr;
  UINT localLength = 0;
  reader_->GetNamespaceUri(&uri, &uriLength);
  reader_->GetLocalName(&local, &localLength);
  into.clear();
  if (uriLength > 0) {
    into = Utf8(uri, uriLength);
    into += kXmlNamespaceSeparator;
  }
  into += Utf8(local, localLength);
}

void XmlLiteParser::StartElement() {
  elementSeen_ = true;
  const bool empty = reader_->IsEmptyElement() != FALSE;
  std::string& name = names_[depth_];
  Name(name);
  CollectAttributes();
  handler_.OnElementStart(name.c_str(), attributes_.data());
  if (empty) {
    if (!stopped_ && !handler_.failed()) handler_.OnElementEnd(name.c_str());
  } else if (depth_ < kMaxParserDepth) {
    ++depth_;
  }
}

void XmlLiteParser::CollectAttributes() {
  attributeTexts_.clear();
  for (HRESULT at = reader_->MoveToFirstAttribute(); at == S_OK;
       at = reader_->MoveToNextAttribute()) {
    const WCHAR* uri = nullptr;
    UINT uriLength = 0;
    reader_->GetNamespaceUri(&uri, &uriLength);
    if (std::wstring_view(uri, uriLength) == kXmlnsUri) continue;  // a declaration
    attributeTexts_.emplace_back();
    Name(attributeTexts_.back());
    const WCHAR* value = nullptr;
    UINT valueLength = 0;
    reader_->GetValue(&value, &valueLength);
    attributeTexts_.push_back(Utf8(value, valueLength));
  }
  reader_->MoveToElement();
  attributes_.clear();
  for (const std::string& text : attributeTexts_) attributes_.push_back(text.c_str());
  attributes_.push_back(nullptr);
}

void XmlLiteParser::Text() {
  // One unit more for the first half of a surrogate pair that a piece ends
  // with: it goes on with the next piece.
  WCHAR piece[kTextPiece + 1];
  UINT held = 0;
  for (;;) {
    UINT count = 0;
    const HRESULT result = reader_->ReadValueChunk(piece + held, kTextPiece, &count);
    // A failure shows again at the next Read, which reports it.
    if (FAILED(result)) return;
    count += held;
    held = result == S_OK && count > 0 && IS_HIGH_SURROGATE(piece[count - 1]) ? 1 : 0;
    if (!TakeText(piece, count - held)) return;
    if (result != S_OK || count == 0) return;
    if (held != 0) piece[0] = piece[count - 1];
  }
}

bool XmlLiteParser::TakeText(const WCHAR* text, UINT length) {
  if (!textTooLong_ && heldText_.size() + length <= kHeldTextSize) {
    heldText_.append(text, length);
    stream_->NoteEvent();
    return true;
  }
  // Too long to hold: on as it comes, at the line XmlLite gives.
  textTooLong_ = true;
  const std::wstring held = std::move(heldText_);
  heldText_.clear();
  return HandOnText(held.data(), held.size()) && HandOnText(text, length);
}

bool XmlLiteParser::FlushText() {
  textTooLong_ = false;
  if (heldText_.empty()) return true;
  // The node after a text starts where the text ends: its line less the
  // line ends in the text is where the text starts, whichever line XmlLite
  // gives the text itself.
  const std::int64_t next = line_;
  line_ = next - std::count(heldText_.begin(), heldText_.end(), L'\n');
  bool goOn = true;
  for (std::size_t start = 0; goOn && start < heldText_.size(); ++line_) {
    const std::size_t end = std::min(heldText_.find(L'\n', start), heldText_.size() - 1) + 1;
    goOn = HandOnText(heldText_.data() + start, end - start);
    start = end;
  }
  heldText_.clear();
  line_ = next;
  return goOn;
}

bool XmlLiteParser::HandOnText(const WCHAR* text, std::size_t length) {
  if (length > 0) {
    const std::string utf8 = Utf8(text, static_cast<UINT>(length));
    handler_.OnCharacterData(utf8.data(), utf8.size());
  }
  // Each piece is an event: what the parser holds is the piece, not the text.
  stream_->NoteEvent();
  return !stopped_ && !handler_.failed();
}

void XmlLiteParser::Failed(HRESULT result) {
  UINT line = 0;
  if (SUCCEEDED(reader_->GetLineNumber(&line)) && line > 0) line_ = line;
  switch (stream_->stop()) {
    case XmlSourceStream::Stop::kReadError:
      handler_.OnFailure(0, ReadErrorText(stream_->error()));
      return;
    case XmlSourceStream::Stop::kRefused:
      Refused(stream_->document());
      return;
    case XmlSourceStream::Stop::kMarkupTooLong:
      handler_.OnFailure(line_, MarkupTooLongText());
      return;
    case XmlSourceStream::Stop::kNone:
      break;
  }
  if (result == static_cast<HRESULT>(WC_E_DTDPROHIBITED)) {
    handler_.OnFailure(line_, OwnDtdText());
  } else {
    handler_.OnFailure(line_, NotWellFormedText(formatName_, ErrorText(result)));
  }
}

void XmlLiteParser::Refused(const XmlUtf8Source& document) {
  if (document.refusal() == XmlUtf8Source::Refusal::kUnknownEncoding) {
    handler_.OnFailure(1, UnknownEncodingText(formatName_, document.encoding()));
  } else {
    handler_.OnFailure(document.refusalLine(),
                       NotWellFormedText(formatName_, "not well-formed (invalid token)"));
  }
}

/// In expat's words, which the expat build gives for the same faults.
std::string XmlLiteParser::ErrorText(HRESULT result) const {
  switch (static_cast<unsigned long>(result)) {
    case MX_E_INPUTEND:
      return elementSeen_ ? "unclosed token" : "no element found";
    case WC_E_UNDECLAREDENTITY:
      return "undefined entity";
    case WC_E_ELEMENTMATCH:
      return "mismatched tag";
    case WC_E_UNIQUEATTRIBUTE:
      return "duplicate attribute";
    case NC_E_UNDECLAREDPREFIX:
      return "unbound prefix";
    default:
      return "not well-formed (invalid token)";
  }
}

}  // namespace

std::unique_ptr<XmlParser> MakeXmlParser(ByteSource& source, XmlHandler& handler,
                                         std::string_view formatName) {
  return std::make_unique<XmlLiteParser>(source, handler, formatName);
}

}  // namespace velorin
