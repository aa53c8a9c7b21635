// frmVemo, the main window: the program's start-up object. Loading it starts the program
// and destroying it ends the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "about/frm_about.h"
#include "app/frm_check.h"
#include "fontfix/fix_font_list.h"
#include "fontfix/font_table.h"
#include "platform/single_instance.h"
#include "platform/win32/base_window.h"
#include "platform/win32/form_win.h"
#include "platform/win32/handle.h"

namespace vemo {

class FileRanges;
class FileSystem;
class Launcher;
class Registry;
class RunningPrograms;
class Shell;
class Ui;
class Virtualization;

class FrmVemo : public BaseWindow<FrmVemo> {
 public:
  // The list and the backup are the files Illustrator sees (`virtualization`); the start
  // folder and the command that opens the target folder ask `shell`; the About dialog reads
  // `registry`; the check of the list reads the fonts through `fonts`; `programs` tells
  // whether Illustrator or Photoshop runs.
  FrmVemo(HINSTANCE instance, Ui& ui, FileSystem& files, Launcher& launcher,
          Virtualization& virtualization, Registry& registry, Shell& shell, FileRanges& fonts,
          RunningPrograms& programs);
  ~FrmVemo();

  // Creates the window hidden, runs Form_Load, then shows the window unless Form_Load has
  // unloaded it. Raises RuntimeError when the window cannot be created.
  void Load(int showCommand);

  // For every command that writes Illustrator's files, before it writes anything: true, once
  // the exclamation box that says so is closed, when Illustrator or Photoshop runs; the
  // command then writes nothing. Raises RuntimeError when the running programs cannot be
  // listed.
  bool IllustratorIsRunning();

 private:
  friend class BaseWindow<FrmVemo>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ReportFailure(std::int32_t number);

  void Form_Load();
  // A handler's failure goes to the error dialog through the window procedure (ReportFailure).
  void mnuExit_Click();
  void cmdExecute_Click();
  void mnuFolder_Click();
  void mnuCheck_Click();
  void mnuRestore_Click();
  void mnuVersion_Click();

  // Fills the table and txtFonts; without "Fonts.txt", the stop message and an empty table.
  void LoadFontTable();
  // False when the list is missing: its message has been shown and nothing was written.
  bool FixFontList();
  // What FixFontList reads from the window.
  FixFontListInput Input() const;
  // The message for a list that is not there, with its path.
  void ListMissing(const std::wstring& listPath);

  void CreateControls();
  void CreateMenus();
  // Sizes the window for its DPI and places every control; `centre` also moves it to the
  // middle of its screen.
  void Layout(UINT dpi, bool centre);
  void OnCommand(int id, int code);
  // WM_ACTIVATE: remembers the focused control when the window is deactivated and focuses it
  // again when it is activated; true when it did.
  bool KeepFocus(bool activated);
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
  Shell& shell_;
  RunningPrograms& programs_;
  // The control that had the focus when the window was last deactivated; txtFolder at start.
  HWND focus_ = nullptr;
  FormControls controls_;
  UniqueHbrush cautionBrush_;
  std::optional<SingleInstance> singleInstance_;
  FrmAbout about_;
  FrmCheck check_;

  // Rows 1..FontTable.FontCount() in use, as Form_Load read them.
  vemo::FontTable FontTable;
};

}  // namespace vemo
