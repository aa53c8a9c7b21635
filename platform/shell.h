// The Windows folder and the shell, for the command that opens the target folder.
#pragma once

#include <string>

namespace vemo {

// GetWindowsDirectoryW: where explorer.exe lives, whatever the search path says. Raises
// RuntimeError on failure.
std::wstring WindowsFolder();

// Opens `folder` with the shell's default action, in a normal window; does not wait. Raises
// RuntimeError when the shell cannot open it.
void OpenFolderInShell(const std::wstring& folder);

}  // namespace vemo
