// The folder that holds the executable.
#pragma once

#include <string>

namespace vemo {

// Without a trailing backslash, except at a drive root ("C:\").
std::wstring ProgramFolder();

// Joins the program folder and a file name beside the program: folder & "\" & name.
std::wstring PathBesideProgram(const std::wstring& fileName);

}  // namespace vemo
