// Folders the system knows, for the folder Illustrator keeps its font list in.
#pragma once

#include <string>

namespace vemo {

// The Common Files folder of 32-bit programs: "C:\Program Files (x86)\Common Files" on 64-bit
// Windows, "C:\Program Files\Common Files" on 32-bit Windows, whichever drive Windows is on.
// Empty when the shell does not know it.
std::wstring CommonFiles32Folder();

// True when `path` names an existing folder.
bool FolderExists(const std::wstring& path);

}  // namespace vemo
