#include "formats/xml_external_doctype.h"

namespace velorin {

namespace {

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

/// Reads the document's bytes from the front, as the prolog's grammar goes.
class PrologScanner {
 public:
  explicit PrologScanner(std::string_view text) : text_(text) {}

  std::size_t at() const { return at_; }
  bool Take(std::string_view expected) {
    if (text_.substr(at_, expected.size()) != expected) return false;
    at_ += expected.size();
    return true;
  }
  /// Skips white space; whether there was any.
  bool SkipSpace() {
    const std::size_t start = at_;
    while (at_ < text_.size() && IsXmlSpace(text_[at_])) ++at_;
    return at_ > start;
  }
  /// Skips past the next `end`; false when it is not in the text.
  bool SkipPast(std::string_view end) {
    const std::size_t found = text_.find(end, at_);
    if (found == std::string_view::npos) return false;
    at_ = found + end.size();
    return true;
  }
  /// Skips white space, comments and processing instructions (the XML
  /// declaration among them); false when one does not end in the text.
  bool SkipMisc() {
    for (;;) {
      SkipSpace();
      if (Take("<!--")) {
        if (!SkipPast("-->")) return false;
      } else if (Take("<?")) {
        if (!SkipPast("?>")) return false;
      } else {
        return true;
      }
    }
  }
  /// A name: anything up to white space or a delimiter.
  bool SkipName() {
    const std::size_t start = at_;
    while (at_ < text_.size() && !IsXmlSpace(text_[at_]) && text_[at_] != '>' &&
           text_[at_] != '[') {
      ++at_;
    }
    return at_ > start;
  }
  /// A quoted literal, after the white space before it.
  bool SkipLiteral() {
    if (!SkipSpace() || at_ >= text_.size()) return false;
    const char quote = text_[at_];
    if (quote != '"' && quote != '\'') return false;
    ++at_;
    return SkipPast(std::string_view(&quote, 1));
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<ByteSpan> FindExternalDoctype(std::string_view head) {
  PrologScanner scan(head);
  scan.Take("\xEF\xBB\xBF");
  if (!scan.SkipMisc()) return std::nullopt;
  const std::size_t begin = scan.at();
  if (!scan.Take("<!DOCTYPE") || !scan.SkipSpace() || !scan.SkipName()) return std::nullopt;
  if (!scan.SkipSpace()) return std::nullopt;
  if (scan.Take("PUBLIC")) {
    if (!scan.SkipLiteral()) return std::nullopt;
  } else if (!scan.Take("SYSTEM")) {
    return std::nullopt;
  }
  if (!scan.SkipLiteral()) return std::nullopt;
  scan.SkipSpace();
  if (!scan.Take(">")) return std::nullopt;  // an internal subset, or malformed
  return ByteSpan{begin, scan.at()};
}

void BlankOut(std::string& text, ByteSpan span) {
  for (std::size_t i = span.begin; i < span.end && i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') text[i] = ' ';
  }
}

}  // namespace velorin
