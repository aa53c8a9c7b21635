// The Windows folder, the folders the system knows and the shell, as the main window asks for
// them: for the folder it starts with and for the command that opens the target folder.
#pragma once

#include <string>

namespace vemo {

class Shell {
 public:
  virtual ~Shell() = default;
  // Where explorer.exe lives, whatever the search path says. Raises RuntimeError on failure.
  virtual std::wstring WindowsFolder() = 0;
  // Opens `folder` with the shell's default action, in a normal window; does not wait. Raises
  // RuntimeError when the shell cannot open it.
  virtual void OpenFolder(const std::wstring& folder) = 0;
  // The Common Files folder of 32-bit programs (see known_folders.h); empty when the shell
  // does not know it.
  virtual std::wstring CommonFiles32Folder() = 0;
  // True when `path` names an existing folder.
  virtual bool FolderExists(const std::wstring& path) = 0;
};

}  // namespace vemo
