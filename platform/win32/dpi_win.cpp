#include "platform/win32/dpi_win.h"

#include <algorithm>

#include "platform/system_error.h"

namespace vemo {
namespace {

bool useLater = true;

// A function of user32 that only later Windows export, or null.
template <typename Function>
Function LaterUser32Function(const char* name) {
  if (!useLater) return nullptr;
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (!user32) return nullptr;
  // Through a plain function pointer type, which any function pointer converts to and from.
  using Plain = void (*)();
  return reinterpret_cast<Function>(reinterpret_cast<Plain>(::GetProcAddress(user32, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

UINT ScreenDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

// NONCLIENTMETRICSW as Vista extended it. XP refuses this size and the DPI-aware call asks
// for it, so each call gets the size it takes.
struct NonClientMetrics {
  NONCLIENTMETRICSW xp;
  int paddedBorderWidth;
};

// The window rectangle around the client area `sizing` gives.
RECT WindowRectForClient(const ClientSizing& sizing) {
  RECT rect{0, 0, Pixels(sizing.clientTwips.cx, sizing.dpi),
            Pixels(sizing.clientTwips.cy, sizing.dpi)};
  auto adjustForDpi =
      LaterUser32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  const BOOL done =
      adjustForDpi ? adjustForDpi(&rect, sizing.style, sizing.hasMenu, sizing.exStyle, sizing.dpi)
                   : ::AdjustWindowRectEx(&rect, sizing.style, sizing.hasMenu, sizing.exStyle);
  if (!done) RaiseSystemError(::GetLastError());
  return rect;
}

}  // namespace

UINT DpiForWindow(HWND window) {
  if (auto getDpiForWindow = LaterUser32Function<GetDpiForWindowFunction>("GetDpiForWindow")) {
    if (UINT dpi = getDpiForWindow(window)) return dpi;
  }
  return ScreenDpi();
}

int Pixels(int twips, UINT dpi) {
  return ::MulDiv(twips, static_cast<int>(dpi), 1440);
}

void SizeForClient(HWND window, const ClientSizing& sizing) {
  const RECT frame = WindowRectForClient(sizing);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  int x = 0;
  int y = 0;
  if (const RECT* over = sizing.centreOver) {
    x = over->left + (over->right - over->left - width) / 2;
    y = over->top + (over->bottom - over->top - height) / 2;
    if (const RECT* keepIn = sizing.keepIn) {
      x = std::max<int>(keepIn->left, std::min<int>(x, keepIn->right - width));
      y = std::max<int>(keepIn->top, std::min<int>(y, keepIn->bottom - height));
    }
  } else {
    flags |= SWP_NOMOVE;
  }
  ::SetWindowPos(window, nullptr, x, y, width, height, flags);
}

UniqueHfont MessageFont(UINT dpi) {
  NonClientMetrics metrics{};
  LOGFONTW& font = metrics.xp.lfMessageFont;
  auto forDpi =
      LaterUser32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
  if (forDpi) {
    metrics.xp.cbSize = sizeof(metrics);
    if (!forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
      RaiseSystemError(::GetLastError());
    }
  } else {
    metrics.xp.cbSize = sizeof(metrics.xp);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics.xp), &metrics.xp, 0)) {
      RaiseSystemError(::GetLastError());
    }
    // The system's font is for the screen's DPI; a window elsewhere scales it.
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
  }
  UniqueHfont handle(::CreateFontIndirectW(&font));
  if (!handle) RaiseSystemError(::GetLastError());
  return handle;
}

void UseLaterWindowsFunctions(bool use) {
  useLater = use;
}

void SizeDialog(HWND dialog, HWND owner, ClientSizing sizing) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoW(
      ::MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTONEAREST), &info);
  RECT over = info.rcWork;
  if (owner != nullptr) ::GetWindowRect(owner, &over);
  sizing.centreOver = &over;
  sizing.keepIn = &info.rcWork;
  SizeForClient(dialog, sizing);
}

}  // namespace vemo
