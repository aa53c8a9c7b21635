// frmCheck, the check of the font list: every entry Illustrator cannot use as the list
// registers it and every entry the table fixes, with the fonts found for each; the rows the
// user checks are appended to "Fonts.txt". Opened from the main window's File menu.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fontfix/font_list_check.h"
#include "fontfix/font_table.h"
#include "platform/win32/base_window.h"
#include "platform/win32/dpi_win.h"
#include "platform/win32/form_win.h"

namespace vemo {

class FileRanges;
class FileSystem;
class Ui;

class FrmCheck : public BaseWindow<FrmCheck> {
 public:
  // The list to check, as the main window's 実行 would change it.
  struct List {
    std::wstring file;    // the file Illustrator reads
    std::string content;  // its bytes
    std::wstring table;   // "Fonts.txt" beside the program
    std::vector<std::wstring> fontFolders;
  };

  // The fonts are read through `fonts`; the table is read and written through `files`.
  FrmCheck(Ui& ui, FileSystem& files, FileRanges& fonts);

  // What the dialog asks of the main window: whether Illustrator or Photoshop runs (the
  // window then says so, and nothing is written), and, once rows have been appended to the
  // table, to load it again (and so the table the dialog was given).
  struct Window {
    std::function<bool()> adobeRunning;
    std::function<void()> tableChanged;
  };

  // Checks `list` against `table` (the main window's) and shows the result modally over
  // `owner`; returns when the dialog has been closed. Raises RuntimeError when the dialog
  // cannot be created, or when the table's rows cannot be applied (a row past 1024).
  void Show(HWND owner, List list, const FontTable& table, const Window& window);

 private:
  friend class BaseWindow<FrmCheck>;
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Form_Load();
  void cmdAdd_Click();
  void cmdClose_Click();
  // The candidates' menu of row `row` of the check, at `at` on the screen.
  void lvwEntries_ContextMenu(int row, POINT at);

  void OnInitDialog();
  void Layout(bool centre);
  void AddColumns();
  void FillList();
  void ShowRow(int row);
  // False when the user's change of row `row`'s check box must not be.
  bool MayCheck(int row) const;
  INT_PTR OnNotify(const NMHDR& header);
  // Ctrl+C in the list, and WM_COPY: the list on the clipboard as text.
  void CopyList();
  void OnContextMenu(HWND window, LPARAM position);
  // The rows checked, as rows to append; each with the row of the check it is for.
  std::vector<NewRow> CheckedRows(std::vector<int>& rows) const;
  // Puts `bytes` in place of the table; false, after telling the user, when it cannot be
  // written there.
  bool WriteTable(const std::string& bytes);
  HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }
  int Px(int twips) const { return Pixels(twips, dpi_); }

  Ui& ui_;
  FileSystem& files_;
  FileRanges& fonts_;
  HWND owner_ = nullptr;
  UINT dpi_ = kDefaultDpi;
  FormControls controls_;

  List list_;
  const FontTable* table_ = nullptr;
  const Window* window_ = nullptr;
  RewriteResult rewrite_;  // views list_.content
  FontListCheck check_;
  std::vector<std::string> chosen_;  // by row: the PostScript name its row would register
  // Why a row was not added, by its entry's place in the list as read: kept when the dialog
  // checks the list again.
  std::map<std::size_t, std::wstring> notes_;
  bool filling_ = false;  // the program sets the check boxes
};

}  // namespace vemo
