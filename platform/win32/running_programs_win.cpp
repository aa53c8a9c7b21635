#include "platform/win32/running_programs_win.h"

#include <windows.h>
#include <tlhelp32.h>

#include "platform/system_error.h"
#include "platform/win32/handle.h"

namespace vemo {

bool Win32RunningPrograms::AnyRunning(std::span<const std::wstring_view> imageNames) {
  UniqueSnapshot snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) RaiseSystemError(::GetLastError());
  PROCESSENTRY32W process{};
  process.dwSize = sizeof(process);
  for (BOOL found = ::Process32FirstW(snapshot.get(), &process); found;
       found = ::Process32NextW(snapshot.get(), &process)) {
    // The image's file name alone, e.g. "Illustrator.exe".
    if (IsOneOf(process.szExeFile, imageNames)) return true;
  }
  const DWORD error = ::GetLastError();
  if (error != ERROR_NO_MORE_FILES) RaiseSystemError(error);
  return false;
}

}  // namespace vemo
