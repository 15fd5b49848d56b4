#pragma once
// The run's filters at work on each point, after the title rule and before
// the check: the first filter that leaves a point out is the one that
// counts it, and says why.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/point_selection.h"
#include "formats/point.h"
#include "text/regex_search.h"

namespace velorin {

class PointSelector {
 public:
  /// `titles`: the encoding the title rule gives titles in (the output's).
  /// `keepGoing` is asked every millisecond or so while a long title is
  /// searched (the run's event step); false stops the search.
  PointSelector(const std::vector<PointFilter>& filters, TitleEncoding titles,
                std::function<bool()> keepGoing = {});

  enum class Verdict {
    kKept,
    kLeftOut,
    kStopped,  ///< a title search was stopped: the run is cancelled
  };
  /// What the filters make of `point`; when one leaves it out, `filter` is
  /// its index. `title` is the point's title as the title rule gave it
  /// (empty: untitled, searched as "no title", the title it is kept under).
  Verdict Judge(const Point& point, std::string_view title, std::size_t& filter);

  /// Why filter `index` left `point` out, in words ("outside --near (52.3 km
  /// from its centre)").
  std::string Reason(std::size_t index, const Point& point) const;

 private:
  Verdict Judge(std::size_t index, const Degrees& degrees, std::string_view title);
  /// The title in UTF-8, decoded once per point when a title filter asks.
  std::string_view Utf8Title(std::string_view title);

  const std::vector<PointFilter>& filters_;
  TitleEncoding titles_;
  std::function<bool()> keepGoing_;
  /// A searcher for each title filter, which remembers its steps from one
  /// title to the next.
  std::vector<std::optional<RegexSearcher>> searchers_;
  TitleDecoder decoder_;
  std::optional<std::string_view> utf8_;
};

}  // namespace velorin
