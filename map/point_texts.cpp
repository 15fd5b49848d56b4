#include "map/point_texts.h"

namespace velorin {

std::string PointText(const MapMessages& words, const EditedPoints& points, std::uint32_t item) {
  if (item >= points.size()) return {};
  const MapPointTexts texts = points.Texts(item);
  std::string text(points.Title(item));
  if (!texts.longitudeDms.empty()) {
    text += "\n" + words.Text(kLongitudeMessage) + " " + texts.longitudeDms + " (" +
            texts.longitudeDecimal + ")";
    text += "\n" + words.Text(kLatitudeMessage) + " " + texts.latitudeDms + " (" +
            texts.latitudeDecimal + ")";
  }
  if (!texts.nviCode.empty()) text += "\n" + words.Text(kPositionCodeMessage) + " " + texts.nviCode;
  if (points.Line(item) > 0)
    text += "\n" + words.Text(kLineMessage) + " " + std::to_string(points.Line(item));
  return text;
}

std::string StatusText(const MapMessages& words, ItemStatus status) {
  switch (status) {
    case ItemStatus::kUntitled:
      return words.Text(kNoTitleMessage);
    case ItemStatus::kOutOfRange:
      return words.Text(kOutOfRangeMessage);
    case ItemStatus::kUnreadable:
      return words.Text(kUnreadableMessage);
    case ItemStatus::kGone:
    case ItemStatus::kPoint:
      break;
  }
  return {};
}

std::string SkipText(const MapMessages& words, const EditedPoints& points, std::uint32_t item) {
  std::string text = words.Text(kLineMessage) + " " + std::to_string(points.Line(item)) + ": " +
                     StatusText(words, points.Status(item));
  // The engine says why in English: worth adding to the English words
  // only; the Japanese window keeps to its own.
  const std::string_view reason = points.Reason(item);
  if (!words.Japanese() && !reason.empty() && points.edits().State(item) == ItemState{})
    text += " (" + std::string(reason) + ")";
  return text;
}

std::string HoverText(const MapMessages& words, const EditedPoints& points, std::uint32_t item) {
  std::string text = PointText(words, points, item);
  if (item < points.size() && IsSkipped(points.Status(item)))
    text += "\n" + SkipText(words, points, item);
  return text;
}

std::string ClusterText(const MapMessages& words, std::uint64_t count) {
  return words.Text(kPointCountMessage) + " " + GroupedCount(count);
}

std::string GroupedCount(std::uint64_t count) {
  const std::string digits = std::to_string(count);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace velorin
