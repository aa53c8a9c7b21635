// The Win32 message box and mouse pointer, under Wine: what a user sees of them.
#include <windows.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "platform/app_info.h"
#include "platform/win32/ui_win.h"

namespace vemo {
namespace {

struct SeenBox {
  std::wstring caption;
  std::wstring text;
  HICON icon = nullptr;
  bool found = false;
};

std::wstring TextOf(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

// An EnumThreadWindows callback: a lambda has the wrong calling convention for 32-bit Windows.
BOOL CALLBACK FindVisibleBox(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

BOOL CALLBACK PressOk(HWND window, LPARAM) {
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// The box being answered, and until when: a timer procedure has no context of its own.
SeenBox* answering = nullptr;
std::chrono::steady_clock::time_point answerDeadline;

// Ticks of a timer of the thread that shows the box, so they run inside the box's own modal
// loop: notes what the box shows and presses OK; a box that never shows as one gets OK at the
// deadline, unseen. No second thread: each test has a process of its own, and there a thread
// started while the first box loaded the window system left the box unanswered (seen under
// qemu-i386, where the box's thread and GoogleTest's own then waited on Wine's loader).
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindVisibleBox, reinterpret_cast<LPARAM>(&box));
  if (!box && std::chrono::steady_clock::now() < answerDeadline) return;
  KillTimer(nullptr, timer);
  if (!box) {
    EnumThreadWindows(GetCurrentThreadId(), PressOk, 0);
    return;
  }
  SeenBox& seen = *answering;
  seen.found = true;
  seen.caption = TextOf(box);
  seen.text = TextOf(GetDlgItem(box, 0xFFFF));
  // The icon, when there is one, is a static control with SS_ICON.
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      seen.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

SeenBox Show(const std::wstring& text, MessageStyle style) {
  WinUi ui;
  SeenBox seen;
  answering = &seen;
  answerDeadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(VEMO_PLATFORM_WAIT_SECONDS);
  SetTimer(nullptr, 0, 20, AnswerBox);
  ui.ShowMessage(text, style);
  return seen;
}

TEST(WinUi, MessageBoxHasTitleAsCaptionAndTheIconOfItsStyle) {
  struct Case {
    MessageStyle style;
    LPCWSTR icon;
  };
  const Case cases[] = {{MessageStyle::kCritical, IDI_HAND},
                        {MessageStyle::kExclamation, IDI_EXCLAMATION},
                        {MessageStyle::kInformation, IDI_ASTERISK}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    const SeenBox seen = Show(L"Fonts.txtがありません", c.style);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, app_info::kTitle);
    EXPECT_EQ(seen.text, L"Fonts.txtがありません");
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, c.icon));
  }
}

TEST(WinUi, OkOnlyStyleShowsNoIcon) {
  const SeenBox seen = Show(L"現時点ではｼｽﾃﾑ情報を使用できません", MessageStyle::kOkOnly);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.caption, app_info::kTitle);
  EXPECT_EQ(seen.icon, nullptr);
}

TEST(WinUi, HourglassShowsAtOnceAndWindowsKeepItUntilDefault) {
  WinUi ui;
  ui.SetMousePointer(MousePointer::kHourglass);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  // A window procedure answering WM_SETCURSOR keeps the hourglass over it...
  SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
  EXPECT_TRUE(ApplyMousePointer());
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));

  // ...and after the default is back, leaves the window's own cursor alone.
  ui.SetMousePointer(MousePointer::kDefault);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
  SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
  EXPECT_FALSE(ApplyMousePointer());
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_IBEAM));
}

}  // namespace
}  // namespace vemo
