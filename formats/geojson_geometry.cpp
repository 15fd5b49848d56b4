#include "formats/geojson_geometry.h"

#include <algorithm>

namespace velorin {

void GeoJsonGeometry::Reset(std::int64_t line, bool direct) {
  line_ = line;
  direct_ = direct;
  shape_ = Shape::kUntyped;
  reads_ = Reads::kPending;
  listLevel_ = 0;
  coordinates_ = Coordinates::kNone;
  hasGeometries_ = outOfPlace_ = false;
  deepest_ = 0;
  segments_ = 0;
  lastLine_ = 0;
  single_.reset();
  read_.reset();
  kept_.clear();
  reasons_.clear();
  dropped_ = 0;
}

GeoJsonGeometry::Shape GeoJsonGeometry::ShapeOf(std::string_view type) {
  if (type == "Point") return Shape::kPoint;
  if (type == "MultiPoint") return Shape::kMultiPoint;
  if (type == "LineString") return Shape::kLineString;
  if (type == "MultiLineString") return Shape::kMultiLineString;
  if (type == "Polygon") return Shape::kPolygon;
  if (type == "MultiPolygon") return Shape::kMultiPolygon;
  if (type == "GeometryCollection") return Shape::kCollection;
  return Shape::kOther;
}

void GeoJsonGeometry::SetType(std::string_view type, bool isString, GeoJsonReading& reading) {
  if (typed()) return;
  shape_ = isString ? ShapeOf(type) : Shape::kOther;
  const PointKinds& kinds = reading.kinds;
  reads_ = Reads::kNothing;
  if (shape_ == Shape::kPoint && kinds.waypoints) {
    reads_ = Reads::kOne;
  } else if (shape_ == Shape::kMultiPoint && kinds.waypoints) {
    reads_ = Reads::kList;
    listLevel_ = 2;
  } else if (shape_ == Shape::kLineString && kinds.routes) {
    reads_ = Reads::kList;
    listLevel_ = 2;
    read_ = Line{LineKind::kRoute, ++reading.routes, 0, -1, std::nullopt};
  } else if (shape_ == Shape::kMultiLineString && kinds.tracks) {
    reads_ = Reads::kList;
    listLevel_ = 3;
    read_ = Line{LineKind::kTrack, ++reading.tracks, 0, -1, std::nullopt};
  }
  if (reads_ == Reads::kNothing) {
    kept_.clear();
    reasons_.clear();
  }
}

void GeoJsonGeometry::TakeArray(const GeoJsonArray& array, GeoJsonReading& reading,
                                GeoJsonFeature& feature) {
  const bool readable = array.reason.empty();
  if (array.level == 1 && array.numbers == 0 && !array.holdsArrays && readable) {
    coordinates_ = Coordinates::kEmpty;
    return;
  }
  // An array of arrays alone is no position: only its members are.
  if (array.holdsArrays && array.numbers == 0 && readable) return;
  Position position;
  position.level = array.level;
  position.line = array.line;
  position.segment = segments_;
  if (!readable) {
    position.reason = array.reason;
  } else if (array.holdsArrays) {
    position.reason = "a position holds an array";
  } else if (array.numbers < 2) {
    position.reason = "a position with fewer than two numbers";
  } else {
    position.longitude = array.longitude;
    position.latitude = array.latitude;
  }
  TakePosition(position, reading, feature);
}

void GeoJsonGeometry::TakePosition(const Position& position, GeoJsonReading& reading,
                                   GeoJsonFeature& feature) {
  switch (reads_) {
    case Reads::kPending:
      Keep(position, feature);
      return;
    case Reads::kOne:
      // Anything deeper makes it no single position (deepest_ tells).
      if (position.level == 1) {
        single_ = position;
        single_->reason = {};
        if (!position.reason.empty() || !singleReason_.empty()) {
          singleReason_.assign(position.reason);
        }
      }
      return;
    case Reads::kList:
      if (position.level == listLevel_) {
        TakeListed(position, reading, feature);
      } else if (!outOfPlace_) {
        // A list of numbers ends after the positions in it: no line before
        // theirs.
        SayOutOfPlace(std::max(position.line, lastLine_), feature, reading.entries);
      }
      return;
    case Reads::kNothing:
      return;
  }
}

void GeoJsonGeometry::SayOutOfPlace(std::int64_t line, GeoJsonFeature& feature,
                                    GeoJsonEntries& out) {
  outOfPlace_ = true;
  GeoJsonPoint entry;
  entry.line = line;
  entry.reason = shape_ == Shape::kMultiPoint
                     ? "MultiPoint coordinates that are not a list of positions"
                 : shape_ == Shape::kLineString
                     ? "LineString coordinates that are not a list of positions"
                     : "MultiLineString coordinates that are not lists of positions";
  feature.Add(entry, direct_, out);
}

void GeoJsonGeometry::TakeListed(const Position& position, GeoJsonReading& reading,
                                 GeoJsonFeature& feature) {
  lastLine_ = position.line;
  GeoJsonPoint point;
  point.line = position.line;
  point.longitude = position.longitude;
  point.latitude = position.latitude;
  point.reason = position.reason;
  if (read_) {
    point.number = ++read_->points;
    point.kind = read_->kind;
    point.lineNumber = read_->number;
    // A track's readable positions are thinned; a route keeps every one.
    if (read_->kind == LineKind::kTrack && point.reason.empty()) {
      TakeTrackPoint(point, position.segment, reading, feature);
      return;
    }
  }
  feature.Add(point, direct_, reading.entries);
}

void GeoJsonGeometry::TakeTrackPoint(GeoJsonPoint& point, std::int64_t segment,
                                     GeoJsonReading& reading, GeoJsonFeature& feature) {
  if (segment != read_->segment) {
    EndSegment(reading, feature);
    read_->segment = segment;
    reading.thinner.StartSegment();
  }
  if (reading.thinner.Offer(point.longitude, point.latitude) == TrackThinner::Verdict::kHold) {
    read_->held = point;
    return;
  }
  read_->held.reset();
  feature.Add(point, direct_, reading.entries);
}

void GeoJsonGeometry::EndSegment(GeoJsonReading& reading, GeoJsonFeature& feature) {
  if (reading.thinner.EndSegment() && read_->held) {
    feature.Add(*read_->held, direct_, reading.entries);
  }
  read_->held.reset();
}

void GeoJsonGeometry::Keep(const Position& position, const GeoJsonFeature& feature) {
  if (kept_.size() + feature.waiting() >= kMaxPointsWaiting) {
    ++dropped_;
    return;
  }
  Kept& kept = kept_.emplace_back();
  kept.level = position.level;
  kept.line = position.line;
  kept.longitude = position.longitude;
  kept.latitude = position.latitude;
  kept.segment = position.segment;
  if (!position.reason.empty()) {
    kept.reason = static_cast<std::uint32_t>(reasons_.size());
    reasons_.emplace_back(position.reason);
  }
}

void GeoJsonGeometry::TakeKept(GeoJsonReading& reading, GeoJsonFeature& feature) {
  for (const Kept& kept : kept_) {
    Position position;
    position.level = kept.level;
    position.line = kept.line;
    position.longitude = kept.longitude;
    position.latitude = kept.latitude;
    position.segment = kept.segment;
    if (kept.reason != kNoReason) position.reason = reasons_[kept.reason];
    TakePosition(position, reading, feature);
  }
  kept_.clear();
  reasons_.clear();
}

void GeoJsonGeometry::SayDropped(GeoJsonFeature& feature, GeoJsonEntries& out) {
  const std::string reason = std::to_string(dropped_) +
                             " positions before the geometry's type, past the " +
                             std::to_string(kMaxPointsWaiting) + " points one feature keeps";
  GeoJsonPoint entry;
  entry.line = line_;
  entry.reason = reason;
  feature.Add(entry, direct_, out);
}

void GeoJsonGeometry::End(GeoJsonReading& reading, GeoJsonFeature& feature) {
  GeoJsonEntries& out = reading.entries;
  if (!typed()) {
    GeoJsonPoint entry;
    entry.line = line_;
    entry.reason = "a geometry without a \"type\"";
    feature.Add(entry, direct_, out);
    return;
  }
  // At the geometry's line, before the positions it kept: lines never go back.
  if (dropped_ > 0 && reads_ != Reads::kNothing) SayDropped(feature, out);
  if (!kept_.empty()) TakeKept(reading, feature);
  if (reads_ == Reads::kOne) EndPoint(feature, out);
  if (read_ && read_->kind == LineKind::kTrack) EndSegment(reading, feature);
  Count(reading);
}

void GeoJsonGeometry::EndPoint(GeoJsonFeature& feature, GeoJsonEntries& out) {
  GeoJsonPoint point;
  point.line = line_;
  if (coordinates_ != Coordinates::kGiven) {
    point.reason = "a Point without coordinates";
  } else if (!single_ || deepest_ > 1) {
    point.reason = "Point coordinates that are not one position";
  } else {
    // A feature's own point is at the feature's line.
    point.line = direct_ ? feature.line() : single_->line;
    point.longitude = single_->longitude;
    point.latitude = single_->latitude;
    point.reason = singleReason_;
  }
  feature.Add(point, direct_, out);
}

void GeoJsonGeometry::Count(GeoJsonReading& reading) const {
  IgnoredItems& ignored = reading.ignored;
  switch (shape_) {
    case Shape::kPoint:
      if (reads_ == Reads::kNothing) ++ignored[IgnoredKind::kPoint];
      break;
    case Shape::kMultiPoint:
      if (reads_ == Reads::kNothing) ++ignored[IgnoredKind::kMultiPoint];
      break;
    case Shape::kLineString:
      if (!read_) ++ignored[IgnoredKind::kLineString];
      break;
    case Shape::kMultiLineString:
      if (!read_) ++ignored[IgnoredKind::kMultiLineString];
      break;
    case Shape::kPolygon:
      ++ignored[IgnoredKind::kPolygon];
      break;
    case Shape::kMultiPolygon:
      ++ignored[IgnoredKind::kMultiPolygon];
      break;
    case Shape::kOther:
      ++ignored[IgnoredKind::kOtherGeometry];
      break;
    default:
      break;
  }
}

}  // namespace velorin
