// The shell and the system's folders on Win32.
#pragma once

#include <string>

#include "platform/shell.h"

namespace vemo {

class Win32Shell : public Shell {
 public:
  // GetWindowsDirectoryW.
  std::wstring WindowsFolder() override;
  // ShellExecuteW's "open"; its own error codes become the Win32 numbers they stand for.
  void OpenFolder(const std::wstring& folder) override;
  std::wstring CommonFiles32Folder() override;
  bool FolderExists(const std::wstring& path) override;
};

}  // namespace vemo
