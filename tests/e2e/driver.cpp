#include "tests/e2e/driver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>
#include <fstream>
#include <stdexcept>

namespace vemo::e2e {
namespace {

constexpr UINT kSendTimeoutMs = 5000;
// The icon control of a message box (user32's dialog template), and its text control.
constexpr int kBoxIconId = 0x0440;
constexpr int kBoxTextId = 0xFFFF;

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return std::towlower(c); });
  return s;
}

struct Enumeration {
  DWORD pid;
  bool hidden_too;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* e = reinterpret_cast<Enumeration*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == e->pid && (e->hidden_too || IsWindowVisible(window))) e->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

struct MemoryDcTraits {
  using Type = HDC;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { DeleteDC(h); }
};
using UniqueMemoryDc = UniqueAny<MemoryDcTraits>;

// The screen's device context for as long as the object lives.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

struct Capture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // 24-bit rows, bottom-up, each padded to 4 bytes

  int stride() const { return (width * 3 + 3) & ~3; }
  bool operator==(const Capture&) const = default;
};

BITMAPINFO Info24(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Copies pixels out of `source` (a screen DC, or a memory DC to render into first).
template <typename Draw>
std::optional<Capture> Grab(HDC source, int x, int y, int width, int height, Draw draw) {
  if (width <= 0 || height <= 0) return std::nullopt;
  Capture capture{width, height, {}};
  UniqueMemoryDc memory(CreateCompatibleDC(source));
  UniqueGdiObject bitmap(CreateCompatibleBitmap(source, width, height));
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  bool ok = draw(memory.get(), source, x, y);
  SelectObject(memory.get(), old);
  if (ok) {
    BITMAPINFO info = Info24(width, height);
    capture.pixels.resize(static_cast<size_t>(capture.stride()) * height);
    ok = GetDIBits(memory.get(), static_cast<HBITMAP>(bitmap.get()), 0, height,
                   capture.pixels.data(), &info, DIB_RGB_COLORS) == height;
  }
  if (!ok) return std::nullopt;
  return capture;
}

std::optional<Capture> GrabScreen(const RECT& r) {
  ScreenDc screen;
  return Grab(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top,
              [](HDC to, HDC from, int x, int y) {
                RECT size{};
                GetClipBox(to, &size);
                return BitBlt(to, 0, 0, size.right, size.bottom, from, x, y, SRCCOPY) != 0;
              });
}

// How far `icon` drawn on the captured background differs from `shown`, per pixel.
long IconDistance(const Capture& shown, HICON icon) {
  ScreenDc screen;
  const unsigned char* corner =
      shown.pixels.data() + static_cast<size_t>(shown.stride()) * (shown.height - 1);
  COLORREF background = RGB(corner[2], corner[1], corner[0]);
  auto drawn = Grab(screen.get(), 0, 0, shown.width, shown.height, [&](HDC to, HDC, int, int) {
    UniqueHbrush brush(CreateSolidBrush(background));
    RECT all{0, 0, shown.width, shown.height};
    FillRect(to, &all, brush.get());
    return DrawIconEx(to, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL) != 0;
  });
  if (!drawn) return -1;
  long sum = 0;
  for (size_t i = 0; i < shown.pixels.size(); ++i)
    sum += std::abs(shown.pixels[i] - drawn->pixels[i]);
  return sum / (shown.width * shown.height);
}

int RecogniseIcon(HWND box) {
  HWND icon_control = GetDlgItem(box, kBoxIconId);
  if (!icon_control || !IsWindowVisible(icon_control)) return 0;
  RECT r{};
  GetWindowRect(icon_control, &r);
  auto shown = GrabScreen(r);
  if (!shown) return -1;
  const std::pair<int, LPCWSTR> candidates[] = {
      {16, IDI_HAND}, {32, IDI_QUESTION}, {48, IDI_EXCLAMATION}, {64, IDI_ASTERISK}};
  int best = -1;
  long best_distance = 0;
  for (const auto& [style, name] : candidates) {
    long d = IconDistance(*shown, LoadIconW(nullptr, name));
    if (d >= 0 && (best < 0 || d < best_distance)) {
      best = style;
      best_distance = d;
    }
  }
  // Same pixels, give or take blending at the edges; anything else is not recognised.
  return best_distance <= 8 ? best : -1;
}

bool WriteBmp(const Capture& c, const std::filesystem::path& path) {
  BITMAPINFO info = Info24(c.width, c.height);
  info.bmiHeader.biSizeImage = static_cast<DWORD>(c.pixels.size());
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + info.bmiHeader.biSizeImage;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
  out.write(reinterpret_cast<const char*>(c.pixels.data()),
            static_cast<std::streamsize>(c.pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace

std::wstring ClipboardText() {
  std::wstring text;
  // Another program may hold the clipboard a moment.
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::vector<std::vector<std::wstring>> CopiedRows(HWND window, const std::wstring& titles) {
  DWORD_PTR done = 0;
  SendMessageTimeoutW(window, WM_COPY, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &done);
  const std::wstring text = ClipboardText();
  std::vector<std::vector<std::wstring>> rows;
  if (!text.starts_with(titles)) return rows;
  for (std::size_t at = titles.size(); at < text.size();) {
    const std::size_t end = text.find(L"\r\n", at);
    if (end == std::wstring::npos) break;
    std::vector<std::wstring> cells;
    for (std::size_t from = at; from <= end;) {
      const std::size_t tab = std::min(text.find(L'\t', from), end);
      cells.push_back(text.substr(from, tab - from));
      from = tab + 1;
    }
    rows.push_back(std::move(cells));
    at = end + 2;
  }
  return rows;
}

bool ListViewChecked(HWND list, int row) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK,
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &state);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

bool FocusListViewRow(HWND list, int row) {
  PressKey(list, VK_HOME);
  for (int i = 0; i < row; ++i) PressKey(list, VK_DOWN);
  return WaitUntil([&] {
    DWORD_PTR focused = 0;
    return SendMessageTimeoutW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED,
                               SMTO_ABORTIFHUNG, kSendTimeoutMs, &focused) &&
           static_cast<int>(focused) == row;
  });
}

void PressKey(HWND window, UINT key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(window, WM_KEYDOWN, key, scan | 1);
  PostMessageW(window, WM_KEYUP, key, scan | 0xC0000001);
}

bool PickFromPopupMenu(HWND window, wchar_t key) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  const bool open = WaitUntil([&] {
    for (HWND w : TopLevelWindows(pid))
      if (ClassOf(w) == L"#32768") return true;
    return false;
  });
  if (open) PostMessageW(window, WM_CHAR, key, 0);
  return open;
}

bool Alive(DWORD pid) {
  UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
  return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

Process Process::Start(const std::filesystem::path& exe, const std::filesystem::path& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring command_line = L"\"" + exe.wstring() + L"\"";
  if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info)) {
    throw std::runtime_error("CreateProcessW failed with error " + std::to_string(GetLastError()));
  }
  CloseHandle(info.hThread);
  return Process(info.hProcess, info.dwProcessId, info.dwThreadId);
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    process_ = std::move(other.process_);
    id_ = other.id_;
    thread_id_ = other.thread_id_;
  }
  return *this;
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

DWORD Process::ExitStatus() const {
  DWORD status = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_.get(), &status);
  return status;
}

