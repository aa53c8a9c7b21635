#include "platform/win32/ui_win.h"

#include "platform/app_info.h"

namespace vemo {

namespace {

// One pointer for the whole program, as the windows share one user-interface thread.
MousePointer g_pointer = MousePointer::kDefault;

UINT MessageBoxType(MessageStyle style) {
  switch (style) {
    case MessageStyle::kCritical:
      return MB_OK | MB_ICONHAND;
    case MessageStyle::kExclamation:
      return MB_OK | MB_ICONEXCLAMATION;
    case MessageStyle::kInformation:
      return MB_OK | MB_ICONASTERISK;
    case MessageStyle::kOkOnly:
      break;
  }
  return MB_OK;
}

}  // namespace

void WinUi::ShowMessage(const std::wstring& text, MessageStyle style) {
  MessageBoxW(GetActiveWindow(), text.c_str(), app_info::kTitle, MessageBoxType(style));
}

bool WinUi::Ask(const std::wstring& text) {
  return MessageBoxW(GetActiveWindow(), text.c_str(), app_info::kTitle,
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void WinUi::SetMousePointer(MousePointer pointer) {
  g_pointer = pointer;
  // The handler that changes the pointer usually blocks the message loop next, so no
  // WM_SETCURSOR would come to show it: set the cursor now.
  SetCursor(LoadCursorW(nullptr, pointer == MousePointer::kHourglass ? IDC_WAIT : IDC_ARROW));
}

bool ApplyMousePointer() {
  if (g_pointer != MousePointer::kHourglass) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

}  // namespace vemo
