#include "platform/program_folder.h"

#include <windows.h>

#include "platform/system_error.h"
#include "platform/win32/path_win.h"

namespace vemo {

namespace {

std::wstring ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) RaiseSystemError(::GetLastError());
    // A full buffer means the path was cut short: the function does not say how long it is.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::wstring ProgramFolder() {
  return FolderOfPath(ProgramPath());
}

std::wstring PathBesideProgram(const std::wstring& fileName) {
  return JoinPath(ProgramFolder(), fileName);
}

}  // namespace vemo
