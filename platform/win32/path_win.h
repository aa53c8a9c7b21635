// Path pieces the Win32 services share. Paths are UTF-16 and use "\" (a "/" is taken too).
#pragma once

#include <string>

#include "platform/path.h"

namespace vemo {

// GetFullPathNameW: relative paths made absolute against the current folder. Raises
// RuntimeError on failure.
std::wstring FullPath(const std::wstring& path);

}  // namespace vemo
