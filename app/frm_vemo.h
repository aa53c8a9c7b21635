// frmVemo, the main window: the program's start-up object. Loading it starts the program
// and destroying it ends the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "about/frm_about.h"
#include "fontfix/font_table.h"
#include "platform/single_instance.h"
#include "platform/win32/base_window.h"
#include "platform/win32/handle.h"

namespace vemo {

class FileSystem;
class Launcher;
class Ui;
class Virtualization;

class FrmVemo : public BaseWindow<FrmVemo> {
 public:
  // The list and the backup are the files Illustrator sees (`virtualization`).
  FrmVemo(HINSTANCE instance, Ui& ui, FileSystem& files, Launcher& launcher,
          Virtualization& virtualization);
  ~FrmVemo();

  // Creates the window hidden, runs Form_Load, then shows the window unless Form_Load has
  // unloaded it. Raises RuntimeError when the window cannot be created.
  void Load(int showCommand);

 private:
  friend class BaseWindow<FrmVemo>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ReportFailure(std::int32_t number);

  void Form_Load();
  void mnuExit_Click();
  void cmdExecute_Click();
  void mnuFolder_Click();
  void mnuVersion_Click();

  // Fills the table and txtFonts; without "Fonts.txt", the stop message and an empty table.
  void LoadFontTable();
  // False when the list is missing: its message has been shown and nothing was written.
  bool FixFontList();

  void CreateControls();
  void CreateMenus();
  // Sizes the window for its DPI and places every control; `centre` also moves it to the
  // middle of its screen.
  void Layout(UINT dpi, bool centre);
  void ApplyFont(UINT dpi);
  SIZE TextSize(const wchar_t* text) const;
  void OnCommand(int id, int code);
  LRESULT OnCtlColorStatic(HDC dc, HWND control);
  // WM_NEXTDLGCTL: `which` is the control to focus, or 0 for the next, non-zero for the
  // previous one in tab order.
  void NextControl(WPARAM which, bool isHandle);
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  std::wstring ControlText(int id) const;

  HINSTANCE instance_;
  Ui& ui_;
  FileSystem& files_;
  Launcher& launcher_;
  Virtualization& virtualization_;
  // The control that had the focus when the window was last deactivated; txtFolder at start.
  HWND focus_ = nullptr;
  UniqueHfont font_;
  UniqueHbrush cautionBrush_;
  std::optional<SingleInstance> singleInstance_;
  FrmAbout about_;

  vemo::FontTable FontTable;
  std::int32_t FontCount = 0;
};

}  // namespace vemo
