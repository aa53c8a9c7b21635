// Message boxes and the application-wide mouse pointer on Win32.
#pragma once

#include <windows.h>

#include "platform/ui.h"

namespace vemo {

class WinUi : public Ui {
 public:
  // Owned by the thread's active window, so that a box raised while a dialog is up stays on
  // top of it; without one (during start-up) the box has no owner.
  void ShowMessage(const std::wstring& text, MessageStyle style) override;
  bool Ask(const std::wstring& text) override;
  // Takes effect at once, even while the caller keeps the message loop blocked.
  void SetMousePointer(MousePointer pointer) override;
};

// For WM_SETCURSOR of every window of the program: while the application pointer is not the
// default, shows it and returns true (the window procedure then answers TRUE); otherwise
// returns false and the window's usual cursor applies.
bool ApplyMousePointer();

}  // namespace vemo
