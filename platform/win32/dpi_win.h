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

// The window rectangle for a client area of `width` x `height` pixels at `dpi`
// (AdjustWindowRectExForDpi, else AdjustWindowRectEx). Raises RuntimeError on failure.
RECT WindowRectForClient(int width, int height, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// Sizes `window` for a client area of `clientTwips` at `dpi`. With `centreOver` it is also
// centred over that rectangle, and then kept inside `keepIn` when given; otherwise it stays
// where it is. Raises RuntimeError on failure.
void SizeForClient(HWND window, SIZE clientTwips, DWORD style, bool menu, DWORD exStyle, UINT dpi,
                   const RECT* centreOver, const RECT* keepIn = nullptr);

// The system's message font at `dpi`. Raises RuntimeError on failure.
UniqueHfont MessageFont(UINT dpi);

// For tests: with false, the run-time look-ups find nothing, as on Windows XP, Vista, 7 and 8.
void UseLaterWindowsFunctions(bool use);

}  // namespace vemo
