// For the Win32 functions that fill a caller's buffer with text and report the length they
// wrote, or, when the buffer is too small, the size they need (GetFullPathNameW,
// GetWindowsDirectoryW) or just the size they were given (GetModuleFileNameW).
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/system_error.h"

namespace vemo {

// Calls `fill(buffer, size)`, a wrapper of such a function, with a larger buffer until the
// text fits. Raises RuntimeError when it answers 0.
template <typename Fill>
std::wstring TextFromGrowingBuffer(Fill fill) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = fill(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) RaiseSystemError(::GetLastError());
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(std::max<std::size_t>(length, text.size() * 2));
  }
}

}  // namespace vemo
