// The About dialog frmAbout, opened from the main window's Help menu.
#pragma once

#include <windows.h>

#include "platform/win32/base_window.h"
#include "platform/win32/dpi_win.h"
#include "platform/win32/form_win.h"
#include "platform/win32/handle.h"

namespace vemo {

class FileSystem;
class Launcher;
class Registry;
class Ui;

// One instance serves the program's whole life; each Show loads the dialog afresh.
class FrmAbout : public BaseWindow<FrmAbout> {
 public:
  // `iconId`: the program's icon among its resources, shown in the dialog and its title bar.
  // The system information button finds its program through `registry` and `files` and
  // starts it with `launcher`.
  FrmAbout(Ui& ui, Registry& registry, FileSystem& files, Launcher& launcher, int iconId);
  // Loads the dialog (Form_Load) and shows it modally over `owner`, centred on it; returns
  // when the dialog has been closed. Raises RuntimeError when it cannot be created,
  // loaded or shown.
  void Show(HWND owner);

 private:
  friend class BaseWindow<FrmAbout>;
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Form_Load();
  void cmdOK_Click();
  void cmdSysInfo_Click();

  void OnInitDialog();
  // Sizes the dialog and its controls for dpi_; `centre` also puts it over the owner.
  void Layout(bool centre);
  void LoadIcons();
  void PaintSeparator();
  INT_PTR OnCtlColorStatic(HDC dc, HWND control);
  int Px(int twips) const { return Pixels(twips, dpi_); }
  void Unload();

  Ui& ui_;
  Registry& registry_;
  FileSystem& files_;
  Launcher& launcher_;
  int iconId_;
  HWND owner_ = nullptr;
  UINT dpi_ = kDefaultDpi;
  FormControls controls_;
  UniqueHicon bigIcon_;
  UniqueHicon smallIcon_;
  UniqueHicon pictureIcon_;
};

}  // namespace vemo
