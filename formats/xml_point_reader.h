#pragma once
// The streaming XML side of the GPX and KML readers: the XML parser's
// elements handed to the format's handlers by local name, the points they
// make queued until asked for. Memory stays flat: nothing of the document
// is kept but the text of the element being collected (bounded).
//
// Hostile documents are refused: a DTD of the document's own (its entities
// can expand without bound or read other files, its attribute defaults add
// values the file does not show), a reference to an entity never defined
// (an external DTD is never read), elements nested deeper than kMaxDepth,
// and a single piece of markup (a tag, a comment) larger than
// kMaxMarkupSize.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/point_fields.h"
#include "formats/point_reader.h"
#include "formats/title_text.h"
#include "formats/xml_parser.h"
#include "platform/byte_stream.h"

namespace velorin {

/// An element's name as the parser reports it ("uri\x01local", or "local"
/// in no namespace), split once for the handlers.
struct XmlName {
  std::string_view space;  ///< "" when there is none
  std::string_view local;
  bool own = false;  ///< in no namespace, or in one of the format's own
};

class XmlPointReader : public PointReader, private XmlHandler {
 public:
  static constexpr std::size_t kMaxMarkupSize = XmlParser::kMaxMarkupSize;
  /// The most text of one element that is collected (a title, coordinates).
  static constexpr std::size_t kMaxTextSize = kMaxTextBytes;
  /// The deepest element nesting read; a parser's memory grows with the
  /// depth.
  static constexpr int kMaxDepth = 256;

  /// `rootName`: the local name the document element must have.
  XmlPointReader(ByteSource& source, std::string_view rootName, std::string_view formatName);
  ~XmlPointReader() override;
  XmlPointReader(const XmlPointReader&) = delete;
  XmlPointReader& operator=(const XmlPointReader&) = delete;

  bool Next(ReadEntry& entry) override;
  IgnoredItems ignored() const override { return ignored_; }
  std::int64_t ignoredTotal() const override { return ignored_.Total(); }

 protected:
  /// An element of the document; `depth` is 1 for the root. `attributes` is
  /// the parser's list of name, value pairs (names are local when
  /// unprefixed).
  virtual void OnStart(const XmlName& name, int depth, const char** attributes) = 0;
  virtual void OnEnd(const XmlName& name, int depth) = 0;
  /// Whether elements of namespace `space` (never "") are the format's own.
  virtual bool IsOwnNamespace(std::string_view space) const = 0;

  /// Collects the text of the current element from here to its end tag.
  void CollectText() {
    collecting_ = true;
    text_.clear();
    textOverflow_ = false;
    AskForText();
  }
  /// Hands the text of the current element to OnText() piece by piece, from
  /// here to its end tag, however long it is.
  void StreamText() {
    streaming_ = true;
    AskForText();
  }
  /// A piece of the text streamed (see StreamText()).
  virtual void OnText(std::string_view /*piece*/) {}
  /// The collected text; stops collecting.
  std::string_view TakeText() {
    collecting_ = false;
    return text_;
  }
  /// Moves the collected text into `into`, whose memory collects the next
  /// text; stops collecting.
  void TakeTextInto(std::string& into) {
    collecting_ = false;
    into.swap(text_);
  }
  /// The collected text was cut at kMaxTextSize.
  bool TextOverflowed() const { return textOverflow_; }
  std::int64_t CurrentLine() const;

  /// A new entry at the end of the queue, its strings' memory reused.
  ReadEntry& Emit();
  /// Stops reading with a failure at the current line.
  void Stop(std::string message);
  /// Counts an element `name` that looks like the format's `readName` but is
  /// not it, when it is not (another namespace or spelling); true then.
  bool PassesOver(const XmlName& name, std::string_view readName);

  IgnoredItems ignored_;

 private:
  void OnElementStart(const char* name, const char** attributes) override;
  void OnElementEnd(const char* name) override;
  void OnCharacterData(const char* text, std::size_t length) override;
  void OnFailure(std::int64_t line, std::string message) override;
  bool failed() const override { return failure().has_value(); }
  /// `name` split, its namespace judged (the last one judged is kept: a
  /// document mostly stays in one).
  XmlName Split(const char* name);
  /// Tells the parser whether text is read from here on: text nobody
  /// collects or streams (most of a document) is never handed over.
  void AskForText() {
    const bool want = collecting_ || streaming_;
    if (want == textAsked_) return;
    textAsked_ = want;
    parser_->WantText(want);
  }

  /// An element begun and not yet ended: the parser's name for it, split.
  struct OpenElement {
    const char* name = nullptr;
    XmlName split;
  };

  std::unique_ptr<XmlParser> parser_;
  std::string rootName_;
  std::string formatName_;
  std::vector<ReadEntry> queue_;
  std::size_t queued_ = 0;
  std::size_t taken_ = 0;
  int depth_ = 0;
  std::array<OpenElement, kMaxDepth> open_{};  ///< by depth, the root first
  bool finished_ = false;
  bool collecting_ = false;
  bool streaming_ = false;
  bool textOverflow_ = false;
  bool textAsked_ = true;  ///< what the parser was last told (it begins with text)
  std::string text_;
  std::string lastSpace_;  ///< the namespace judged last
  bool lastSpaceOwn_ = false;
};

/// The value of the unprefixed attribute `name`; nothing when absent.
const char* FindAttribute(const char** attributes, std::string_view name);

}  // namespace velorin
