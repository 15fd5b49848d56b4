#include "convert/sorted_points.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>

#include "geo/position_code.h"
#include "geo/surface_distance.h"

namespace velorin {

SortedPoints::SortedPoints(const PointSort& sort, TitleEncoding titles)
    : sort_(sort), encoding_(titles) {}

void SortedPoints::Hold(const Point& point, std::string_view title) {
  if (held_.size() >= std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
  Held held{};
  held.line = point.line;
  const Degrees degrees = DegreesOf(point.position);
  if (const auto* units = std::get_if<DecodedPosition>(&point.position)) {
    held.kind = Kind::kCode;
    held.x = units->x;
    held.y = units->y;
  } else {
    held.kind = Kind::kDegrees;
    held.longitude = degrees.longitude;
    held.latitude = degrees.latitude;
    if (const auto code = DecodePositionText(degrees.nviCode.view())) {
      held.kind = Kind::kDegreesWithCode;
      held.x = code->x;
      held.y = code->y;
    }
  }
  if (sort_.key == PointSort::Key::kDistance) {
    held.distance =
        SurfaceDistanceMetres(sort_.longitude, sort_.latitude, degrees.longitude, degrees.latitude);
    if (std::isnan(held.distance)) held.distance = std::numeric_limits<double>::infinity();
  }
  held.title = titles_.size();
  held.titleSize = static_cast<std::uint32_t>(title.size());
  titles_.append(title);
  if (sort_.key == PointSort::Key::kTitle && encoding_ == TitleEncoding::kCp932) {
    const std::string_view key = decoder_.Decode(title);
    if (key.data() != title.data()) {
      held.keySize = static_cast<std::uint32_t>(key.size());
      titles_.append(key);
    }
  }
  held_.push_back(held);
}

std::string_view SortedPoints::TitleOf(const Held& held) const {
  return std::string_view(titles_).substr(held.title, held.titleSize);
}

std::string_view SortedPoints::KeyOf(const Held& held) const {
  if (held.keySize == 0) return TitleOf(held);
  return std::string_view(titles_).substr(held.title + held.titleSize, held.keySize);
}

std::vector<std::uint32_t> SortedPoints::Order() const {
  std::vector<std::uint32_t> order(held_.size());
  std::iota(order.begin(), order.end(), 0u);
  if (sort_.key == PointSort::Key::kDistance) {
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
      return held_[a].distance < held_[b].distance;
    });
  } else {
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
      return TitleComesBefore(KeyOf(held_[a]), KeyOf(held_[b]));
    });
  }
  return order;
}

Point SortedPoints::PointOf(const Held& held) {
  Point point;
  point.line = held.line;
  switch (held.kind) {
    case Kind::kCode:
      point.position = DecodedPosition{held.x, held.y};
      break;
    case Kind::kDegreesWithCode:
      point.position = Degrees{held.longitude, held.latitude, FormatPositionCode(held.x, held.y)};
      break;
    case Kind::kDegrees:
      point.position = Degrees{held.longitude, held.latitude};
      break;
  }
  return point;
}

bool SortedPoints::WriteTo(PointWriter& writer, const BufferedWriter* output) {
  const std::vector<std::uint32_t> order = Order();
  bool ok = true;
  for (const std::uint32_t index : order) {
    const Held& held = held_[index];
    writer.Write(PointOf(held), TitleOf(held));
    if (output != nullptr && !output->ok()) {
      ok = false;
      break;
    }
  }
  held_ = {};
  titles_ = {};
  return ok;
}

}  // namespace velorin
