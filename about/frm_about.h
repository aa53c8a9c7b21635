// The About dialog frmAbout, opened from the main window's Help menu.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "platform/win32/handle.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/win32_services.h"

namespace vemo {

class Ui;

// One instance serves the program's whole life; each Show loads the dialog afresh.
class FrmAbout {
 public:
  explicit FrmAbout(Ui& ui);
  FrmAbout(const FrmAbout&) = delete;
  FrmAbout& operator=(const FrmAbout&) = delete;

  // Loads the dialog (Form_Load) and shows it modally over `owner`, centred on it; returns
  // when the dialog has been closed. Raises RuntimeError when it cannot be created,
  // loaded or shown.
  void Show(HWND owner);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Form_Load();
  void cmdOK_Click();
  void cmdSysInfo_Click();

  void OnInitDialog();
  void CreateControls();
  // Sizes the dialog and its controls for dpi_; `centre` also puts it over the owner.
  void Layout(bool centre);
  void LoadIcons();
  void ApplyFont();
  void PaintSeparator();
  INT_PTR OnCtlColorStatic(HDC dc, HWND control);
  int Px(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), 1440); }
  void Unload();

  Ui& ui_;
  Win32Registry registry_;
  Win32Services services_;
  HWND owner_ = nullptr;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  UniqueHfont font_;
  UniqueHicon bigIcon_;
  UniqueHicon smallIcon_;
  UniqueHicon pictureIcon_;
  // An error inside the dialog's own message handling, carried out of DialogBox to Show.
  std::exception_ptr failure_;
};

}  // namespace vemo