bool Process::WaitExit(Deadline deadline) const {
  return process_ &&
         WaitForSingleObject(process_.get(), static_cast<DWORD>(deadline.count())) == WAIT_OBJECT_0;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length)) {
    return L"<no answer>";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
  text.resize(copied);
  return text;
}

void SetText(HWND window, const std::wstring& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
}

std::vector<HWND> TopLevelWindows(DWORD pid, bool hidden_too) {
  Enumeration e{pid, hidden_too, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&e));
  return e.found;
}

HWND WaitForWindow(DWORD pid, const std::wstring& class_name, const std::wstring& caption,
                   Deadline deadline) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopLevelWindows(pid)) {
          if ((class_name.empty() || ClassOf(w) == class_name) &&
              (caption.empty() || TextOf(w) == caption)) {
            found = w;
            return true;
          }
        }
        return !Alive(pid);
      },
      deadline);
  return found;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND Control(HWND parent, int id) {
  for (HWND w : Children(parent)) {
    if (GetDlgCtrlID(w) == id) return w;
  }
  return nullptr;
}

HWND ControlByText(HWND parent, const std::wstring& class_name, const std::wstring& text) {
  for (HWND w : Children(parent)) {
    if (Lower(ClassOf(w)) == Lower(class_name) && TextOf(w) == text) return w;
  }
  return nullptr;
}

LONG_PTR StyleOf(HWND window) {
  return GetWindowLongPtrW(window, GWL_STYLE);
}

