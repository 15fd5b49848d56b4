#include "formats/xml_point_reader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "text/ascii.h"
#include "text/utf8.h"

namespace velorin {

const char* FindAttribute(const char** attributes, std::string_view name) {
  for (const char** at = attributes; at[0] != nullptr; at += 2) {
    if (std::string_view(at[0]) == name) return at[1];
  }
  return nullptr;
}

XmlPointReader::XmlPointReader(ByteSource& source, std::string_view rootName,
                               std::string_view formatName)
    : parser_(MakeXmlParser(source, *this, formatName)),
      rootName_(rootName),
      formatName_(formatName) {}

XmlPointReader::~XmlPointReader() = default;

bool XmlPointReader::Next(ReadEntry& entry) {
  while (taken_ == queued_) {
    taken_ = queued_ = 0;
    if (finished_ || !parser_->ParseMore()) {
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
  entry.point.fields.Clear();
  entry.point.line = CurrentLine();
  return entry;
}

std::int64_t XmlPointReader::CurrentLine() const { return parser_->CurrentLine(); }

void XmlPointReader::Stop(std::string message) {
  Fail(CurrentLine(), std::move(message));
  parser_->Stop();
}

void XmlPointReader::OnFailure(std::int64_t line, std::string message) {
  Fail(line, std::move(message));
}

XmlName XmlPointReader::Split(const char* name) {
  XmlName split;
  // Most names are in the namespace of the name before: its URI and the
  // separator compared where they stand, without looking for the separator.
  const std::size_t known = lastSpace_.size();
  if (known > 0 && std::strncmp(name, lastSpace_.data(), known) == 0 &&
      name[known] == kXmlNamespaceSeparator) {
    split.space = {name, known};
    split.local = name + known + 1;
    split.own = lastSpaceOwn_;
    return split;
  }
  // XML names hold no U+0001: the first one is the parser's separator.
  const char* separator = std::strchr(name, kXmlNamespaceSeparator);
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
  if (ignored_[IgnoredKind::kUnreadElement]++ == 0) {
    ignored_.unreadName = local;
    ignored_.unreadNote = local == readName ? "in namespace " + std::string(name.space)
                                            : "(not <" + std::string(readName) + ">)";
  }
  return true;
}

void XmlPointReader::OnElementStart(const char* name, const char** attributes) {
  if (++depth_ > kMaxDepth) {
    Stop("elements nested more than " + std::to_string(kMaxDepth) + " deep: refused");
    return;
  }
  const XmlName split = Split(name);
  open_[static_cast<std::size_t>(depth_ - 1)] = {name, split};
  if (depth_ == 1 && split.local != rootName_) {
    Stop("not a " + formatName_ + " file: the document element is <" + std::string(split.local) +
         ">, not <" + rootName_ + ">");
    return;
  }
  collecting_ = streaming_ = false;  // text is collected from leaf elements only
  OnStart(split, depth_, attributes);
  AskForText();
}

void XmlPointReader::OnElementEnd(const char* name) {
  // A parser ends an element with the name it began it with, still held:
  // the split made then serves (split again should the name be elsewhere).
  const OpenElement& open = open_[static_cast<std::size_t>(depth_ - 1)];
  streaming_ = false;
  OnEnd(open.name == name ? open.split : Split(name), depth_);
  collecting_ = false;
  AskForText();
  --depth_;
}

void XmlPointReader::OnCharacterData(const char* text, std::size_t length) {
  if (streaming_) OnText({text, length});
  if (!collecting_) return;
  if (textOverflow_) return;  // cut already: nothing after the cut
  const std::size_t room = kMaxTextSize - text_.size();
  if (length <= room) {
    text_.append(text, length);
    return;
  }
  // Cut on a character's edge (pieces are UTF-8; one may end inside a
  // character, the text as a whole never does).
  textOverflow_ = true;
  text_.append(text, std::min(length, room + 4));  // enough to see the edge
  text_.resize(utf8::CharacterEdgeAtOrBefore(text_, kMaxTextSize));
}

}  // namespace velorin
