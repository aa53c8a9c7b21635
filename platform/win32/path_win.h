// Path pieces the Win32 services share. Paths are UTF-16 and use "\" (a "/" is taken too).
#pragma once

#include <string>

#include "platform/path.h"

namespace vemo {

// GetFullPathNameW: relative paths made absolute against the current folder. Raises
// RuntimeError on failure.
std::wstring FullPath(const std::wstring& path);

// The shell's folder for a CSIDL_ value (SHGetFolderPathW, there since Windows 2000); empty
// when the shell does not know it.
std::wstring ShellFolder(int csidl);

}  // namespace vemo
