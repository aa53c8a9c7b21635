// One move-only owner for every kind of Win32 handle: a traits struct names the value that
// means "nothing" and the function that lets the handle go.
#pragma once

#include <windows.h>

#include <utility>

namespace vemo {

template <typename Traits>
class UniqueAny {
 public:
  using Type = typename Traits::Type;

  UniqueAny() noexcept = default;
  explicit UniqueAny(Type value) noexcept : value_(value) {}
  ~UniqueAny() { reset(); }

  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

  Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void reset(Type value = Traits::Invalid()) noexcept {
    Type old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // For functions that hand a new handle back through a pointer (RegOpenKeyExW and the like).
  Type* put() noexcept {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::Invalid();
};

namespace handle_traits {

// A handle kind whose "nothing" is `invalid` and which `close` lets go.
template <typename T, T (*invalid)() noexcept, auto close>
struct Traits {
  using Type = T;
  static Type Invalid() noexcept { return invalid(); }
  static void Close(Type h) noexcept { close(h); }
};

template <typename T>
T Null() noexcept {
  return nullptr;
}
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
