#include "formats/track_thinner.h"

#include "geo/surface_distance.h"

namespace velorin {

TrackThinner::Verdict TrackThinner::Offer(double longitude, double latitude) {
  const bool first = !started_;
  if (!first) along_ += SurfaceDistanceMetres(longitude_, latitude_, longitude, latitude);
  started_ = true;
  longitude_ = longitude;
  latitude_ = latitude;
  if (first || along_ >= metres_) {
    along_ = 0.0;
    holding_ = false;
    return Verdict::kKeep;
  }
  holding_ = true;
  return Verdict::kHold;
}

bool TrackThinner::EndSegment() {
  const bool held = holding_;
  holding_ = false;
  started_ = false;
  along_ = 0.0;
  return held;
}

}  // namespace velorin
