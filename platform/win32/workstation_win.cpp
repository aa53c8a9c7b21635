#include "platform/win32/workstation_win.h"

#include <windows.h>
#include <lmcons.h>

#include <cstdint>

#include "platform/system_error.h"

namespace vemo {
namespace {

std::int64_t Ticks(const SYSTEMTIME& time) {
  FILETIME file;
  if (!::SystemTimeToFileTime(&time, &file)) RaiseSystemError(::GetLastError());
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(file.dwHighDateTime) << 32 |
                                   file.dwLowDateTime);
}

}  // namespace

std::wstring Win32Workstation::ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!::GetComputerNameW(name, &size)) RaiseSystemError(::GetLastError());
  return std::wstring(name, size);
}

std::wstring Win32Workstation::UserName() {
  wchar_t name[UNLEN + 1];
  DWORD size = UNLEN + 1;
  if (!::GetUserNameW(name, &size)) RaiseSystemError(::GetLastError());
  return name;
}

// One instant, taken as UTC and turned into local time: the offset is their difference.
LocalTime Win32Workstation::Now() {
  SYSTEMTIME utc;
  ::GetSystemTime(&utc);
  SYSTEMTIME local;
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    RaiseSystemError(::GetLastError());
  }
  constexpr std::int64_t kTicksPerMinute = 60LL * 10'000'000;
  // The two share their seconds and milliseconds: the difference is whole minutes.
  const auto offset = static_cast<int>((Ticks(local) - Ticks(utc)) / kTicksPerMinute);
  return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, offset};
}

}  // namespace vemo
