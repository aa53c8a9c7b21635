// Where Illustrator keeps its font list.
#pragma once

#include <functional>
#include <string>

namespace vemo {

// Where Illustrator 8, 9 and 10 install it on Japanese Windows.
inline constexpr wchar_t kDefaultListFolder[] = L"C:\\Program Files\\Common Files\\Adobe\\TypeSpt";

// The folder to start with: kDefaultListFolder when it exists; else, when it does not, the
// TypeSpt folder under the Common Files folder of 32-bit programs (`commonFiles32`), where a
// 32-bit Illustrator keeps it on 64-bit Windows, when that one exists; else
// kDefaultListFolder.
std::wstring StartListFolder(const std::wstring& commonFiles32,
                             const std::function<bool(const std::wstring&)>& folderExists);

}  // namespace vemo
