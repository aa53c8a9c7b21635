#include "app/frm_check.h"

#include <commctrl.h>

#include <array>
#include <cstring>
#include <utility>

#include "app/resource.h"
#include "fontfix/table_file.h"
#include "platform/codepage.h"
#include "platform/error_numbers.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "platform/scope_exit.h"
#include "platform/system_error.h"
#include "platform/ui.h"
#include "platform/win32/clipboard_win.h"
#include "platform/win32/handle.h"

namespace vemo {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr wchar_t kCaption[] = L"フォント一覧の確認";

// Client area, in twips.
constexpr int kClientWidth = 10200;
constexpr int kClientHeight = 6480;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOPREFIX;

// In tab order: the creation order is the order Tab walks.
constexpr ControlPlan kControls[] = {
    {IDC_CHECK_FILE, WC_STATICW, L"", kLabel | SS_PATHELLIPSIS, 0, 240, 180, 9720, 255},
    {IDC_CHECK_LIST, WC_LISTVIEWW, L"",
     kChild | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, 240,
     540, 9720, 4560},
    {IDC_CHECK_SUMMARY, WC_STATICW, L"", kLabel, 0, 240, 5220, 9720, 480},
    {IDC_CHECK_ADD, WC_BUTTONW, L"対応表に追加(&A)", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 5760,
     5880, 2100, 420},
    {IDC_CHECK_CLOSE, WC_BUTTONW, L"閉じる", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 7980, 5880,
     1980, 420},
};

struct Column {
  const wchar_t* title;
  int width;  // twips
  int format;
};
constexpr std::array<Column, 5> kColumns{{
    {L"行", 900, LVCFMT_RIGHT},
    {L"登録名", 2100, LVCFMT_LEFT},
    {L"修正後の名前", 2100, LVCFMT_LEFT},
    {L"状態", 2400, LVCFMT_LEFT},
    {L"フォントファイル", 2100, LVCFMT_LEFT},
}};

constexpr wchar_t kAllUsable[] = L"すべての登録名をIllustratorで使えます。";

const wchar_t* StateText(CheckState state) {
  switch (state) {
    case CheckState::kFixedByTable:
      return L"対応表で修正";
    case CheckState::kOneCandidate:
      return L"候補";
    case CheckState::kCandidates:
      return L"候補が複数";
    case CheckState::kNoFont:
      break;
  }
  return L"フォントが見つかりません";
}

std::wstring FaceText(const FaceRef& face) {
  if (!face.collection) return face.file;
  return face.file + L"、フェイス " + std::to_wstring(face.face);
}

std::wstring NotAddedText(const RowAddition& row) {
  switch (row.result) {
    case AddResult::kTableFull:
      return L"対応表が1024行に達しているため追加できません";
    case AddResult::kNotWritable:
      return L"対応表に書けない名前のため追加できません";
    case AddResult::kReplacesAnother:
      return row.otherLine == 0 ? std::wstring(L"この行では置換されないため追加できません")
                                : L"先に" + std::to_wstring(row.otherLine) +
                                      L"行目を置換してしまうため追加できません";
    case AddResult::kAdded:
      break;
  }
  return L"";
}

std::wstring Summary(const FontListCheck& check) {
  if (check.rows.empty()) return kAllUsable;
  const auto count = [&](CheckState state) { return std::to_wstring(check.Count(state)); };
  return L"対応表で修正 " + count(CheckState::kFixedByTable) + L"件　候補 " +
         count(CheckState::kOneCandidate) + L"件　候補が複数 " + count(CheckState::kCandidates) +
         L"件　フォントが見つかりません " + count(CheckState::kNoFont) +
         L"件\r\n読んだフォントファイル " + std::to_wstring(check.fontFiles) +
         L"件　読めなかったファイル " + std::to_wstring(check.skipped.size()) + L"件";
}

void SetText(HWND window, const std::wstring& text) {
  if (!::SetWindowTextW(window, text.c_str())) RaiseSystemError(::GetLastError());
}

void SetCell(HWND list, int item, int column, const std::wstring& text) {
  LVITEMW cell{};
  cell.iSubItem = column;
  cell.pszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&cell));
}

