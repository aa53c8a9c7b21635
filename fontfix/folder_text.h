// The folder box's text: what counts as a blank around it, and the folder it names.
#pragma once

#include <string>
#include <string_view>

namespace vemo {

// A blank of the folder text: space, tab or U+3000.
bool IsBlank(wchar_t c);
// The folder text without blanks at either end.
std::wstring TrimBlanks(std::wstring_view text);
// TrimBlanks, then "\" appended unless the text already ends in one.
std::wstring TargetFolder(std::wstring_view folderText);

}  // namespace vemo
