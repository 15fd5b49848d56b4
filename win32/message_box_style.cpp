#include "win32/message_box_style.h"

namespace velorin {

UINT Win32MessageBoxStyle(MessageButtons buttons, MessageAnswer defaultAnswer, MessageIcon icon) {
  UINT style = MB_APPLMODAL;
  if (buttons == MessageButtons::kYesNo) {
    style |= MB_YESNO | (defaultAnswer == MessageAnswer::kNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
  } else {
    style |= MB_OK;
  }
  switch (icon) {
    case MessageIcon::kNone:
      break;
    case MessageIcon::kInformation:
      style |= MB_ICONINFORMATION;
      break;
    case MessageIcon::kWarning:
      style |= MB_ICONWARNING;
      break;
    case MessageIcon::kError:
      style |= MB_ICONERROR;
      break;
  }
  return style;
}

}  // namespace velorin
