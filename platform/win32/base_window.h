// The window procedure every window of the program shares, in the manner of the classic
// BaseWindow<T> samples: it binds the object to its window, forwards each message to the
// object's HandleMessage, and lets no exception out. The 32-bit program's exceptions cannot
// cross the system's frames (a throw through a window procedure ends the program), so:
//  - a failure while the window is being created makes the creation fail, and Create raises
//    it again once CreateWindowExW has returned;
//  - a failure while a dialog runs ends the dialog, and RunDialog raises it again;
//  - any other failure goes to the object's ReportFailure(number), as a user action's would.
//
// Derived provides:
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);  // windows
//   INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);  // dialogs
//   void ReportFailure(std::int32_t number);                             // windows
#pragma once

#include <windows.h>

#include <exception>
#include <utility>

#include "platform/runtime_error.h"
#include "platform/system_error.h"

namespace vemo {

template <typename Derived>
class BaseWindow {
 public:
  // Null before the window is created and once it has been destroyed.
  HWND Hwnd() const { return hwnd_; }

 protected:
  BaseWindow() = default;
  ~BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  // For the window class of a window made with Create.
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      Bind(hwnd, GWLP_USERDATA, static_cast<Derived*>(create->lpCreateParams));
    }
    Derived* self = Bound(hwnd, GWLP_USERDATA);
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      Unbind(hwnd, GWLP_USERDATA, self);
      return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
      return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      if (message == WM_NCCREATE || message == WM_CREATE) {
        self->failure_ = std::current_exception();
        return message == WM_CREATE ? -1 : FALSE;
      }
      self->ReportCaught();
      return 0;
    }
  }

  // Creates the window of a class registered with WindowProc. Raises the error that made the
  // creation fail.
  void Create(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
              HWND owner, HINSTANCE instance) {
    failure_ = nullptr;
    HWND hwnd =
        ::CreateWindowExW(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, this->self());
    const DWORD error = ::GetLastError();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    if (!hwnd) RaiseSystemError(error);
  }

  // Runs a modal dialog from an in-memory template with DialogProc. Raises the error that
  // ended it; returns what EndDialog was given otherwise.
  INT_PTR RunDialog(const DLGTEMPLATE* dialogTemplate, HWND owner) {
    failure_ = nullptr;
    const INT_PTR result =
        ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate, owner, DialogProc,
                                  reinterpret_cast<LPARAM>(self()));
    const DWORD error = ::GetLastError();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    if (result == -1) RaiseSystemError(error);
    return result;
  }

  HWND hwnd_ = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The few messages before WM_INITDIALOG get the default handling.
    if (message == WM_INITDIALOG) Bind(hwnd, DWLP_USER, reinterpret_cast<Derived*>(lParam));
    Derived* self = Bound(hwnd, DWLP_USER);
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
      Unbind(hwnd, DWLP_USER, self);
      return FALSE;
    }
    try {
      return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      self->failure_ = std::current_exception();
      ::EndDialog(hwnd, 0);
      return TRUE;
    }
  }

  Derived* self() { return static_cast<Derived*>(this); }

  static void Bind(HWND hwnd, int slot, Derived* self) {
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, slot, reinterpret_cast<LONG_PTR>(self));
  }
  static Derived* Bound(HWND hwnd, int slot) {
    return reinterpret_cast<Derived*>(::GetWindowLongPtrW(hwnd, slot));
  }
  static void Unbind(HWND hwnd, int slot, Derived* self) {
    ::SetWindowLongPtrW(hwnd, slot, 0);
    self->hwnd_ = nullptr;
  }

  // Inside a catch block. Reporting may itself fail (no memory for the message box); then
  // there is nobody left to tell, and the window goes on.
  void ReportCaught() noexcept {
    try {
      self()->ReportFailure(CaughtErrorNumber());
    } catch (...) {
    }
  }

  std::exception_ptr failure_;
};

}  // namespace vemo