bool IsChecked(HWND button) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state);
  return state == BST_CHECKED;
}

void Click(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

void Command(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool MenuKeys(HWND window, wchar_t menu_key, wchar_t item_key) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, menu_key);
  // The menu bar opens its popup through a message of its own: the item's key must come
  // after it, once the popup (class #32768) shows. The menu's loop then takes the key from
  // the thread's queue.
  const bool open = WaitUntil([&] {
    for (HWND w : TopLevelWindows(pid)) {
      if (ClassOf(w) == L"#32768") return true;
    }
    return false;
  });
  if (open) PostMessageW(window, WM_CHAR, item_key, 0);
  return open;
}

bool RoundTrip(HWND window, Deadline deadline) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL,
                             static_cast<UINT>(deadline.count()), &result) != 0;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

HWND PressTab(HWND window) {
  HWND before = FocusOf(window);
  HWND target = before ? before : window;
  PostMessageW(target, WM_KEYDOWN, VK_TAB, 0x000F0001);
  PostMessageW(target, WM_KEYUP, VK_TAB, 0xC00F0001);
  HWND after = nullptr;
  WaitUntil([&] {
    after = FocusOf(window);
    return after && after != before;
  });
  return after != before ? after : nullptr;
}

MessageBoxInfo Describe(HWND box) {
  MessageBoxInfo info;
  info.window = box;
  info.caption = TextOf(box);
  if (HWND text = GetDlgItem(box, kBoxTextId)) info.text = TextOf(text);
  for (HWND w : Children(box)) {
    if (Lower(ClassOf(w)) == L"button" && IsWindowVisible(w)) info.buttons.push_back(TextOf(w));
  }
  // The icon reaches the screen a moment after the box shows.
  WaitUntil([&] { return (info.icon = RecogniseIcon(box)) != -1; }, Deadline{3000});
  return info;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, Deadline deadline,
                                                const std::vector<HWND>& seen) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopLevelWindows(pid)) {
          if (ClassOf(w) == L"#32770" && std::find(seen.begin(), seen.end(), w) == seen.end()) {
            found = w;
            return true;
          }
        }
        return !Alive(pid);
      },
      deadline);
  if (!found) return std::nullopt;
  // The box is drawn after it is shown; a round trip lets its first paint happen.
  RoundTrip(found);
  return Describe(found);
}

bool Answer(const MessageBoxInfo& box, int id) {
  HWND button = GetDlgItem(box.window, id);
  if (!button) return false;
  Click(button);
  return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
}

Settled Settle(DWORD pid, HWND main_window, const std::vector<HWND>& seen, Deadline deadline) {
  std::optional<MessageBoxInfo> box;
  const bool settled = WaitUntil(
      [&] {
        auto fresh = [&] {
          for (HWND w : TopLevelWindows(pid, true)) {
            if (ClassOf(w) != L"#32770") continue;
            if (std::find(seen.begin(), seen.end(), w) == seen.end()) return w;
          }
          return HWND{};
        };
        if (HWND w = fresh(); w && IsWindowVisible(w)) {
          box = WaitForMessageBox(pid, kWait, seen);
          return true;
        }
        // The thread answers a sent message only from a message loop. Once it has, and no box
        // is being made or taken down, it is back in its main loop with nothing left to show.
        for (HWND w : seen) {
          if (IsWindow(w)) return false;
        }
        return RoundTrip(main_window) && !fresh();
      },
      deadline);
  return {settled, std::move(box)};
}

bool SaveScreenshot(HWND window, const std::filesystem::path& bmp) {
  RoundTrip(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT r{};
  GetWindowRect(window, &r);
  std::optional<Capture> last;
  std::optional<Capture> now;
  // Wine copies a window's pixels to the display a little after painting: wait until two
  // captures agree.
  WaitUntil([&] {
    last = std::move(now);
    now = GrabScreen(r);
    return now && last && *now == *last;
  });
  return now && WriteBmp(*now, bmp);
}

std::vector<ProcessEntry> ProcessesNamed(const std::wstring& exe_name) {
  std::vector<ProcessEntry> found;
  UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (Lower(entry.szExeFile) == Lower(exe_name))
      found.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
  }
  return found;
}

std::wstring ImagePathOf(DWORD pid) {
  UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
  path.resize(size);
  return path;
}

}  // namespace vemo::e2e
