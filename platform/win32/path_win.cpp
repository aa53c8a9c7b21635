#include "platform/win32/path_win.h"

#include <windows.h>

#include "platform/runtime_error.h"
#include "platform/system_error.h"

namespace vemo {

std::wstring FolderOfPath(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::wstring();
  std::wstring folder = path.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return folder;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) return folder + name;
  return folder + L'\\' + name;
}

std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) throw RuntimeError(err::kBadFileName);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) RaiseSystemError(::GetLastError());
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // too small: `length` counts the terminating NUL as well
  }
}

}  // namespace vemo
