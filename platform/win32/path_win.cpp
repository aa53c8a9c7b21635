#include "platform/win32/path_win.h"

#include <windows.h>

#include "platform/runtime_error.h"
#include "platform/win32/growing_buffer.h"

namespace vemo {

std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) throw RuntimeError(err::kBadFileName);
  return TextFromGrowingBuffer([&path](wchar_t* buffer, DWORD size) {
    return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
}

}  // namespace vemo
