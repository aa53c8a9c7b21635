// The clipboard: text put there for the user to paste elsewhere.
#pragma once

#include <windows.h>

#include <string>

namespace vemo {

// Puts `text` on the clipboard in place of what it held, for `owner`. Raises RuntimeError
// when the clipboard cannot be had.
void CopyToClipboard(HWND owner, const std::wstring& text);

}  // namespace vemo
