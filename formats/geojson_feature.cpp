#include "formats/geojson_feature.h"

#include <algorithm>

#include "formats/geojson_quoted.h"
#include "formats/title_text.h"
#include "text/utf8.h"

namespace velorin {

namespace {

[[gnu::cold, gnu::noinline]] void SetTitleTooLong(ReadEntry& entry) {
  entry.reason = "a title longer than " + std::to_string(GeoJsonFeature::kMaxTitleSize) + " bytes";
}

/// What Google Takeout's saved places say of a place it has no position
/// for; their point is then at 0,0.
constexpr std::string_view kNoLocation = "No location information";

[[gnu::cold, gnu::noinline]] void SetNoLocation(ReadEntry& entry) {
  entry.reason = "a saved place without a location (its point is at 0,0 and it says \"" +
                 std::string(kNoLocation) + " ...\")";
}

}  // namespace

ReadEntry& GeoJsonEntries::Emit(std::int64_t line) {
  if (count_ == entries_.size()) entries_.emplace_back();
  ReadEntry& entry = entries_[count_++];
  entry.isPoint = true;
  entry.skip = SkipKind::kMalformed;
  entry.reason.clear();
  entry.point.title.clear();
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.titleApproximated = false;
  entry.point.fields.Clear();
  entry.point.line = line;
  return entry;
}

void GeoJsonFeature::Reset(std::int64_t line, bool top) {
  line_ = line;
  top_ = top;
  type_.clear();
  typed_ = typeIsFeature_ = false;
  hasGeometry_ = hasProperties_ = hasLocation_ = propertiesEnded_ = handingOut_ = false;
  for (TitleCandidate& title : titles_) title.given = false;
  texts_.Clear();
  noLocation_ = false;
  held_.clear();
  reasons_.clear();
  emitted_ = 0;
}

void GeoJsonFeature::SetType(std::string_view type, bool isString) {
  if (typed_) return;
  typed_ = true;
  // The usual type of an element is only noted; another is kept for the
  // message.
  typeIsFeature_ = isString && type == "Feature";
  if (top_) {
    type_ = type;
  } else if (!typeIsFeature_) {
    type_ = isString ? type : "(not a string)";
  }
}

void GeoJsonFeature::OfferTitle(Title which, std::string_view text) {
  TitleCandidate& title = titles_[static_cast<std::size_t>(which)];
  if (title.given) return;
  title.given = true;
  title.text.assign(text.substr(0, kMaxTitleSize + 1));
}

void GeoJsonFeature::OfferField(PointField field, std::string_view text, bool addressPart) {
  const bool cut = text.size() > kMaxTitleSize;
  if (cut) text = text.substr(0, utf8::CharacterEdgeAtOrBefore(text, kMaxTitleSize));
  if (text.starts_with(kNoLocation)) noLocation_ = true;
  texts_.Offer(field, text, addressPart, cut);
}

std::string* GeoJsonFeature::ChosenTitle() {
  for (TitleCandidate& candidate : titles_) {
    if (candidate.given) return &candidate.text;
  }
  return nullptr;
}

GeoJsonFeature::Held GeoJsonFeature::HeldOf(const GeoJsonPoint& point) {
  Held held;
  held.line = point.line;
  held.longitude = point.longitude;
  held.latitude = point.latitude;
  held.number = point.number;
  held.kind = point.kind;
  held.lineNumber = point.lineNumber;
  return held;
}

void GeoJsonFeature::Add(const GeoJsonPoint& point, bool direct, GeoJsonEntries& out) {
  if (handingOut_) {
    EmitNow(out, point);
    return;
  }
  // The points of its own geometry come in the order of their lines, and
  // nothing comes after them: those waiting go first, the rest as they come.
  if (direct && held_.size() >= kHandOutFrom && Settled()) {
    handingOut_ = true;
    EmitWaiting(out, held_.size());
    EmitNow(out, point);
    return;
  }
  if (held_.size() >= kMaxPointsWaiting) {
    EmitPastTheBound(out);
    return;
  }
  Held& held = held_.emplace_back(HeldOf(point));
  if (!point.reason.empty()) {
    held.reason = static_cast<std::uint32_t>(reasons_.size());
    reasons_.emplace_back(point.reason);
  }
}

void GeoJsonFeature::EmitNow(GeoJsonEntries& out, const GeoJsonPoint& point) {
  EmitPoint(out, HeldOf(point), point.reason, ChosenTitle(), false);
}

void GeoJsonFeature::EmitPastTheBound(GeoJsonEntries& out) {
  // At the feature's line: lines never go back, whatever waits.
  ReadEntry& entry = out.Emit(line_);
  entry.isPoint = false;
  entry.reason = "more than " + std::to_string(kMaxPointsWaiting) +
                 " points of one feature waiting for its end";
}

void GeoJsonFeature::EmitNotAFeature(GeoJsonEntries& out) {
  ReadEntry& entry = out.Emit(line_);
  entry.isPoint = false;
  entry.reason = typed_
                     ? "a features element of type " + QuotedJsonText(type_) + ", not \"Feature\""
                     : "a features element without a \"type\"";
  held_.clear();
}

bool GeoJsonFeature::EmitWaiting(GeoJsonEntries& out, std::size_t most) {
  // Most features give one point, which takes the title's buffer.
  if (held_.size() == 1 && !handingOut_ && most > 0) {
    const Held& held = held_.front();
    EmitPoint(out, held, held.reason == kNoReason ? std::string_view() : reasons_.front(),
              ChosenTitle(), true);
    held_.clear();
    reasons_.clear();
    return true;
  }
  if (emitted_ == 0) {
    // In the order of their lines: a collection's members end, and give
    // their points, before the collection does. Most features are in order
    // already (one point), and a stable sort would take a buffer for them.
    const auto byLine = [](const Held& a, const Held& b) { return a.line < b.line; };
    if (!std::is_sorted(held_.begin(), held_.end(), byLine)) {
      std::stable_sort(held_.begin(), held_.end(), byLine);
    }
  }
  std::string* title = ChosenTitle();
  const std::size_t end = std::min(held_.size(), emitted_ + most);
  for (; emitted_ < end; ++emitted_) {
    const Held& held = held_[emitted_];
    const std::string_view reason =
        held.reason == kNoReason ? std::string_view() : std::string_view(reasons_[held.reason]);
    // The last point takes the title's buffer; the ones before, a copy.
    EmitPoint(out, held, reason, title, !handingOut_ && emitted_ + 1 == held_.size());
  }
  if (emitted_ < held_.size()) return false;
  held_.clear();
  if (!reasons_.empty()) reasons_.clear();
  emitted_ = 0;
  return true;
}

void GeoJsonFeature::EmitPoint(GeoJsonEntries& out, const Held& point, std::string_view reason,
                               std::string* title, bool takesTitle) {
  ReadEntry& entry = out.Emit(point.line);
  const bool tooLong = title != nullptr && title->size() > kMaxTitleSize;
  const bool nowhere = noLocation_ && point.longitude == 0.0 && point.latitude == 0.0;
  if (!reason.empty() || tooLong || nowhere) {
    entry.isPoint = false;
    if (!reason.empty()) {
      entry.reason = reason;
    } else if (tooLong) {
      SetTitleTooLong(entry);
    } else {
      SetNoLocation(entry);
    }
    return;
  }
  if (point.number > 0) {
    LinePointTitle(entry.point.title, title != nullptr ? *title : std::string_view(), point.kind,
                   point.lineNumber, point.number);
  } else if (title != nullptr) {
    if (takesTitle) {
      entry.point.title.swap(*title);
    } else {
      entry.point.title = *title;
    }
  }
  entry.point.position = Degrees{point.longitude, point.latitude};
  if (!texts_.Any()) return;
  // The last point of the feature takes the texts' buffers, the ones before
  // copies (as with the title).
  if (takesTitle) {
    texts_.MoveInto(entry.point.fields, TitleEncoding::kUtf8);
  } else {
    texts_.CopyInto(entry.point.fields, TitleEncoding::kUtf8);
  }
}

}  // namespace velorin
