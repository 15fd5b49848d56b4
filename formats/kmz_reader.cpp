#include "formats/kmz_reader.h"

#include <algorithm>

namespace velorin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

/// "http:", "file:", "C:": a scheme or a drive letter before the first
/// slash.
bool HasScheme(std::string_view href) {
  const std::size_t colon = href.find(':');
  if (colon == 0 || colon == std::string_view::npos || colon > href.find('/')) return false;
  return std::all_of(href.begin(), href.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
  });
}

}  // namespace

std::optional<std::string> LinkedMember(std::string_view from, std::string_view href) {
  while (!href.empty() && IsBlank(href.front())) href.remove_prefix(1);
  while (!href.empty() && IsBlank(href.back())) href.remove_suffix(1);
  href = href.substr(0, href.find('#'));  // a feature within the file
  if (href.empty() || HasScheme(href) || href.front() == '/' || href.front() == '\\') {
    return std::nullopt;
  }
  std::vector<std::string_view> parts;
  const std::size_t folder = from.rfind('/');
  std::string path = folder == std::string_view::npos
                         ? std::string(href)
                         : std::string(from.substr(0, folder + 1)) + std::string(href);
  std::string_view rest = path;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part != "..") {
      parts.push_back(part);
    } else if (parts.empty()) {
      return std::nullopt;
    } else {
      parts.pop_back();
    }
  }
  std::string member;
  for (const std::string_view part : parts) {
    if (!member.empty()) member += '/';
    member += part;
  }
  if (member.empty()) return std::nullopt;
  return member;
}

bool KmzReader::Next(ReadEntry& entry) {
  for (;;) {
    if (!kml_ && !OpenNext()) return false;
    if (kml_->Next(entry)) {
      if (depth_ > 0 && !entry.isPoint) entry.reason = source_->memberName() + ": " + entry.reason;
      return true;
    }
    if (const auto& failure = kml_->failure()) {
      std::string message = failure->message;
      // Lines count within the archive's KML file: name it.
      if (failure->line > 0 || depth_ > 0) message = source_->memberName() + ": " + message;
      Fail(failure->line, std::move(message));
      return false;
    }
    EndDocument();
  }
}

bool KmzReader::OpenNext() {
  while (!pending_.empty()) {
    const Document document = std::move(pending_.back());
    pending_.pop_back();
    // Read already: a loop of links, or one file linked twice.
    if (std::find(read_.begin(), read_.end(), document.name) != read_.end()) continue;
    if (document.depth > 0 && read_.size() > kMaxLinkedFiles) {
      ++ignored_[IgnoredKind::kLinkNotFollowed];
      continue;
    }
    auto source = std::make_unique<KmzSource>(archive_, document.name);
    if (!source->Open()) {
      if (document.depth > 0 && source->error() == KmzError::kNoMember) {
        ++ignored_[IgnoredKind::kLinkNotFollowed];
        continue;
      }
      std::string message = document.depth > 0 ? document.name + ": " : "";
      message += ReadErrorText(source->error());
      // Why the system could not give a temporary file says what to do.
      if (source->error() == KmzError::kNoCopy) message += ": " + source->detail();
      Fail(0, std::move(message));
      return false;
    }
    read_.push_back(source->memberName());
    depth_ = document.depth;
    source_ = std::move(source);
    kml_ = std::make_unique<KmlReader>(*source_, options_, true);
    return true;
  }
  return false;
}

void KmzReader::EndDocument() {
  ignored_.Add(kml_->ignored());
  std::vector<Document> linked;
  for (const std::string& href : kml_->links()) {
    std::optional<std::string> member = LinkedMember(source_->memberName(), href);
    if (!member) {
      ++ignored_[IgnoredKind::kLinkOutside];
    } else if (depth_ >= kMaxLinkDepth) {
      ++ignored_[IgnoredKind::kLinkNotFollowed];
    } else {
      linked.push_back({std::move(*member), depth_ + 1});
    }
  }
  // Read in the order linked: the first on top.
  pending_.insert(pending_.end(), linked.rbegin(), linked.rend());
  kml_.reset();
  source_.reset();
}

IgnoredItems KmzReader::ignored() const {
  IgnoredItems items = ignored_;
  if (kml_) items.Add(kml_->ignored());
  return items;
}

std::int64_t KmzReader::ignoredTotal() const {
  return ignored_.Total() + (kml_ ? kml_->ignoredTotal() : 0);
}

}  // namespace velorin
