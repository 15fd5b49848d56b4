#include "convert/sorted_points.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

#include "geo/position_code.h"
#include "geo/surface_distance.h"

namespace velorin {

namespace {

/// The angle integers of an NVI code, kept in 64 bits.
std::uint64_t CodeBits(std::string_view text) {
  const std::optional<DecodedPosition> decoded = DecodePositionText(text);
  if (!decoded) return 0;
  return (std::uint64_t{decoded->x} << 32) | decoded->y;
}

PositionText CodeText(std::uint64_t bits) {
  return FormatPositionCode(static_cast<std::uint32_t>(bits >> 32),
                            static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
}

std::uint32_t Narrow(std::size_t value) {
  if (value > std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
  return static_cast<std::uint32_t>(value);
}

}  // namespace

SortedPoints::SortedPoints(const PointSort& sort, TitleEncoding titles)
    : sort_(sort), encoding_(titles) {}

SortedPoints::Held& SortedPoints::At(std::size_t index) const {
  return points_[index / kPointsPerBlock][index % kPointsPerBlock];
}

std::string& SortedPoints::TextRoom(std::size_t size) {
  if (texts_.empty() || texts_.back().capacity() - texts_.back().size() < size) {
    texts_.emplace_back().reserve(std::max(size, kTextBlock));
    Narrow(texts_.size());
  }
  return texts_.back();
}

void SortedPoints::Hold(const Point& point, std::string_view title) {
  if (count_ % kPointsPerBlock == 0) {
    Narrow(count_ + kPointsPerBlock);
    points_.push_back(std::make_unique<Held[]>(kPointsPerBlock));
  }
  Held& held = At(count_);
  held = {};
  held.line = point.line;
  if (point.fields.Any()) fields_.emplace(static_cast<std::uint32_t>(count_), point.fields);
  const Degrees degrees = DegreesOf(point.position);
  if (const auto* units = std::get_if<DecodedPosition>(&point.position)) {
    held.kind = Kind::kCode;
    held.code = (std::uint64_t{units->x} << 32) | units->y;
  } else {
    held.kind = degrees.nviCode.empty() ? Kind::kDegrees : Kind::kDegreesWithCode;
    held.longitude = degrees.longitude;
    held.latitude = degrees.latitude;
    if (!degrees.nviCode.empty()) held.code = CodeBits(degrees.nviCode.view());
  }
  if (sort_.key == PointSort::Key::kDistance) {
    held.distance =
        SurfaceDistanceMetres(sort_.longitude, sort_.latitude, degrees.longitude, degrees.latitude);
    if (std::isnan(held.distance)) held.distance = std::numeric_limits<double>::infinity();
  }
  std::string_view key = title;
  if (sort_.key == PointSort::Key::kTitle && encoding_ == TitleEncoding::kCp932) {
    key = decoder_.Decode(title);
  }
  const bool ownKey = key.data() != title.data();
  std::string& text = TextRoom(title.size() + (ownKey ? key.size() : 0));
  held.block = Narrow(texts_.size() - 1);
  held.offset = Narrow(text.size());
  held.titleSize = Narrow(title.size());
  text.append(title);
  if (ownKey) {
    held.keySize = Narrow(key.size());
    text.append(key);
  }
  ++count_;
}

std::string_view SortedPoints::TitleOf(const Held& held) const {
  return std::string_view(texts_[held.block]).substr(held.offset, held.titleSize);
}

std::string_view SortedPoints::KeyOf(const Held& held) const {
  if (held.keySize == 0) return TitleOf(held);
  return std::string_view(texts_[held.block]).substr(held.offset + held.titleSize, held.keySize);
}

std::vector<std::uint32_t> SortedPoints::Order() const {
  std::vector<std::uint32_t> order(count_);
  for (std::size_t i = 0; i < count_; ++i) order[i] = static_cast<std::uint32_t>(i);
  if (sort_.key == PointSort::Key::kDistance) {
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
      return At(a).distance < At(b).distance;
    });
  } else {
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
      return TitleComesBefore(KeyOf(At(a)), KeyOf(At(b)));
    });
  }
  return order;
}

Point SortedPoints::PointOf(const Held& held) {
  Point point;
  point.line = held.line;
  switch (held.kind) {
    case Kind::kCode:
      point.position = DecodedPosition{static_cast<std::uint32_t>(held.code >> 32),
                                       static_cast<std::uint32_t>(held.code)};
      break;
    case Kind::kDegreesWithCode:
      point.position = Degrees{held.longitude, held.latitude, CodeText(held.code)};
      break;
    case Kind::kDegrees:
      point.position = Degrees{held.longitude, held.latitude};
      break;
  }
  return point;
}

bool SortedPoints::WriteTo(const Write& write, const BufferedWriter* output) {
  const std::vector<std::uint32_t> order = Order();
  bool ok = true;
  for (const std::uint32_t index : order) {
    const Held& held = At(index);
    Point point = PointOf(held);
    if (const auto found = fields_.find(index); found != fields_.end()) {
      point.fields = std::move(found->second);
    }
    write(point, TitleOf(held));
    if (output != nullptr && !output->ok()) {
      ok = false;
      break;
    }
  }
  points_ = decltype(points_)();
  texts_ = decltype(texts_)();
  fields_.clear();
  count_ = 0;
  return ok;
}

}  // namespace velorin
