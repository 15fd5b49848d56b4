#pragma once
// The box of Edit > Move to a position and Add a point in the Win32 map
// window: a point's longitude and latitude (and for a new point its title)
// typed, the title checked as it is typed. Modal over the map window.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <functional>
#include <optional>
#include <string>

namespace velorin {

struct PointBoxRequest {
  std::string caption;
  /// Whether a title is asked for too (Add a point).
  bool asksTitle = false;
  std::string titleLabel;
  std::string longitudeLabel;
  std::string latitudeLabel;
  std::string cancel;  ///< the Cancel button's word
  /// What the boxes hold when it opens (UTF-8).
  std::string title;
  std::string longitude;
  std::string latitude;
  /// What a title typed will become: shown below it, empty for a good one.
  std::function<std::string(const std::string& typed)> checkTitle;
};

struct PointBoxAnswer {
  std::string title;
  std::string longitude;
  std::string latitude;
};

/// Shows the box over `owner` in `font`; nothing when it was cancelled.
std::optional<PointBoxAnswer> AskPointBox(HWND owner, HFONT font, const PointBoxRequest& request);

}  // namespace velorin
