// The land file (data/land-10m.bin), made by scripts/make-land-data from
// the TopoJSON of Natural Earth's 1:10m land. All numbers little-endian:
//
//   8 bytes   "VLAND1\n\0"
//   4 float64 scale x, scale y, translate x, translate y: a quantized
//             point (qx, qy) is longitude translate x + qx * scale x,
//             latitude translate y + qy * scale y
//   uint32    the number of rings
//   per ring  varint: its number of points; then per point the zigzag
//             varints qx - previous qx and qy - previous qy (the previous
//             point of the ring, or (0, 0) for its first)
//
// A varint is 7 bits a byte, low bits first, the high bit set on every byte
// but the last; zigzag maps 0, -1, 1, -2 ... to 0, 1, 2, 3 .... Rings are
// closed implicitly; the land is what an odd number of rings encloses, so
// holes (lakes, seas) need no marking.
#include "map/land_map.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velorin {
namespace {

constexpr std::string_view kMagic{"VLAND1\n\0", 8};

/// Reads the file's numbers in order; any read past the end fails it.
class LandReader {
 public:
  explicit LandReader(std::string_view bytes) : bytes_(bytes) {}
  bool ok() const { return ok_; }
  bool AtEnd() const { return position_ == bytes_.size(); }

  std::string_view Take(std::size_t count) {
    if (bytes_.size() - position_ < count) {
      ok_ = false;
      return {};
    }
    const std::string_view taken = bytes_.substr(position_, count);
    position_ += count;
    return taken;
  }
  double Float64() {
    const std::string_view raw = Take(8);
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      bits |= std::uint64_t{static_cast<unsigned char>(raw[i])} << (8 * i);
    }
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::uint32_t Uint32() {
    const std::string_view raw = Take(4);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      value |= std::uint32_t{static_cast<unsigned char>(raw[i])} << (8 * i);
    }
    return value;
  }
  std::uint64_t Varint() {
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const std::string_view byte = Take(1);
      if (byte.empty()) return 0;
      const auto b = static_cast<unsigned char>(byte[0]);
      value |= std::uint64_t{b & 0x7Fu} << shift;
      if ((b & 0x80u) == 0) return value;
    }
    ok_ = false;
    return 0;
  }
  std::int64_t Zigzag() {
    const std::uint64_t raw = Varint();
    return static_cast<std::int64_t>(raw >> 1) ^ -static_cast<std::int64_t>(raw & 1);
  }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

LonLatBox BoxOf(std::span<const LonLat> ring) {
  LonLatBox box{180.0, 90.0, -180.0, -90.0};
  for (const LonLat& p : ring) {
    box.west = std::min(box.west, p.longitude);
    box.east = std::max(box.east, p.longitude);
    box.south = std::min(box.south, p.latitude);
    box.north = std::max(box.north, p.latitude);
  }
  return box;
}

/// A few rings of the data reach the 180th meridian with a point written at
/// -180 instead of 180 (or the other way round), which a flat drawing takes
/// for an edge across the whole world: between 65 and 69 degrees north that
/// turned land into sea and sea into land round the globe. Such a ring
/// crosses the meridian an even number of times; its longitudes are made
/// continuous and the ring moved by whole turns to lie around -180..180. A
/// ring round the pole (Antarctica) crosses it once and stays as it is.
void JoinAcross180(std::span<LonLat> ring) {
  if (ring.size() < 2) return;
  const auto crosses = [](const LonLat& a, const LonLat& b) {
    return std::abs(a.longitude - b.longitude) > 180.0;
  };
  int crossings = crosses(ring.back(), ring.front()) ? 1 : 0;
  for (std::size_t i = 1; i < ring.size(); ++i) crossings += crosses(ring[i - 1], ring[i]) ? 1 : 0;
  if (crossings == 0 || crossings % 2 != 0) return;
  double turns = 0.0, west = ring.front().longitude, east = west;
  double previous = ring.front().longitude;
  for (std::size_t i = 1; i < ring.size(); ++i) {
    const double raw = ring[i].longitude;
    if (raw - previous > 180.0) turns -= 360.0;
    if (raw - previous < -180.0) turns += 360.0;
    previous = raw;
    ring[i].longitude = raw + turns;
    west = std::min(west, ring[i].longitude);
    east = std::max(east, ring[i].longitude);
  }
  const double shift = -360.0 * std::round((west + east) / 2.0 / 360.0);
  for (LonLat& p : ring) p.longitude += shift;
}

void CloseRing(LandLevel& level, std::size_t start) {
  const std::span<const LonLat> ring(level.points.data() + start, level.points.size() - start);
  level.ringBoxes.push_back(BoxOf(ring));
  level.ringStarts.push_back(static_cast<std::uint32_t>(level.points.size()));
}