// Whether the user cannot write the table where it is: a folder of Program Files, say.
bool IsWriteDenied(std::int32_t number) {
  return number == err::kPathFileAccessError || number == err::kPermissionDenied;
}

}  // namespace

FrmCheck::FrmCheck(Ui& ui, FileSystem& files, FileRanges& fonts)
    : ui_(ui), files_(files), fonts_(fonts), controls_(kControls) {}

void FrmCheck::Show(HWND owner, List list, const FontTable& table, const Window& window) {
  owner_ = owner;
  list_ = std::move(list);
  table_ = &table;
  window_ = &window;
  notes_.clear();
  std::vector<WORD> dialogTemplate = DialogTemplate(kStyle, kExStyle, kCaption);
  const ScopeExit unload([this] {
    controls_.ReleaseFont();
    check_ = FontListCheck();
    rewrite_ = RewriteResult();
  });
  RunDialog(reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner);
}

INT_PTR FrmCheck::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return FALSE;  // the focus is set already
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CHECK_ADD:
          if (HIWORD(wParam) == BN_CLICKED) cmdAdd_Click();
          return TRUE;
        case IDC_CHECK_CLOSE:
        case IDOK:
        case IDCANCEL:  // Esc and the close box
          cmdClose_Click();
          return TRUE;
      }
      return FALSE;
    case WM_NOTIFY:
      ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
      return TRUE;
    case WM_COPY:
      CopyList();
      return TRUE;
    case kWmDpiChanged: {
      dpi_ = HIWORD(wParam);
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      controls_.ApplyFont(hwnd_, dpi_);
      Layout(false);
      return TRUE;
    }
  }
  return FALSE;
}

void FrmCheck::OnInitDialog() {
  dpi_ = DpiForWindow(owner_ != nullptr ? owner_ : hwnd_);
  controls_.Create(hwnd_, ::GetModuleHandleW(nullptr));
  controls_.ApplyFont(hwnd_, dpi_);
  ListView_SetExtendedListViewStyle(Control(IDC_CHECK_LIST),
                                    LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
  AddColumns();
  Form_Load();
  Layout(true);
  ::SendMessageW(hwnd_, DM_SETDEFID, IDC_CHECK_CLOSE, 0);
  ::SetFocus(Control(IDC_CHECK_LIST));
}

// Checks the list as it is now, with the table as it is now.
void FrmCheck::Form_Load() {
  ui_.SetMousePointer(MousePointer::kHourglass);
  const ScopeExit pointer([this] { ui_.SetMousePointer(MousePointer::kDefault); });
  SetText(Control(IDC_CHECK_FILE), L"対象ファイル：" + list_.file);
  rewrite_ = RewriteFontList(list_.content, *table_);
  FontSources sources;
  sources.folders = list_.fontFolders;
  sources.outlinePath = [](std::string_view value) { return WideFromCp932(value); };
  check_ = CheckFontList(rewrite_, list_.content, sources, fonts_);
  chosen_.assign(check_.rows.size(), std::string());
  for (std::size_t i = 0; i < check_.rows.size(); ++i)
    if (check_.rows[i].state == CheckState::kOneCandidate)
      chosen_[i] = check_.rows[i].faces.front().postScript;
  FillList();
  SetText(Control(IDC_CHECK_SUMMARY), Summary(check_));
}

void FrmCheck::cmdAdd_Click() {
  if (window_->adobeRunning()) return;
  std::vector<int> rows;
  const std::vector<NewRow> newRows = CheckedRows(rows);
  if (newRows.empty()) {
    ui_.ShowMessage(L"対応表に追加する行がありません。候補の行にチェックを付けてください。",
                    MessageStyle::kExclamation);
    return;
  }
  const std::string tableBytes =
      files_.FileExists(list_.table) ? files_.ReadWholeFile(list_.table) : std::string();
  auto table = std::make_unique<FontTable>();
  (void)ParseFontTable(tableBytes, *table);
  const TableAddition addition = AppendRows(tableBytes, *table, list_.content, newRows);
  if (addition.added > 0 && !WriteTable(addition.table)) return;
  for (std::size_t i = 0; i < addition.rows.size(); ++i) {
    const CheckRow& row = check_.rows[static_cast<std::size_t>(rows[i])];
    if (addition.rows[i].result != AddResult::kAdded)
      notes_[rewrite_.entries[row.entry].original] = NotAddedText(addition.rows[i]);
  }
  if (addition.added > 0) window_->tableChanged();
  Form_Load();
}

void FrmCheck::cmdClose_Click() {
  ::EndDialog(hwnd_, IDOK);
}

void FrmCheck::lvwEntries_ContextMenu(int row, POINT at) {
  const CheckRow& checked = check_.rows[static_cast<std::size_t>(row)];
  if (checked.state != CheckState::kCandidates) return;
  UniqueHmenu menu(::CreatePopupMenu());
  if (!menu) RaiseSystemError(::GetLastError());
  for (std::size_t i = 0; i < checked.faces.size(); ++i) {
    // Numbered, so that a key picks each.
    const std::wstring text = L"&" + std::to_wstring((i + 1) % 10) + L"  " +
                              WideFromCp932(checked.faces[i].postScript) + L"  (" +
                              FaceText(checked.faces[i]) + L")";
    if (!::AppendMenuW(menu.get(), MF_STRING, i + 1, text.c_str()))
      RaiseSystemError(::GetLastError());
  }
  const int picked = static_cast<int>(
      ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN,
                       at.x, at.y, 0, hwnd_, nullptr));
  if (picked <= 0) return;
  chosen_[static_cast<std::size_t>(row)] =
      checked.faces[static_cast<std::size_t>(picked - 1)].postScript;
  ShowRow(row);
  filling_ = true;
  ListView_SetCheckState(Control(IDC_CHECK_LIST), row, TRUE);
  filling_ = false;
}

