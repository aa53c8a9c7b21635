// The window base lets no exception through the system's frames: a failure while a window or
// dialog is created reaches the caller after the system call returns, any later one is
// reported; and the main window lays out the same on Windows without the per-monitor DPI
// functions.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/frm_vemo.h"
#include "app/resource.h"
#include "platform/runtime_error.h"
#include "platform/virtualization.h"
#include "platform/win32/base_window.h"
#include "platform/win32/dpi_win.h"
#include "platform/win32/handle.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_launcher.h"
#include "tests/fakes/fake_ui.h"

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

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

TEST(WindowBase, TheMainWindowLaysOutAtTheDpiWithTheMessageFontWithOrWithoutLaterWindows) {
  WindowDc screen(nullptr);
  const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSY));
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));

  for (bool later : {true, false}) {
    SCOPED_TRACE(later ? "with the per-monitor functions" : "as on Windows XP to 8");
    UseLaterWindowsFunctions(later);
    testing::FakeUi ui;
    testing::FakeFileSystem files;
    testing::FakeLauncher launcher;
    NoVirtualization virtualization;
    FrmVemo form(GetModuleHandleW(nullptr), ui, files, launcher, virtualization);
    form.Load(SW_HIDE);
    UseLaterWindowsFunctions(true);
    ASSERT_NE(form.Hwnd(), nullptr);

    RECT client{};
    GetClientRect(form.Hwnd(), &client);
    EXPECT_EQ(client.right, Pixels(7545, dpi));
    EXPECT_EQ(client.bottom, Pixels(6285, dpi));
    RECT button{};
    GetWindowRect(GetDlgItem(form.Hwnd(), IDC_CMDEXECUTE), &button);
    EXPECT_EQ(button.right - button.left, Pixels(1455, dpi));
    const LOGFONTW font = FontOf(GetDlgItem(form.Hwnd(), IDC_TXTFOLDER));
    EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(metrics.lfMessageFont.lfFaceName));

    DestroyWindow(form.Hwnd());
    MSG message;
    PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
}

}  // namespace
}  // namespace vemo
