#include "app/frm_vemo.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "app/resource.h"
#include "errors/report_error.h"
#include "fontfix/adobe_programs.h"
#include "fontfix/fix_font_list.h"
#include "fontfix/folder_text.h"
#include "fontfix/list_location.h"
#include "fontfix/table_file.h"
#include "platform/app_info.h"
#include "platform/codepage.h"
#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/font_folders.h"
#include "platform/launcher.h"
#include "platform/path.h"
#include "platform/program_folder.h"
#include "platform/runtime_error.h"
#include "platform/shell.h"
#include "platform/system_error.h"
#include "platform/ui.h"
#include "platform/win32/dpi_win.h"
#include "platform/win32/form_win.h"
#include "platform/win32/path_win.h"
#include "platform/win32/ui_win.h"

namespace vemo {

namespace {

constexpr wchar_t kClassName[] = L"VemoToolMainWindow";
constexpr wchar_t kCaption[] = L"べもつーる - Illustratorの日本語フォント登録を修正";

// The layout is kept in twips, as designed; Layout turns it into pixels for the DPI.
constexpr int kClientWidth = 7545;
constexpr int kClientHeight = 6285;
constexpr int kFrameLeft = 480;
constexpr int kFrameTop = 2040;

constexpr COLORREF kCautionBack = RGB(255, 255, 192);
constexpr COLORREF kCautionText = RGB(255, 0, 0);

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kLabel = kChild | WS_GROUP | SS_LEFT | SS_NOPREFIX;

// In tab order: the dialog manager walks the controls in the order they were created.
// Every control but opt10 starts a group, so the arrow keys move only between the options.
constexpr std::array<ControlPlan, 10> kControls{{
    {IDC_TXTFOLDER, WC_EDITW, kDefaultListFolder, kChild | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL,
     WS_EX_CLIENTEDGE, 480, 1380, 6495, 315},
    {IDC_LABEL1, WC_STATICW, L"処理対象フォルダ（adobefnt.lstのあるフォルダ）：", kLabel, 0, 480,
     1020, 3660, 180, true},
    {IDC_OPT89, WC_BUTTONW, L"Illustrator 8 or 9 (AdobeFnt.lst)",
     kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, kFrameLeft + 240, kFrameTop + 300,
     3615, 375},
    {IDC_OPT10, WC_BUTTONW, L"Illustrator 10 (AdobeFnt05.lst)", kChild | BS_AUTORADIOBUTTON, 0,
     kFrameLeft + 240, kFrameTop + 660, 3615, 375},
    {IDC_CMDEXECUTE, WC_BUTTONW, L"実行", kChild | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 0, 3000,
     5580, 1455, 435},
    {IDC_FRAME1, WC_BUTTONW, L"処理対象バージョンとファイル", kChild | WS_GROUP | BS_GROUPBOX, 0,
     kFrameLeft, kFrameTop, 6495, 1155},
    {IDC_TXTFONTS, WC_EDITW, L"",
     kChild | WS_GROUP | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
     WS_EX_CLIENTEDGE, 480, 3720, 6495, 1635},
    {IDC_LABEL2, WC_STATICW, L"修正対象のフォント：", kLabel, 0, 480, 3480, 1560, 180, true},
    {IDC_LABEL3, WC_STATICW,
     L" 注意：作業を行う前に、Illustrator及びPhotoshopを終了させてください。", kLabel, 0, 480, 240,
     6495, 615},
    {IDC_LABEL4, WC_STATICW, L" 実行ボタンをクリックした後、処理に数分かかることがあります。",
     kLabel, 0, 480, 600, 6495, 255},
}};

UniqueHmenu NewMenu(HMENU menu) {
  if (!menu) RaiseSystemError(GetLastError());
  return UniqueHmenu(menu);
}

void Append(HMENU menu, UINT flags, UINT_PTR id, const wchar_t* text) {
  if (!AppendMenuW(menu, flags, id, text)) RaiseSystemError(GetLastError());
}

// The bar takes `popup` over once it holds it.
void AppendPopup(HMENU bar, UniqueHmenu& popup, const wchar_t* text) {
  Append(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), text);
  popup.release();
}

}  // namespace

