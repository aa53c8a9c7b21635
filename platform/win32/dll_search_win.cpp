#include "platform/win32/dll_search_win.h"

#include <windows.h>

namespace vemo {
namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which headers for XP do not define.
constexpr DWORD kSearchSystem32 = 0x00000800;

// A function of kernel32, or null where this Windows lacks it. Both functions used here are
// looked up: the headers for XP declare neither.
template <typename Function>
Function Kernel32Function(const char* name) {
  HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  if (!kernel32) return nullptr;
  // Through a plain function pointer type, which any function pointer converts to and from.
  using Plain = void (*)();
  return reinterpret_cast<Function>(reinterpret_cast<Plain>(::GetProcAddress(kernel32, name)));
}

}  // namespace

void LoadDllsFromSystemFolderOnly() {
  // An empty folder takes the current folder out of the search (XP SP1 and later).
  if (auto setDllDirectory = Kernel32Function<BOOL(WINAPI*)(LPCWSTR)>("SetDllDirectoryW")) {
    setDllDirectory(L"");
  }
  if (auto setDefault = Kernel32Function<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories")) {
    setDefault(kSearchSystem32);
  }
}

}  // namespace vemo
