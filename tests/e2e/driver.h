// Drives a real program from another process, as a user would: starts it, finds its
// windows and controls, reads and sets texts, clicks, answers message boxes.
// Everything that waits polls with a deadline; nothing sleeps and hopes.
#pragma once

#include <windows.h>

#include "platform/win32/handle.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vemo::e2e {

using Deadline = std::chrono::milliseconds;
constexpr Deadline kWait{VEMO_WAIT_SECONDS * 1000};

// Polls `ready` every few milliseconds until it answers true or `deadline` passes.
template <typename Ready>
bool WaitUntil(Ready ready, Deadline deadline = kWait) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    if (ready()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(15);
  }
}

// A started program; killed on destruction if it still runs, so no test leaks a process.
class Process {
 public:
  // Starts `exe` with the working folder `folder`; throws std::runtime_error on failure.
  static Process Start(const std::filesystem::path& exe, const std::filesystem::path& folder);

  Process() = default;  // no process
  Process(Process&& other) noexcept = default;
  Process& operator=(Process&& other) noexcept;
  ~Process() { Kill(); }

  DWORD id() const { return id_; }
  DWORD thread_id() const { return thread_id_; }
  HANDLE handle() const { return process_.get(); }
  bool Running() const;
  // Its exit status; STILL_ACTIVE while it runs.
  DWORD ExitStatus() const;
  // True when the process ended within `deadline`.
  bool WaitExit(Deadline deadline = kWait) const;
  void Kill();

 private:
  Process(HANDLE process, DWORD id, DWORD thread_id)
      : process_(process), id_(id), thread_id_(thread_id) {}

  UniqueKernelHandle process_;
  DWORD id_ = 0;
  DWORD thread_id_ = 0;
};

// UTF-8 for test messages and logs.
std::string Utf8(const std::wstring& text);

// False once process `pid` has ended: it shows no window any more, so the waits below stop.
bool Alive(DWORD pid);

// Window queries; all cross-process calls use a time-out, so a hung program fails a test
// instead of hanging it.
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
void SetText(HWND window, const std::wstring& text);
// Top-level windows of process `pid` (visible ones only unless `hidden_too`).
std::vector<HWND> TopLevelWindows(DWORD pid, bool hidden_too = false);
// The first visible top-level window of `pid` with class `class_name` (any class when empty)
// and caption `caption` (any caption when empty), waited for until `deadline` or the process's
// end.
HWND WaitForWindow(DWORD pid, const std::wstring& class_name, const std::wstring& caption,
                   Deadline deadline = kWait);
// A descendant control by its id, or by class and text; nullptr when absent.
HWND Control(HWND parent, int id);
HWND ControlByText(HWND parent, const std::wstring& class_name, const std::wstring& text);
std::vector<HWND> Children(HWND parent);
// The control's window style, and whether a button is checked.
LONG_PTR StyleOf(HWND window);
bool IsChecked(HWND button);
// Posts the click, so that a modal box the click opens cannot block the caller. A round trip
// right after it proves nothing: sent messages overtake posted ones. Wait for what the click
// shows first, then Settle.
void Click(HWND button);
// A menu item, posted as WM_COMMAND with the item's id.
void Command(HWND window, int id);
// The keyboard path of a menu: Alt + `menu_key`, then, once the menu is open, `item_key`.
// False when the menu did not open.
bool MenuKeys(HWND window, wchar_t menu_key, wchar_t item_key);
// Waits until the program has handled every message sent before (a round trip).
bool RoundTrip(HWND window, Deadline deadline = kWait);

// The clipboard's text; empty when it holds none.
std::wstring ClipboardText();
// What `window` copies to the clipboard when sent WM_COPY, as a table whose first line holds
// the columns' titles: the lines after it, split at their tabs; nothing when the copy did not
// start with `titles` (a line ending in CR LF).
std::vector<std::vector<std::wstring>> CopiedRows(HWND window, const std::wstring& titles);
// A list view of another process: whether a row's check box is checked, and the keyboard focus
// moved to a row as the arrow keys move it.
bool ListViewChecked(HWND list, int row);
bool FocusListViewRow(HWND list, int row);
// Presses the key `key` in `window` (posted).
void PressKey(HWND window, UINT key);
// Once a pop-up menu of `window`'s process shows, picks its item with the mnemonic `key`;
// false when no menu showed.
bool PickFromPopupMenu(HWND window, wchar_t key);

// Keyboard focus of the thread that owns `window`.
HWND FocusOf(HWND window);
// Presses Tab in the program (posted to the control with the focus); returns the control
// that has the focus afterwards, or nullptr when the focus did not move within the deadline.
HWND PressTab(HWND window);

// A message box of the program: a top-level dialog of class #32770.
struct MessageBoxInfo {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;  // the static control with id 0xFFFF
  // The icon shown: 16 stop, 32 question, 48 exclamation, 64 information, 0 none, -1 not
  // recognised.
  int icon = -1;
  std::vector<std::wstring> buttons;
};
MessageBoxInfo Describe(HWND box);
// The next message box of `pid` that is not in `seen`, waited for until `deadline` or the
// process's end.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, Deadline deadline = kWait,
                                                const std::vector<HWND>& seen = {});
// Presses the box's button `id` (IDOK is 1) and waits for the box to go away.
bool Answer(const MessageBoxInfo& box, int id = IDOK);
// Waits until the program's thread has finished what it was doing: the window answers a
// round trip and no box other than those in `seen` exists, or a new box shows.
struct Settled {
  bool settled = false;  // false: the deadline passed first
  std::optional<MessageBoxInfo> box;
};
Settled Settle(DWORD pid, HWND main_window, const std::vector<HWND>& seen,
               Deadline deadline = kWait);

// Screen pixels of `window`'s rectangle (frame included), written as a 24-bit BMP once two
// captures in a row are the same (the picture has settled). False on failure.
bool SaveScreenshot(HWND window, const std::filesystem::path& bmp);

// Processes whose executable is `exe_name` (case-insensitive), with their parent ids.
struct ProcessEntry {
  DWORD id;
  DWORD parent;
};
std::vector<ProcessEntry> ProcessesNamed(const std::wstring& exe_name);
// The command line of another process, read from its process parameters; empty on failure.
std::wstring CommandLineOf(DWORD pid);
// The full path of another process's executable; empty on failure.
std::wstring ImagePathOf(DWORD pid);

}  // namespace vemo::e2e
