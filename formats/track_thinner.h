#pragma once
// Thins the points of a track as they come, holding none of it: a point is
// kept when the distance along the track since the last kept point (every
// step between the points in between added up) has reached the thinning
// distance. The first and the last point of each segment are always kept;
// since a point is only known to be the last when its segment ends, the
// reader holds the latest point not kept until then.
namespace velorin {

class TrackThinner {
 public:
  /// `metres`: 0 keeps every point.
  explicit TrackThinner(double metres) : metres_(metres) {}

  /// What becomes of a point offered.
  enum class Verdict {
    kKeep,  ///< hand it out now
    kHold,  ///< hold it (in place of the one held before): it is handed out
            ///< only if it turns out to be the segment's last
  };

  /// A segment begins: its first point is kept.
  void StartSegment() {
    started_ = holding_ = false;
    along_ = 0.0;
  }
  /// The next point of the segment, in decimal degrees.
  Verdict Offer(double longitude, double latitude);
  /// The segment has ended: true when the point held last is its last
  /// point and must be handed out.
  bool EndSegment();

 private:
  double metres_;
  bool started_ = false;
  bool holding_ = false;
  double along_ = 0.0;  ///< metres along the track since the last kept point
  double longitude_ = 0.0;
  double latitude_ = 0.0;
};

}  // namespace velorin
