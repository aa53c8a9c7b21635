#include "about/frm_about.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "about/about_text.h"
#include "about/sys_info.h"
#include "about/about_resource.h"
#include "platform/app_info.h"
#include "platform/runtime_error.h"
#include "platform/scope_exit.h"
#include "platform/system_error.h"

namespace vemo {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

// Client area, in twips.
constexpr int kClientWidth = 5730;
constexpr int kClientHeight = 3555;

constexpr wchar_t kCaptionBeforeLoad[] = L"ﾊﾞｰｼﾞｮﾝ情報";
constexpr wchar_t kDescription[] =
    L"Illustratorで使えないフォントの登録情報を更新して使えるようにするソフトです。";
constexpr wchar_t kContactNotice[] =
    L"ご質問や不具合のご報告は、\r\n"
    L"このソフトを入手した配布元の\r\n"
    L"お問い合わせ窓口までお寄せください。";

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// In tab order: the creation order is the order Tab walks.
constexpr ControlPlan kControls[] = {
    {IDC_ABOUT_OK, WC_BUTTONW, L"OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 4260, 2625, 1310,
     345},
    {IDC_ABOUT_PICICON, WC_STATICW, L"", kChild | SS_ICON | SS_CENTERIMAGE, 0, 240, 240, 540, 540},
    {IDC_ABOUT_SYSINFO, WC_BUTTONW, L"ｼｽﾃﾑ情報(&S)...", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0,
     4260, 3075, 1310, 345},
    {IDC_ABOUT_DESCRIPTION, WC_STATICW, kDescription, kChild | SS_LEFT | SS_NOPREFIX, 0, 1050, 1125,
     3885, 1170},
    {IDC_ABOUT_TITLE, WC_STATICW, L"ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ", kChild | SS_LEFT | SS_NOPREFIX, 0, 1050, 240,
     3885, 480},
    {IDC_ABOUT_VERSION, WC_STATICW, L"ﾊﾞｰｼﾞｮﾝ", kChild | SS_LEFT | SS_NOPREFIX, 0, 1050, 780, 3885,
     225},
    {IDC_ABOUT_TEXT1, WC_EDITW, kContactNotice, kChild | ES_MULTILINE | ES_READONLY, 0, 240, 2640,
     3855, 795},
};

// Line1: the etched separator, grey on top and white one pixel below and to the right.
struct SeparatorLine {
  int x1, x2, y;  // twips
  int widthPx;    // at 96 dots per inch
  COLORREF colour;
};
constexpr SeparatorLine kLine1[] = {
    {90, 5654, 2445, 1, RGB(0x80, 0x80, 0x80)},
    {105, 5654, 2460, 2, RGB(0xFF, 0xFF, 0xFF)},
};

void SetText(HWND window, const std::wstring& text) {
  if (!::SetWindowTextW(window, text.c_str())) RaiseSystemError(::GetLastError());
}

}  // namespace

FrmAbout::FrmAbout(Ui& ui, Registry& registry, FileSystem& files, Launcher& launcher, int iconId)
    : ui_(ui),
      registry_(registry),
      files_(files),
      launcher_(launcher),
      iconId_(iconId),
      controls_(kControls) {}

void FrmAbout::Show(HWND owner) {
  owner_ = owner;
  std::vector<WORD> dialogTemplate = DialogTemplate(kStyle, kExStyle, kCaptionBeforeLoad);
  // However the dialog ended, its window is gone.
  const ScopeExit unload([this] { Unload(); });
  RunDialog(reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner);
}

INT_PTR FrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return FALSE;  // the focus is set already
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ABOUT_OK:
        case IDOK:
        case IDCANCEL:  // Esc and the close box
          cmdOK_Click();
          return TRUE;
        case IDC_ABOUT_SYSINFO:
          if (HIWORD(wParam) == BN_CLICKED) cmdSysInfo_Click();
          return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT:
      PaintSeparator();
      return TRUE;
    case kWmDpiChanged: {
      dpi_ = HIWORD(wParam);
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      controls_.ApplyFont(hwnd_, dpi_);
      LoadIcons();
      Layout(false);
      return TRUE;
    }
  }
  return FALSE;
}

