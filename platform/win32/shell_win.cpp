#include "platform/win32/shell_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "platform/known_folders.h"
#include "platform/system_error.h"
#include "platform/win32/growing_buffer.h"

namespace vemo {

std::wstring Win32Shell::WindowsFolder() {
  return TextFromGrowingBuffer(
      [](wchar_t* buffer, DWORD size) { return ::GetWindowsDirectoryW(buffer, size); });
}

void Win32Shell::OpenFolder(const std::wstring& folder) {
  const HINSTANCE result =
      ::ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  const auto code = reinterpret_cast<std::intptr_t>(result);
  if (code > 32) return;
  // Values up to 32 are the shell's own error codes; the low ones share the Win32 numbers.
  switch (code) {
    case 0:
      RaiseSystemError(ERROR_OUTOFMEMORY);
    case SE_ERR_SHARE:
      RaiseSystemError(ERROR_SHARING_VIOLATION);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_ACCESS_DENIED:
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_BAD_FORMAT:
      RaiseSystemError(static_cast<DWORD>(code));
    default:
      RaiseSystemError(::GetLastError());
  }
}

std::wstring Win32Shell::CommonFiles32Folder() {
  return vemo::CommonFiles32Folder();
}

bool Win32Shell::FolderExists(const std::wstring& path) {
  return vemo::FolderExists(path);
}

}  // namespace vemo
