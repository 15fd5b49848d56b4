// The Win32 map window's Move to a position and Add a point (from the Edit
// menu, or Add a point here from the map's shortcut menu): the position (and
// a new point's title) asked in a box, asked again as typed until it can be
// read (map/typed_position.h), then the presenter's edit.
#include <cstdio>

#include "map/title_check.h"
#include "map/typed_position.h"
#include "win32/map_window.h"
#include "win32/shortcut_menu.h"
#include "window/run_boxes.h"

namespace velorin {
namespace {

constexpr int kCancelMessage = 36;

std::string TypedDegrees(double degrees) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", degrees);
  return text;
}

}  // namespace

std::optional<LonLat> Win32MapWindow::AskPosition(const std::string& caption, LonLat at,
                                                  std::string* title) {
  PointBoxRequest request;
  request.caption = PlainMenuWord(caption);
  request.asksTitle = title != nullptr;
  request.titleLabel = words_.Text(kTitleMessage);
  request.longitudeLabel = words_.Text(kLongitudeMessage);
  request.latitudeLabel = words_.Text(kLatitudeMessage);
  request.cancel = PlainMenuWord(words_.Text(kCancelMessage));
  request.longitude = TypedDegrees(at.longitude);
  request.latitude = TypedDegrees(at.latitude);
  request.checkTitle = [this](const std::string& typed) { return TitleCheckText(typed); };
  // The focus goes back where it was once the box is gone (the map, after
  // its shortcut menu), not nowhere.
  struct FocusKept {
    HWND focus = GetFocus();
    ~FocusKept() {
      if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
    }
  } kept;
  // Asked again, as typed, until it can be read or is cancelled.
  for (;;) {
    const std::optional<PointBoxAnswer> answer =
        seams_.pointBox ? seams_.pointBox(request) : AskPointBox(hwnd_, font_, request);
    if (!answer) return std::nullopt;
    if (const auto position = ParseTypedPosition(answer->longitude, answer->latitude)) {
      if (title != nullptr) *title = answer->title;
      return position;
    }
    saveView_.Show(words_.Text(kErrorTitleMessage), words_.Text(kBadPositionMessage),
                   MessageButtons::kOk, MessageAnswer::kOk);
    request.title = answer->title;
    request.longitude = answer->longitude;
    request.latitude = answer->latitude;
  }
}

void Win32MapWindow::MoveChosen() {
  const std::optional<std::uint32_t> item = presenter_.ChosenAlone();
  if (!item) return;
  const LonLat at = Editor()->points().Position(*item).value_or(canvas_->View().center);
  if (const auto position = AskPosition(words_.Text(kMoveToMessage), at, nullptr))
    presenter_.MoveTo(*item, *position);
}

void Win32MapWindow::AddPoint(LonLat at) {
  if (Editor() == nullptr) return;
  std::string title;
  if (const auto position = AskPosition(words_.Text(kAddPointMessage), at, &title))
    presenter_.Add(title, *position);
}

void Win32MapWindow::OfferAddHere(LonLat at, POINT screen) {
  if (Editor() == nullptr) return;
  const std::vector<std::string> items{words_.Text(kAddHereMessage)};
  const std::optional<std::size_t> chosen =
      seams_.shortcutMenu ? seams_.shortcutMenu(items) : ShowShortcutMenu(hwnd_, screen, items);
  if (chosen == 0U) AddPoint(at);
}

}  // namespace velorin
