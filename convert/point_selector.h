#pragma once
// The run's filters at work on each point, after the title rule and before
// the check: the first filter that leaves a point out is the one that
// counts it, and says why.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/point_selection.h"
#include "formats/point.h"

namespace velorin {

class PointSelector {
 public:
  /// `titles`: the encoding the title rule gives titles in (the output's).
  PointSelector(const std::vector<PointFilter>& filters, TitleEncoding titles);

  /// The index of the filter that leaves `point` out, or nothing when all
  /// keep it. `title` is the point's title as the title rule gave it
  /// (empty: untitled, searched as "no title", the title it is kept under).
  std::optional<std::size_t> FilterLeavingOut(const Point& point, std::string_view title);

  /// Why filter `index` left `point` out, in words ("outside --near (52.3 km
  /// from its centre)").
  std::string Reason(std::size_t index, const Point& point) const;

 private:
  bool Keeps(const PointFilter& filter, const Degrees& degrees, std::string_view title);
  /// The title in UTF-8, decoded once per point when a title filter asks.
  std::string_view Utf8Title(std::string_view title);

  const std::vector<PointFilter>& filters_;
  TitleEncoding titles_;
  TitleDecoder decoder_;
  std::optional<std::string_view> utf8_;
};

}  // namespace velorin
