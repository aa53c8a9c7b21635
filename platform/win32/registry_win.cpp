#include "platform/win32/registry_win.h"

#include <windows.h>

namespace vemo {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
  }
  return nullptr;
}

HKEY ToHkey(RegistryKey key) {
  return reinterpret_cast<HKEY>(key);
}

// A 32-bit program on 64-bit Windows reads HKEY_LOCAL_MACHINE\SOFTWARE from the 32-bit view
// (Wow6432Node); the system information program's places are kept in the 64-bit one.
// IsWow64Process is looked up at run time, as every function the first Windows XP lacked.
bool IsWow64() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

REGSAM NativeViewAccess(std::uint32_t access) {
  static const bool wow64 = IsWow64();
  return wow64 ? access | KEY_WOW64_64KEY : access;
}

}  // namespace

std::int32_t Win32Registry::OpenKey(RegistryRoot root, const std::wstring& subKey,
                                    std::uint32_t access, RegistryKey& key) {
  HKEY opened = nullptr;
  LSTATUS status =
      ::RegOpenKeyExW(RootKey(root), subKey.c_str(), 0, NativeViewAccess(access), &opened);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<RegistryKey>(opened);
  return status;
}

std::int32_t Win32Registry::QueryValue(RegistryKey key, const std::wstring& valueName,
                                       std::uint32_t& type, std::byte* data, std::uint32_t& size) {
  DWORD valueType = REG_NONE;
  DWORD valueSize = size;
  LSTATUS status = ::RegQueryValueExW(ToHkey(key), valueName.c_str(), nullptr, &valueType,
                                      reinterpret_cast<BYTE*>(data), &valueSize);
  type = valueType;
  size = valueSize;
  return status;
}

void Win32Registry::CloseKey(RegistryKey key) {
  // Nothing can be done about a key that will not close; the read already has its answer.
  ::RegCloseKey(ToHkey(key));
}

}  // namespace vemo
