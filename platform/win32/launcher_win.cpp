#include "platform/win32/launcher_win.h"

#include <windows.h>

#include <vector>

#include "platform/system_error.h"
#include "platform/win32/handle.h"

namespace vemo {

void Win32Launcher::Start(const std::wstring& application, const std::wstring& commandLine) {
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    RaiseSystemError(::GetLastError());
  }
  // Never waited for: the handles only have to be let go.
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
}

}  // namespace vemo
