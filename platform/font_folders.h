// Where Windows keeps the fonts that vemofix --suggest reads.
#pragma once

#include <string>
#include <vector>

namespace vemo {

// The system fonts folder (CSIDL_FONTS) and, where it exists, the user's own
// (%LOCALAPPDATA%\Microsoft\Windows\Fonts, Windows 10 1809 and later).
std::vector<std::wstring> FontFolders();

}  // namespace vemo