void FrmAbout::OnInitDialog() {
  dpi_ = DpiForWindow(owner_ != nullptr ? owner_ : hwnd_);
  controls_.Create(hwnd_, ::GetModuleHandleW(nullptr));
  controls_.ApplyFont(hwnd_, dpi_);
  LoadIcons();
  Form_Load();
  Layout(true);
  ::SendMessageW(hwnd_, DM_SETDEFID, IDC_ABOUT_OK, 0);
  ::SetFocus(::GetDlgItem(hwnd_, IDC_ABOUT_OK));
}

void FrmAbout::Form_Load() {
  SetText(hwnd_, AboutCaption(app_info::kTitle));
  SetText(::GetDlgItem(hwnd_, IDC_ABOUT_VERSION),
          VersionText(app_info::kMajor, app_info::kMinor, app_info::kRevision));
  SetText(::GetDlgItem(hwnd_, IDC_ABOUT_TITLE), app_info::kTitle);
}

void FrmAbout::cmdOK_Click() {
  ::EndDialog(hwnd_, IDOK);
}

void FrmAbout::cmdSysInfo_Click() {
  StartSysInfo(registry_, files_, launcher_, ui_);
}

void FrmAbout::Layout(bool centre) {
  ClientSizing sizing{.clientTwips = {kClientWidth, kClientHeight},
                      .style = kStyle,
                      .exStyle = kExStyle,
                      .dpi = dpi_};
  if (centre)
    SizeDialog(hwnd_, owner_, sizing);
  else
    SizeForClient(hwnd_, sizing);
  controls_.Place(hwnd_, dpi_);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void FrmAbout::LoadIcons() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  auto load = [&](int sizeAt96) {
    int size = MulDiv(sizeAt96, static_cast<int>(dpi_), kDefaultDpi);
    HANDLE icon = ::LoadImageW(instance, MAKEINTRESOURCEW(iconId_), IMAGE_ICON, size, size, 0);
    if (icon == nullptr) RaiseSystemError(::GetLastError());
    return UniqueHicon(static_cast<HICON>(icon));
  };
  // The new icons are in place before the old ones go.
  UniqueHicon big = load(32);
  UniqueHicon small = load(16);
  UniqueHicon picture = load(32);
  ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  ::SendDlgItemMessageW(hwnd_, IDC_ABOUT_PICICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(picture.get()), 0);
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
  pictureIcon_ = std::move(picture);
}

void FrmAbout::PaintSeparator() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(hwnd_, &paint);
  for (const SeparatorLine& line : kLine1) {
    int thickness = std::max(1, MulDiv(line.widthPx, static_cast<int>(dpi_), kDefaultDpi));
    RECT rect{Px(line.x1), Px(line.y), Px(line.x2), Px(line.y) + thickness};
    ::SetBkColor(dc, line.colour);
    // ExtTextOut with ETO_OPAQUE fills a rectangle in a colour without a brush to manage.
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  }
  ::EndPaint(hwnd_, &paint);
}

INT_PTR FrmAbout::OnCtlColorStatic(HDC dc, HWND control) {
  int id = ::GetDlgCtrlID(control);
  if (id == IDC_ABOUT_TITLE || id == IDC_ABOUT_DESCRIPTION) {
    ::SetTextColor(dc, RGB(0, 0, 0));
  } else if (id != IDC_ABOUT_TEXT1) {
    return FALSE;  // the default label colours
  }
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
}

void FrmAbout::Unload() {
  hwnd_ = nullptr;
  // The window that used them is gone; the next opening loads its own.
  pictureIcon_.reset();
  smallIcon_.reset();
  bigIcon_.reset();
  controls_.ReleaseFont();
}

}  // namespace vemo
