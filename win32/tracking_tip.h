#pragma once
// A tip that follows the mouse: a tracking tooltip owned by one window,
// shown at once where it is asked, its text broken into lines at '\n'.
// The map shows what a point or a circle is; the list what a row's point
// is. Wine's list view never asks for the tips a list view may give, so
// the list shows its own.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <string>

namespace velorin {

class TrackingTip {
 public:
  /// A tip of `owner`, hidden.
  explicit TrackingTip(HWND owner);
  ~TrackingTip();
  TrackingTip(const TrackingTip&) = delete;
  TrackingTip& operator=(const TrackingTip&) = delete;

  void SetFont(HFONT font);
  /// Shows `text` (UTF-8) with its corner at `screen`; the same text again
  /// only moves it.
  void Show(const std::string& text, POINT screen);
  void Hide();
  /// What is shown (UTF-8); empty while hidden.
  const std::string& Text() const { return text_; }
  /// The owner is being destroyed, and the tip with it.
  void Forget() { tip_ = nullptr; }

 private:
  HWND owner_;
  HWND tip_ = nullptr;
  std::string text_;
};

}  // namespace velorin
