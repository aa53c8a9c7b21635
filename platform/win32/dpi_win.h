// Sizes for a window's DPI on every Windows from XP on. Windows 10 (1607) and later scale
// each window for its own monitor; their functions for that are looked up at run time, and
// older Windows get the screen's DPI, which is then the one DPI of the whole desktop.
#pragma once

#include <windows.h>

#include "platform/win32/handle.h"

namespace vemo {

inline constexpr UINT kDefaultDpi = 96;
// WM_DPICHANGED: a per-monitor aware window moved to a monitor of another DPI (8.1 and later).
inline constexpr UINT kWmDpiChanged = 0x02E0;

// GetDpiForWindow where Windows has it, else the screen's DPI.
UINT DpiForWindow(HWND window);

// The layout is designed in twips (1440 to the inch).
int Pixels(int twips, UINT dpi);

// What SizeForClient makes of a window: its client area in twips at a DPI, the frame of its
// styles around it, and where it goes.
struct ClientSizing {
  SIZE clientTwips{};
  DWORD style = 0;
  DWORD exStyle = 0;
  bool hasMenu = false;
  UINT dpi = kDefaultDpi;
  // Centred over this rectangle when given; otherwise the window stays where it is.
  const RECT* centreOver = nullptr;
  // With centreOver: then kept inside this rectangle when given.
  const RECT* keepIn = nullptr;
};

// Sizes `window` as `sizing` says (AdjustWindowRectExForDpi, else AdjustWindowRectEx). Raises
// RuntimeError on failure.
void SizeForClient(HWND window, const ClientSizing& sizing);

// A dialog sized as `sizing` says; with `owner`, centred over it, else over the work area of
// its monitor, and never off that work area when the owner sits at its edge.
void SizeDialog(HWND dialog, HWND owner, ClientSizing sizing);

// The system's message font at `dpi`. Raises RuntimeError on failure.
UniqueHfont MessageFont(UINT dpi);

// For tests: with false, the run-time look-ups find nothing, as on Windows XP, Vista, 7 and 8.
void UseLaterWindowsFunctions(bool use);

}  // namespace vemo