void FrmCheck::Layout(bool centre) {
  ClientSizing sizing{.clientTwips = {kClientWidth, kClientHeight},
                      .style = kStyle,
                      .exStyle = kExStyle,
                      .dpi = dpi_};
  if (centre)
    SizeDialog(hwnd_, owner_, sizing);
  else
    SizeForClient(hwnd_, sizing);
  controls_.Place(hwnd_, dpi_);
  for (std::size_t i = 0; i < kColumns.size(); ++i)
    ListView_SetColumnWidth(Control(IDC_CHECK_LIST), static_cast<int>(i), Px(kColumns[i].width));
}

void FrmCheck::AddColumns() {
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.cx = Px(kColumns[i].width);
    column.pszText = const_cast<wchar_t*>(kColumns[i].title);
    column.iSubItem = static_cast<int>(i);
    if (::SendMessageW(Control(IDC_CHECK_LIST), LVM_INSERTCOLUMNW, i,
                       reinterpret_cast<LPARAM>(&column)) < 0)
      RaiseSystemError(::GetLastError());
  }
}

void FrmCheck::FillList() {
  HWND list = Control(IDC_CHECK_LIST);
  filling_ = true;
  const ScopeExit filled([this] { filling_ = false; });
  ListView_DeleteAllItems(list);
  for (std::size_t i = 0; i < check_.rows.size(); ++i) {
    const std::wstring line = std::to_wstring(check_.rows[i].line);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<wchar_t*>(line.c_str());
    if (::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0)
      throw RuntimeError(err::kOutOfMemory);
    ShowRow(static_cast<int>(i));
    ListView_SetCheckState(list, static_cast<int>(i),
                           check_.rows[i].state == CheckState::kOneCandidate &&
                               !notes_.count(rewrite_.entries[check_.rows[i].entry].original));
  }
  if (!check_.rows.empty()) ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

void FrmCheck::ShowRow(int row) {
  HWND list = Control(IDC_CHECK_LIST);
  const CheckRow& checked = check_.rows[static_cast<std::size_t>(row)];
  const std::string& chosen = chosen_[static_cast<std::size_t>(row)];
  std::wstring fixed =
      WideFromCp932(checked.state == CheckState::kFixedByTable ? checked.fixed : chosen);
  std::wstring file;
  for (const FaceRef& face : checked.faces)
    if (face.postScript == chosen) file = FaceText(face);
  if (checked.state == CheckState::kCandidates && chosen.empty())
    file = std::to_wstring(checked.faces.size()) + L"個の候補から右クリックで選びます";
  const auto note = notes_.find(rewrite_.entries[checked.entry].original);
  SetCell(list, row, 1, WideFromCp932(checked.registered));
  SetCell(list, row, 2, fixed);
  SetCell(list, row, 3, note != notes_.end() ? note->second : StateText(checked.state));
  SetCell(list, row, 4, file);
}

bool FrmCheck::MayCheck(int row) const {
  return !chosen_[static_cast<std::size_t>(row)].empty() &&
         check_.rows[static_cast<std::size_t>(row)].state != CheckState::kFixedByTable;
}

INT_PTR FrmCheck::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_CHECK_LIST) return 0;
  if (header.code == LVN_ITEMCHANGING) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    const bool checkChanges = (change.uChanged & LVIF_STATE) &&
                              ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0;
    // Only a row with a name to register takes a check; one of several candidates asks for
    // its name first.
    if (!checkChanges || filling_ || MayCheck(change.iItem)) return FALSE;
    if (check_.rows[static_cast<std::size_t>(change.iItem)].state == CheckState::kCandidates)
      ::PostMessageW(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(header.hwndFrom), -1);
    return TRUE;
  }
  if (header.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == 'C' &&
      ::GetKeyState(VK_CONTROL) < 0) {
    CopyList();
    return 0;
  }
  if (header.code == NM_DBLCLK) {
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    if (click.iItem >= 0) {
      POINT at = click.ptAction;
      ::ClientToScreen(header.hwndFrom, &at);
      lvwEntries_ContextMenu(click.iItem, at);
    }
  }
  return 0;
}

