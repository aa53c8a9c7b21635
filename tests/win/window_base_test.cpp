// The window base lets no exception through the system's frames: a failure while a window or
// dialog is created reaches the caller after the system call returns, any later one is
// reported.
#include <windows.h>

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "platform/win32/base_window.h"

namespace vemo {
namespace {

constexpr UINT kFailNow = WM_APP + 1;
constexpr wchar_t kClass[] = L"VemoFailingWindow";

// Throws `thrown` when it receives `failOn`.
template <typename Thrown>
class Failing : public BaseWindow<Failing<Thrown>> {
 public:
  Failing(UINT failOn, Thrown thrown) : failOn_(failOn), thrown_(thrown) {}
  ~Failing() {
    if (this->hwnd_) DestroyWindow(this->hwnd_);
    // The next one may be of another type, with a window procedure of its own.
    UnregisterClassW(kClass, GetModuleHandleW(nullptr));
  }

  void MakeWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Failing::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassW(&windowClass);
    this->Create(0, kClass, L"", WS_OVERLAPPEDWINDOW, nullptr, GetModuleHandleW(nullptr));
  }

  void RunDialog() {
    struct {
      DLGTEMPLATE header;
      WORD menu, windowClass, caption;
    } dialog{{WS_POPUP | WS_CAPTION, 0, 0, 0, 0, 100, 50}, 0, 0, 0};
    dialog_ = true;
    this->BaseWindow<Failing>::RunDialog(&dialog.header, nullptr);
  }

  std::vector<std::int32_t> reported;

 private:
  friend class BaseWindow<Failing>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == failOn_) throw thrown_;
    return dialog_ ? FALSE : DefWindowProcW(this->hwnd_, message, wParam, lParam);
  }
  void ReportFailure(std::int32_t number) { reported.push_back(number); }

  UINT failOn_;
  Thrown thrown_;
  bool dialog_ = false;
};

// The number a handler of a user action would report for what the call raised.
template <typename Call>
std::int32_t Raised(Call call) {
  try {
    call();
  } catch (...) {
    return CaughtErrorNumber();
  }
  return 0;
}

TEST(WindowBase, AFailureWhileCreatingReachesTheCallerAndALaterOneIsReported) {
  {
    Failing window(WM_CREATE, RuntimeError(err::kDiskFull));
    EXPECT_EQ(Raised([&] { window.MakeWindow(); }), err::kDiskFull);
    EXPECT_EQ(window.Hwnd(), nullptr) << "the window is not made";
  }
  {
    Failing window(WM_NCCREATE, 42);
    EXPECT_EQ(Raised([&] { window.MakeWindow(); }), err::kInternalError);
  }
  {
    Failing window(WM_INITDIALOG, RuntimeError(err::kPathNotFound));
    EXPECT_EQ(Raised([&] { window.RunDialog(); }), err::kPathNotFound);
  }
  {
    Failing window(kFailNow, RuntimeError(err::kPermissionDenied));
    window.MakeWindow();
    SendMessageW(window.Hwnd(), kFailNow, 0, 0);
    EXPECT_EQ(window.reported, std::vector<std::int32_t>{err::kPermissionDenied});
    EXPECT_NE(window.Hwnd(), nullptr) << "the window goes on";
  }
}

}  // namespace
}  // namespace vemo
