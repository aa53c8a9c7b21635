// Path pieces the Win32 services share. Paths are UTF-16 and use "\" (a "/" is taken too).
#pragma once

#include <string>

namespace vemo {

// The folder part of a full path: no trailing "\" except at a drive root ("C:\").
std::wstring FolderOfPath(const std::wstring& path);

// folder & "\" & name, without doubling the "\" of a drive root.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// GetFullPathNameW: relative paths made absolute against the current folder. Raises
// RuntimeError on failure.
std::wstring FullPath(const std::wstring& path);

}  // namespace vemo