FrmVemo::FrmVemo(HINSTANCE instance, Ui& ui, FileSystem& files, Launcher& launcher,
                 Virtualization& virtualization, Registry& registry, Shell& shell,
                 FileRanges& fonts, RunningPrograms& programs)
    : instance_(instance),
      ui_(ui),
      files_(files),
      launcher_(launcher),
      virtualization_(virtualization),
      shell_(shell),
      programs_(programs),
      controls_(kControls),
      cautionBrush_(CreateSolidBrush(kCautionBack)),
      about_(ui, registry, files, launcher, IDI_APP),
      check_(ui, files, fonts) {}

FrmVemo::~FrmVemo() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void FrmVemo::Load(int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  // A window made again in the same process finds its class already there.
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    RaiseSystemError(GetLastError());
  }

  // Placed and sized by Layout once the window knows its DPI.
  Create(0, kClassName, kCaption, kWindowStyle, nullptr, instance_);
  Form_Load();
  if (hwnd_) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
  }
}

LRESULT FrmVemo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateMenus();
      CreateControls();
      Layout(DpiForWindow(hwnd_), true);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (ApplyMousePointer()) return TRUE;
      break;
    case WM_ACTIVATE:
      if (KeepFocus(LOWORD(wParam) != WA_INACTIVE)) return 0;
      break;
    case WM_NEXTDLGCTL:
      // A multi-line edit box keeps Tab for itself and asks its parent to move the focus, as
      // it would ask a dialog.
      NextControl(wParam, LOWORD(lParam) != 0);
      return 0;
    case kWmDpiChanged: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
      Layout(HIWORD(wParam), false);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// The window is no dialog, so it keeps the focus of its controls itself.
bool FrmVemo::KeepFocus(bool activated) {
  if (!activated) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) focus_ = focus;
    return false;
  }
  if (!focus_) return false;
  SetFocus(focus_);
  return true;
}

void FrmVemo::ReportFailure(std::int32_t number) {
  ReportError(number, ui_);
}

void FrmVemo::CreateMenus() {
  UniqueHmenu file = NewMenu(CreatePopupMenu());
  Append(file.get(), MF_STRING, IDM_FOLDER, L"対象フォルダを開く...");
  Append(file.get(), MF_STRING, IDM_CHECK, L"フォント一覧を確認(&C)...");
  Append(file.get(), MF_STRING, IDM_RESTORE, L"バックアップから戻す(&R)...");
  Append(file.get(), MF_SEPARATOR, 0, nullptr);
  Append(file.get(), MF_STRING, IDM_EXIT, L"終了(&X)");
  UniqueHmenu help = NewMenu(CreatePopupMenu());
  Append(help.get(), MF_STRING, IDM_VERSION, L"バージョン情報(&A)");
  UniqueHmenu bar = NewMenu(CreateMenu());
  AppendPopup(bar.get(), file, L"ﾌｧｲﾙ(&F)");
  AppendPopup(bar.get(), help, L"ﾍﾙﾌﾟ(&H)");
  // From here the window owns the menus and destroys them with itself.
  if (!SetMenu(hwnd_, bar.get())) RaiseSystemError(GetLastError());
  bar.release();
}

