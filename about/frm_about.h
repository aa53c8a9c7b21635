// The About dialog frmAbout, opened from the main window's Help menu.
#pragma once

#include <windows.h>

namespace vemo {

class Ui;

class FrmAbout {
 public:
  explicit FrmAbout(Ui& ui);
  // Loads the dialog (Form_Load) and shows it modally over `owner`, centred on it; returns
  // when the dialog has been closed. Raises RuntimeError when it cannot be created,
  // loaded or shown.
  void Show(HWND owner);
  // (the rest of the class belongs to the dialog's implementation)
 private:
  Ui& ui_;
};

}  // namespace vemo