// A right click, Shift+F10 or the menu key on the list: the focused row's candidates.
void FrmCheck::OnContextMenu(HWND window, LPARAM position) {
  if (window != Control(IDC_CHECK_LIST)) return;
  const int row = ListView_GetNextItem(window, -1, LVNI_FOCUSED);
  if (row < 0) return;
  POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  if (position == -1) {
    RECT cell{};
    ListView_GetItemRect(window, row, &cell, LVIR_LABEL);
    at = {cell.left, cell.bottom};
    ::ClientToScreen(window, &at);
  }
  lvwEntries_ContextMenu(row, at);
}

// The list as text, a row a line and its columns between tabs, after a line of the columns'
// titles: for the user to paste into a mail or a sheet.
void FrmCheck::CopyList() {
  std::wstring text;
  for (const Column& column : kColumns) text += column.title + std::wstring(L"\t");
  text.back() = L'\r';
  text += L'\n';
  HWND list = Control(IDC_CHECK_LIST);
  wchar_t cell[1024];
  for (int row = 0; row < ListView_GetItemCount(list); ++row) {
    for (std::size_t column = 0; column < kColumns.size(); ++column) {
      cell[0] = L'\0';
      ListView_GetItemText(list, row, static_cast<int>(column), cell, 1024);
      text += cell;
      text += column + 1 < kColumns.size() ? L"\t" : L"\r\n";
    }
  }
  CopyToClipboard(hwnd_, text);
}

std::vector<NewRow> FrmCheck::CheckedRows(std::vector<int>& rows) const {
  std::vector<NewRow> newRows;
  for (std::size_t i = 0; i < check_.rows.size(); ++i) {
    if (!ListView_GetCheckState(Control(IDC_CHECK_LIST), static_cast<int>(i)) ||
        !MayCheck(static_cast<int>(i)))
      continue;
    newRows.push_back(RowFor(check_.rows[i], rewrite_, chosen_[i]));
    rows.push_back(static_cast<int>(i));
  }
  return newRows;
}

bool FrmCheck::WriteTable(const std::string& bytes) {
  try {
    files_.ReplaceWholeFile(list_.table, bytes);
    return true;
  } catch (const RuntimeError& error) {
    if (!IsWriteDenied(error.Number())) throw;
    ui_.ShowMessage(L"次のファイルに書き込めないため、対応表は変更していません。\r\n" +
                        list_.table +
                        L"\r\n\r\nべもつーるのフォルダーを、書き込めるフォルダー（ドキュメントな"
                        L"ど）に移してから、もう一度追加してください。",
                    MessageStyle::kExclamation);
    return false;
  }
}

}  // namespace vemo
