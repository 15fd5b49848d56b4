#include "formats/xml_utf8_source.h"

#include <algorithm>
#include <cstring>

#include "formats/xml_parser.h"
#include "text/ascii.h"

namespace velorin {

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsCp932Lead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

/// Where the encoding name of an XML declaration at the start of `head`
/// lies: its first byte and length; npos when there is none.
std::pair<std::size_t, std::size_t> DeclaredEncoding(std::string_view head) {
  constexpr std::pair<std::size_t, std::size_t> kNone{std::string_view::npos, 0};
  if (head.substr(0, 5) != "<?xml") return kNone;
  const std::string_view declaration = head.substr(0, head.find("?>"));
  std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return kNone;
  at += 8;
  while (at < declaration.size() &&
         (declaration[at] == ' ' || declaration[at] == '=' || declaration[at] == '\t' ||
          declaration[at] == '\r' || declaration[at] == '\n')) {
    ++at;
  }
  if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) {
    return kNone;
  }
  const std::size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string_view::npos) return kNone;
  return {at + 1, end - at - 1};
}

}  // namespace

std::ptrdiff_t XmlUtf8Source::Read(char* buffer, std::size_t capacity) {
  if (!begun_ && !Begin()) return -1;
  while (taken_ == pending_.size()) {
    if (refusalPending_) return -1;
    if (ended_) return 0;
    pending_.clear();
    taken_ = 0;
    if (!Fill()) return -1;
  }
  const std::size_t count = std::min(capacity, pending_.size() - taken_);
  std::memcpy(buffer, pending_.data() + taken_, count);
  taken_ += count;
  return static_cast<std::ptrdiff_t>(count);
}

bool XmlUtf8Source::Begin() {
  begun_ = true;
  std::string head;
  while (head.size() < kHeadSize && head.find("?>") == std::string::npos) {
    chunk_.resize(kHeadSize - head.size());
    const std::ptrdiff_t count = source_.Read(chunk_.data(), chunk_.size());
    if (count < 0) return false;
    if (count == 0) {
      ended_ = true;
      break;
    }
    head.append(chunk_.data(), static_cast<std::size_t>(count));
  }
  const auto [at, length] = DeclaredEncoding(head);
  if (at != std::string::npos) {
    encoding_ = head.substr(at, length);
    if (EqualsIgnoringAsciiCase(encoding_, "ISO-8859-1")) {
      mode_ = Mode::kLatin1;
    } else if (IsShiftJisName(encoding_)) {
      mode_ = Mode::kCp932;
    } else if (!EqualsIgnoringAsciiCase(encoding_, "UTF-8") &&
               !EqualsIgnoringAsciiCase(encoding_, "US-ASCII") &&
               !EqualsIgnoringAsciiCase(encoding_, "UTF-16")) {
      Refuse(Refusal::kUnknownEncoding);
      return true;
    }
    if (mode_ != Mode::kPass) head.replace(at, length, "UTF-8");
  }
  Convert(head);
  return true;
}

bool XmlUtf8Source::Fill() {
  chunk_.resize(kChunk);
  const std::ptrdiff_t count = source_.Read(chunk_.data(), chunk_.size());
  if (count < 0) return false;
  if (count == 0) {
    ended_ = true;
    // A lead byte with nothing after it.
    if (!held_.empty()) Refuse(Refusal::kInvalidBytes);
    return true;
  }
  Convert(std::string_view(chunk_.data(), static_cast<std::size_t>(count)));
  return true;
}

void XmlUtf8Source::Convert(std::string_view bytes) {
  switch (mode_) {
    case Mode::kPass:
      pending_.append(bytes);
      return;
    case Mode::kLatin1:
      for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
          pending_ += c;
        } else {
          pending_ += static_cast<char>(0xC0 | byte >> 6);
          pending_ += static_cast<char>(0x80 | (byte & 0x3F));
        }
      }
      return;
    case Mode::kCp932:
      ConvertCp932(bytes);
      return;
  }
}

void XmlUtf8Source::ConvertCp932(std::string_view bytes) {
  std::string whole = held_;
  whole.append(bytes);
  held_.clear();
  // A lead byte that ends the chunk waits for its trail byte.
  std::size_t at = 0;
  while (at < whole.size()) at += IsCp932Lead(static_cast<unsigned char>(whole[at])) ? 2 : 1;
  if (at > whole.size()) {
    held_ = whole.back();
    whole.pop_back();
  }
  decoder_.Decode(whole, decoded_);
  const std::size_t bad = decoded_.find(kReplacement);
  pending_.append(decoded_, 0, bad == std::string::npos ? decoded_.size() : bad);
  if (bad != std::string::npos) {
    Refuse(Refusal::kInvalidBytes);
    return;
  }
  linesOut_ += std::count(decoded_.begin(), decoded_.end(), '\n');
}

void XmlUtf8Source::Refuse(Refusal why) {
  refusal_ = why;
  refusalPending_ = true;
  ended_ = true;
  refusalLine_ = 1 + linesOut_ + std::count(pending_.begin(), pending_.end(), '\n');
}

}  // namespace velorin
