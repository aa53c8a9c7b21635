#include "platform/program_folder.h"

#include <windows.h>

#include "platform/win32/growing_buffer.h"
#include "platform/win32/path_win.h"

namespace vemo {

namespace {

std::wstring ProgramPath() {
  return TextFromGrowingBuffer([](wchar_t* buffer, DWORD size) {
    // A full buffer means the path was cut short: the function does not say how long it is.
    return ::GetModuleFileNameW(nullptr, buffer, size);
  });
}

}  // namespace

std::wstring ProgramFolder() {
  return FolderOfPath(ProgramPath());
}

std::wstring PathBesideProgram(const std::wstring& fileName) {
  return JoinPath(ProgramFolder(), fileName);
}

}  // namespace vemo
