// The folder box's text: what counts as a blank around it, and the folder it names. (The
// table's fields have blanks of their own, ASCII ones only: table_file.cpp; and the looser
// comparison of font names leaves out the blanks a name may hold: suggest.cpp.)
#pragma once

#include <string>
#include <string_view>

namespace vemo {

// A blank around the folder text: space, tab or U+3000, the full-width space a Japanese input
// method types.
bool IsFolderBlank(wchar_t c);
// The folder text without blanks at either end.
std::wstring TrimBlanks(std::wstring_view text);
// The folder the box's text names, as 実行 reads it: TrimBlanks, then "\" appended unless the
// text already ends in one (so an empty text names the root of the current drive). A name is
// joined to it with JoinPath, as to every other folder.
std::wstring TargetFolder(std::wstring_view folderText);

}  // namespace vemo
