// The Win32 handle kinds UniqueAny owns, and the device contexts and selections that are let go
// in their own way.
#pragma once

#include <windows.h>

#include "platform/unique_any.h"

namespace vemo {

namespace handle_traits {

inline HANDLE InvalidHandleValue() noexcept {
  return INVALID_HANDLE_VALUE;
}

// CreateFileW, CreateToolhelp32Snapshot and FindFirstFileW answer INVALID_HANDLE_VALUE on
// failure...
using File = Traits<HANDLE, InvalidHandleValue, &::CloseHandle>;
using Find = Traits<HANDLE, InvalidHandleValue, &::FindClose>;
// ...while CreateMutexW, CreateProcessW and most others answer NULL.
using Kernel = Traits<HANDLE, Null<HANDLE>, &::CloseHandle>;
using Key = Traits<HKEY, Null<HKEY>, &::RegCloseKey>;
using Icon = Traits<HICON, Null<HICON>, &::DestroyIcon>;
using Menu = Traits<HMENU, Null<HMENU>, &::DestroyMenu>;
using Global = Traits<HGLOBAL, Null<HGLOBAL>, &::GlobalFree>;
template <typename T>
using GdiObject = Traits<T, Null<T>, &::DeleteObject>;

}  // namespace handle_traits

using UniqueFile = UniqueAny<handle_traits::File>;
using UniqueSnapshot = UniqueAny<handle_traits::File>;  // CreateToolhelp32Snapshot
using UniqueFind = UniqueAny<handle_traits::Find>;
using UniqueKernelHandle = UniqueAny<handle_traits::Kernel>;  // mutex, process, thread
using UniqueHkey = UniqueAny<handle_traits::Key>;
using UniqueHicon = UniqueAny<handle_traits::Icon>;
using UniqueHfont = UniqueAny<handle_traits::GdiObject<HFONT>>;
using UniqueHbrush = UniqueAny<handle_traits::GdiObject<HBRUSH>>;
using UniqueGdiObject = UniqueAny<handle_traits::GdiObject<HGDIOBJ>>;
// A menu until a window or a menu bar takes it over (release() then).
using UniqueHmenu = UniqueAny<handle_traits::Menu>;
// Global memory until the clipboard takes it over (release() then).
using UniqueHglobal = UniqueAny<handle_traits::Global>;

// A window's device context (GetDC), released with the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context, the one it replaced selected back at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace vemo
