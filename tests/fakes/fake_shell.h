// The shell and the system's folders as a test sets them. Every folder the shell is asked to
// open is recorded; one that is not among `folders` fails as the shell fails for a missing
// folder.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/runtime_error.h"
#include "platform/shell.h"

namespace vemo::testing {

class FakeShell : public Shell {
 public:
  std::wstring WindowsFolder() override { return windowsFolder; }
  void OpenFolder(const std::wstring& folder) override {
    opened.push_back(folder);
    if (folders.count(folder) == 0) throw RuntimeError(err::kPathNotFound);
  }
  std::wstring CommonFiles32Folder() override { return commonFiles32; }
  bool FolderExists(const std::wstring& path) override { return folders.count(path) != 0; }

  std::wstring windowsFolder = L"C:\\windows";
  std::wstring commonFiles32 = L"C:\\Program Files (x86)\\Common Files";
  std::set<std::wstring> folders;    // the folders that exist
  std::vector<std::wstring> opened;  // every folder the shell was asked to open
};

}  // namespace vemo::testing
