#include "platform/win32/path_win.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/runtime_error.h"
#include "platform/win32/growing_buffer.h"

namespace vemo {

std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) throw RuntimeError(err::kBadFileName);
  return TextFromGrowingBuffer([&path](wchar_t* buffer, DWORD size) {
    return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
}

std::wstring ShellFolder(int csidl) {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder))) return L"";
  return folder;
}

}  // namespace vemo
