#include "formats/gathered_texts.h"

namespace velorin {

namespace {

constexpr std::string_view kJoin = " / ";
constexpr std::string_view kAddressJoin = ", ";

void Join(std::string& kept, std::string_view separator, std::string_view text) {
  if (!kept.empty()) kept += separator;
  kept += text;
}

}  // namespace

void GatheredTexts::Offer(PointField field, std::string_view text, bool addressPart, bool cut) {
  if (IsWhiteSpaceOnly(text)) return;
  std::string& kept = texts_[IndexOf(field)];
  if (kept == text || toComment_ == text) return;
  any_ = true;
  PointField into = field;
  if (kept.empty()) {
    kept.assign(text);
  } else if (field == PointField::kAddress || addressPart) {
    Join(kept, kAddressJoin, text);
  } else if (field == PointField::kDescription || field == PointField::kLink) {
    Join(toComment_, kJoin, text);
    into = PointField::kComment;
  } else {
    Join(kept, kJoin, text);
  }
  if (cut) cut_.Add(into);
}

void GatheredTexts::Settle() {
  if (toComment_.empty()) return;
  std::string& comment = texts_[IndexOf(PointField::kComment)];
  if (comment.empty()) {
    comment.swap(toComment_);
  } else {
    Join(comment, kJoin, toComment_);
  }
  toComment_.clear();
}

void GatheredTexts::MoveInto(PointFields& fields, TitleEncoding encoding) {
  if (!any_) return;
  Settle();
  for (const PointField field : kPointFields) {
    std::string& text = texts_[IndexOf(field)];
    if (text.empty()) continue;
    fields.Exchange(field, text, encoding);
    text.clear();
    if (cut_.Has(field)) fields.MarkCut(field);
  }
  cut_ = {};
  any_ = false;
}

void GatheredTexts::CopyInto(PointFields& fields, TitleEncoding encoding) {
  if (!any_) return;
  Settle();
  for (const PointField field : kPointFields) {
    const std::string& text = texts_[IndexOf(field)];
    if (text.empty()) continue;
    fields.Set(field, text, encoding);
    if (cut_.Has(field)) fields.MarkCut(field);
  }
}

void GatheredTexts::Clear() {
  if (!any_) return;
  for (std::string& text : texts_) text.clear();
  toComment_.clear();
  cut_ = {};
  any_ = false;
}

}  // namespace velorin
