#include "win32/file_dialog.h"

#include "platform/wide_text_win32.h"
#include "win32/dialog_filter.h"

// <windows.h> comes in through file_dialog.h; the common dialogs need it.
#include <commdlg.h>

namespace velorin {
namespace {

// Long enough for any path that the rest of Windows takes.
constexpr std::size_t kPathCapacity = 32768;

}  // namespace

std::optional<std::string> RunFileDialog(HWND owner, PathKind path,
                                         const FileDialogSettings& settings,
                                         const std::string& fileName, int filterIndex) {
  std::wstring buffer = Widen(fileName);
  buffer.resize(kPathCapacity, L'\0');
  const std::wstring filter = Win32DialogFilter(Widen(settings.filter));
  const std::wstring title = Widen(settings.title);
  const std::wstring extension = Win32DefaultExtension(Widen(settings.defaultExt));
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(filterIndex);
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  const BOOL chosen =
      path == PathKind::kInput ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  buffer.resize(wcslen(buffer.c_str()));
  return Narrow(buffer);
}

}  // namespace velorin
