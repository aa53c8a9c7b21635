// Where Illustrator keeps its font list.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vemo {

// The list of Illustrator 10, "AdobeFnt05.lst", or of 8 and 9, "AdobeFnt.lst".
std::wstring ListFileName(bool illustrator10);

// The backup of a list: its name & " のバックアップ". Made once, never overwritten.
std::wstring BackupFileName(std::wstring_view listName);

// The first line of the message for a list that is not there; its full path follows.
inline constexpr wchar_t kMissingListText[] = L"次のファイルが存在しません。";

// Where Illustrator 8, 9 and 10 install it on Japanese Windows.
inline constexpr wchar_t kDefaultListFolder[] = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt";

// The folder to start with: kDefaultListFolder when it exists; else, when it does not, the
// TypeSpt folder under the Common Files folder of 32-bit programs (`commonFiles32`), where a
// 32-bit Illustrator keeps it on 64-bit Windows, when that one exists; else
// kDefaultListFolder.
std::wstring StartListFolder(const std::wstring& commonFiles32,
                             const std::function<bool(const std::wstring&)>& folderExists);

}  // namespace vemo
