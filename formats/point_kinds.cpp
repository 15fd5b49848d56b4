#include "formats/point_kinds.h"

#include <utility>

#include "formats/title_text.h"

namespace velorin {

std::optional<PointKinds> ParsePointKinds(std::string_view text) {
  PointKinds kinds{false, false, false};
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view word = text.substr(0, comma);
    if (word == "waypoints") {
      kinds.waypoints = true;
    } else if (word == "routes") {
      kinds.routes = true;
    } else if (word == "tracks") {
      kinds.tracks = true;
    } else {
      return std::nullopt;
    }
    if (comma == std::string_view::npos) return kinds;
    text.remove_prefix(comma + 1);
  }
}

std::string PointKindsText(const PointKinds& kinds) {
  std::string text;
  for (const auto& [asked, word] :
       {std::pair{kinds.waypoints, "waypoints"}, std::pair{kinds.routes, "routes"},
        std::pair{kinds.tracks, "tracks"}}) {
    if (asked) text += (text.empty() ? "" : ",") + std::string(word);
  }
  return text;
}

void LinePointTitle(std::string& title, std::string_view lineName, LineKind kind,
                    std::int64_t lineNumber, std::int64_t pointNumber) {
  title.assign(lineName);
  CollapseWhiteSpace(title);
  if (title.empty()) {
    title = kind == LineKind::kRoute ? "Route " : "Track ";
    title += std::to_string(lineNumber);
  }
  title += ' ';
  title += std::to_string(pointNumber);
}

}  // namespace velorin