/// Points closer than `tolerance` degrees to the last one kept are dropped;
/// rings left with fewer than four points, or smaller than the tolerance,
/// are dropped whole.
LandLevel Simplified(const LandLevel& full, double tolerance) {
  LandLevel level;
  level.ringStarts.push_back(0);
  for (std::size_t r = 0; r < full.ringCount(); ++r) {
    const LonLatBox& box = full.ringBoxes[r];
    if (box.east - box.west < tolerance && box.north - box.south < tolerance) continue;
    const std::size_t start = level.points.size();
    LonLat last{1e9, 1e9};
    for (const LonLat& p : full.Ring(r)) {
      if (std::abs(p.longitude - last.longitude) + std::abs(p.latitude - last.latitude) <
          tolerance) {
        continue;
      }
      level.points.push_back(p);
      last = p;
    }
    if (level.points.size() - start < 4) {
      level.points.resize(start);
      continue;
    }
    CloseRing(level, start);
  }
  return level;
}

}  // namespace

LandMap LandMap::Load(FileSystem& files, const std::string& path, std::error_code& error) {
  const std::unique_ptr<ByteSource> in = files.OpenForReading(path, error);
  if (!in) return {};
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    const std::ptrdiff_t count = in->Read(buffer, sizeof buffer);
    if (count < 0) {
      error = in->error();
      return {};
    }
    if (count == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  return Parse(bytes, error);
}

LandMap LandMap::Parse(std::string_view bytes, std::error_code& error) {
  LandReader reader(bytes);
  LandMap map;
  if (reader.Take(kMagic.size()) != kMagic) {
    error = std::make_error_code(std::errc::illegal_byte_sequence);
    return {};
  }
  const double scaleX = reader.Float64(), scaleY = reader.Float64();
  const double translateX = reader.Float64(), translateY = reader.Float64();
  const std::uint32_t rings = reader.Uint32();
  LandLevel full;
  full.ringStarts.push_back(0);
  for (std::uint32_t r = 0; r < rings && reader.ok(); ++r) {
    const std::uint64_t count = reader.Varint();
    if (count > bytes.size()) break;  // more points than bytes: not this file
    const std::size_t start = full.points.size();
    std::int64_t x = 0, y = 0;
    for (std::uint64_t i = 0; i < count && reader.ok(); ++i) {
      x += reader.Zigzag();
      y += reader.Zigzag();
      full.points.push_back({translateX + static_cast<double>(x) * scaleX,
                             translateY + static_cast<double>(y) * scaleY});
    }
    JoinAcross180(std::span<LonLat>(full.points).subspan(start));
    CloseRing(full, start);
  }
  if (!reader.ok() || !reader.AtEnd() || full.ringCount() != rings) {
    error = std::make_error_code(std::errc::illegal_byte_sequence);
    return {};
  }
  map.levels_.push_back(std::move(full));
  map.BuildLevels();
  error.clear();
  return map;
}

void LandMap::BuildLevels() {
  // levels_[0] serves every zoom; coarser ones serve the zooms where half
  // a screen pixel is more than their tolerance.
  levelZooms_.assign(1, 99.0);
  std::vector<LandLevel> coarse;
  for (const double zoom : {7.0, 5.0, 3.0, 1.0}) {
    const double halfPixel = 360.0 / WorldSize(zoom) / 2.0;
    coarse.push_back(Simplified(levels_.front(), halfPixel));
    levelZooms_.push_back(zoom);
  }
  for (LandLevel& level : coarse) levels_.push_back(std::move(level));
}

const LandLevel& LandMap::ForZoom(double zoom) const {
  std::size_t chosen = 0;
  for (std::size_t i = 1; i < levels_.size(); ++i) {
    if (zoom <= levelZooms_[i]) chosen = i;
  }
  return levels_[chosen];
}

bool LandMap::Contains(LonLat position) const {
  if (levels_.empty()) return false;
  const LandLevel& full = levels_.front();
  bool inside = false;
  for (std::size_t r = 0; r < full.ringCount(); ++r) {
    const LonLatBox& box = full.ringBoxes[r];
    if (position.longitude < box.west || position.longitude > box.east ||
        position.latitude < box.south || position.latitude > box.north) {
      continue;
    }
    const std::span<const LonLat> ring = full.Ring(r);
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
      const LonLat& a = ring[i];
      const LonLat& b = ring[j];
      if ((a.latitude > position.latitude) != (b.latitude > position.latitude) &&
          position.longitude < (b.longitude - a.longitude) * (position.latitude - a.latitude) /
                                       (b.latitude - a.latitude) +
                                   a.longitude) {
        inside = !inside;
      }
    }
  }
  return inside;
}

}  // namespace velorin
