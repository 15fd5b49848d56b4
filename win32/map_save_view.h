#pragma once
// Saving from the Win32 map window: the save's boxes as message boxes, its
// dialog as the common Save As dialog, the window's paint while the points
// are written; MapSaveFlow (map/map_save_flow.h) decides the rest.
// <windows.h> first: the declarations below need its types.
#include <windows.h>
// Then the rest.
#include <string>

#include "map/map_messages.h"
#include "map/map_save_view.h"
#include "win32/win32_seams.h"

namespace velorin {

class Win32MapSaveView : public MapSaveView {
 public:
  /// Boxes and dialogs over `owner`, answered through `seams` when a test
  /// puts its own in.
  Win32MapSaveView(HWND owner, const MapMessages& words, const Win32Seams& seams);
  void SetOwner(HWND owner) { owner_ = owner; }

  std::string MessageText(int number) override { return words_.Text(number); }
  bool ShowBox(const SaveBox& box) override;
  bool AskToReplace() override;
  void ShowRunEnd(const RunOutcome& outcome) override;
  std::optional<std::string> AskSavePath(const SavePathRequest& request) override;
  bool HandleEvents() override;

  /// A message box over the window; what a box closed otherwise answers
  /// (Escape) is what a question must not take for Yes or Save.
  MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons buttons,
                     MessageAnswer defaultAnswer) const;

 private:
  HWND owner_;
  const MapMessages& words_;
  const Win32Seams& seams_;
  DWORD lastEvents_ = 0;
};

}  // namespace velorin
