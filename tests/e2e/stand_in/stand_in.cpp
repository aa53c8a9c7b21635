// Stands in for the system information program in the tests: every start appends its command
// line to "<its own path>.started", so a test sees which program started, how, and how often.
#include <windows.h>

#include <string>

#include "platform/win32/handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring self(32768, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
  if (length == 0 || length >= self.size()) return 1;
  self.resize(length);

  vemo::UniqueFile record(CreateFileW((self + L".started").c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!record) return 2;
  std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
  DWORD written = 0;
  DWORD size = static_cast<DWORD>(line.size() * sizeof(wchar_t));
  if (!WriteFile(record.get(), line.data(), size, &written, nullptr) || written != size) return 3;
  return 0;
}