void FrmVemo::CreateControls() {
  controls_.Create(hwnd_, instance_);
  // Label4 lies over the lower part of Label3.
  SetWindowPos(Control(IDC_LABEL4), Control(IDC_LABEL2), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  IllustratorFileSystem illustratorFiles(files_, virtualization_);
  const StartList start =
      ChooseStartList(shell_.CommonFiles32Folder(), illustratorFiles,
                      [this](const std::wstring& path) { return shell_.FolderExists(path); });
  if (!SetWindowTextW(Control(IDC_TXTFOLDER), start.folder.c_str())) {
    RaiseSystemError(GetLastError());
  }
  // Unchecking the other option explicitly takes its tab stop, so Tab enters the group at the
  // checked one.
  const int chosen = start.illustrator10 ? IDC_OPT10 : IDC_OPT89;
  SendMessageW(Control(start.illustrator10 ? IDC_OPT89 : IDC_OPT10), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageW(Control(chosen), BM_SETCHECK, BST_CHECKED, 0);
  focus_ = Control(IDC_TXTFOLDER);
}

void FrmVemo::Layout(UINT dpi, bool centre) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (centre) GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  SizeForClient(hwnd_, {.clientTwips = {kClientWidth, kClientHeight},
                        .style = kWindowStyle,
                        .hasMenu = true,
                        .dpi = dpi,
                        .centreOver = centre ? &monitor.rcMonitor : nullptr});
  controls_.ApplyFont(hwnd_, dpi);
  controls_.Place(hwnd_, dpi);
}

void FrmVemo::NextControl(WPARAM which, bool isHandle) {
  HWND next =
      isHandle ? reinterpret_cast<HWND>(which) : GetNextDlgTabItem(hwnd_, GetFocus(), which != 0);
  if (!next) return;
  if (!isHandle && (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) {
    SendMessageW(next, EM_SETSEL, 0, -1);
  }
  SetFocus(next);
}

std::wstring FrmVemo::ControlText(int id) const {
  HWND control = Control(id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

void FrmVemo::OnCommand(int id, int code) {
  switch (id) {
    case IDC_CMDEXECUTE:
      if (code == BN_CLICKED) cmdExecute_Click();
      break;
    case IDM_FOLDER:
      mnuFolder_Click();
      break;
    case IDM_CHECK:
      mnuCheck_Click();
      break;
    case IDM_RESTORE:
      mnuRestore_Click();
      break;
    case IDM_EXIT:
      mnuExit_Click();
      break;
    case IDM_VERSION:
      mnuVersion_Click();
      break;
    default:
      break;
  }
}

LRESULT FrmVemo::OnCtlColorStatic(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == IDC_LABEL3 || id == IDC_LABEL4) {
    SetTextColor(dc, kCautionText);
    SetBkColor(dc, kCautionBack);
    return reinterpret_cast<LRESULT>(cautionBrush_.get());
  }
  if (id == IDC_TXTFONTS) {
    // Read-only, so the box asks as a static does: the button face, like the window.
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}

// Load calls it outside the window procedure, so its failures are reported here.
void FrmVemo::Form_Load() {
  try {
    singleInstance_.emplace();
    if (singleInstance_->AnotherInstanceRunning()) {
      // Ends the program before anything was shown, without a word.
      DestroyWindow(hwnd_);
      return;
    }
    LoadFontTable();
  } catch (...) {
    ReportError(CaughtErrorNumber(), ui_);
  }
}

void FrmVemo::mnuExit_Click() {
  DestroyWindow(hwnd_);
}

bool FrmVemo::IllustratorIsRunning() {
  if (!IllustratorOrPhotoshopRuns(programs_)) return false;
  ui_.ShowMessage(kAdobeRunningText, MessageStyle::kExclamation);
  return true;
}

void FrmVemo::cmdExecute_Click() {
  try {
    if (IllustratorIsRunning()) return;
    ui_.SetMousePointer(MousePointer::kHourglass);
    const bool rewritten = FixFontList();
    ui_.SetMousePointer(MousePointer::kDefault);
    // A missing list has had its own message; nothing was done to confirm.
    if (rewritten) {
      ui_.ShowMessage(L"処理が終了しました。Illustratorを起動して確認してください。",
                      MessageStyle::kInformation);
    }
  } catch (...) {
    ui_.SetMousePointer(MousePointer::kDefault);
    ReportError(CaughtErrorNumber(), ui_);
  }
}

// The folder of the file 実行 would change: on Vista to 11 the VirtualStore copy's, where that
// copy is the list; otherwise the folder as typed.
void FrmVemo::mnuFolder_Click() {
  const IllustratorList list = IllustratorListFor(Input(), files_, virtualization_);
  const std::wstring folder =
      list.file == list.path ? TrimBlanks(ControlText(IDC_TXTFOLDER)) : FolderOfPath(list.file);
  // Only the Windows folder's explorer.exe: never one planted beside the program or found on
  // the search path.
  const std::wstring explorer = JoinPath(shell_.WindowsFolder(), L"explorer.exe");
  if (!files_.FileExists(explorer)) {
    shell_.OpenFolder(folder);
    return;
  }
  // Unquoted, explorer would take a folder with blanks for several arguments.
  const std::wstring argument = std::any_of(folder.begin(), folder.end(), IsFolderBlank)
                                    ? Quoted(folder, CommandLineWord::kArgument)
                                    : folder;
  launcher_.Start(explorer, L"EXPLORER.EXE ," + argument);
}

void FrmVemo::mnuVersion_Click() {
  about_.Show(hwnd_);
}

void FrmVemo::LoadFontTable() {
  const std::optional<std::string> text =
      vemo::LoadFontTable(PathBesideProgram(L"Fonts.txt"), FontTable, files_);
  if (!text) {
    ui_.ShowMessage(L"Fonts.txtがありません", MessageStyle::kCritical);
    return;
  }
  SetWindowTextW(Control(IDC_TXTFONTS), WideFromCp932(*text).c_str());
}

bool FrmVemo::FixFontList() {
  const FontListFix outcome = vemo::FixFontList(Input(), FontTable, files_, virtualization_);
  if (outcome.rewrite) return true;
  ListMissing(outcome.list.path);
  return false;
}

FixFontListInput FrmVemo::Input() const {
  FixFontListInput input;
  input.opt10 = IsDlgButtonChecked(hwnd_, IDC_OPT10) == BST_CHECKED;
  input.folderText = ControlText(IDC_TXTFOLDER);
  input.programFolder = ProgramFolder();
  return input;
}

void FrmVemo::ListMissing(const std::wstring& listPath) {
  ui_.ShowMessage(kMissingListText + (L"\r\n" + listPath), MessageStyle::kExclamation);
}

// The backup back over the file Illustrator reads, as vemofix --restore puts it, once the user
// has said yes; the backup stays.
void FrmVemo::mnuRestore_Click() {
  if (IllustratorIsRunning()) return;
  const ListPaths paths = ListPathsFor(Input());
  IllustratorFileSystem illustratorFiles(files_, virtualization_);
  const std::wstring backup = illustratorFiles.FileFor(paths.backup);
  if (!illustratorFiles.FileExists(paths.list)) return ListMissing(paths.list);
  if (!illustratorFiles.FileExists(paths.backup)) {
    ui_.ShowMessage(L"バックアップがありません。\r\n" + backup, MessageStyle::kExclamation);
    return;
  }
  if (!ui_.Ask(L"次のバックアップで、フォント一覧ファイルを元に戻しますか？\r\n\r\nバックアップ：" +
               backup + L"\r\n戻す先：" + illustratorFiles.FileFor(paths.list)))
    return;
  RestoreList(paths, illustratorFiles);
  ui_.ShowMessage(L"元に戻しました。Illustratorを起動して確認してください。",
                  MessageStyle::kInformation);
}

// The list that 実行 would change, checked; a missing one gets 実行's message and no dialog.
void FrmVemo::mnuCheck_Click() {
  const IllustratorList list = IllustratorListFor(Input(), files_, virtualization_);
  if (!files_.FileExists(list.file)) return ListMissing(list.path);
  FrmCheck::List checked{list.file, files_.ReadWholeFile(list.file),
                         PathBesideProgram(L"Fonts.txt"), FontFolders()};
  check_.Show(hwnd_, std::move(checked), FontTable,
              {[this] { return IllustratorIsRunning(); }, [this] { LoadFontTable(); }});
}

}  // namespace vemo
