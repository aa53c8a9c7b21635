// Conversion between CP932 bytes (Fonts.txt, the font list) and interface text.
// The one place where bytes become UTF-16 and back.
#pragma once

#include <string>
#include <string_view>

namespace vemo {

// Bytes that are not valid CP932 become replacement characters, never an error.
std::wstring WideFromCp932(std::string_view bytes);
// Characters CP932 cannot hold become '?'.
std::string Cp932FromWide(std::wstring_view text);

}  // namespace vemo
