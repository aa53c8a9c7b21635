// Conversion between CP932 bytes (Fonts.txt, the font list) and interface text.
// The one place where bytes become UTF-16 and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vemo {

// Bytes that are not valid CP932 become replacement characters, never an error.
std::wstring WideFromCp932(std::string_view bytes);
// Characters CP932 cannot hold become '?'.
std::string Cp932FromWide(std::wstring_view text);
// The CP932 bytes of `text` when CP932 holds each of its characters as it is, the same bytes
// on every system (Windows' conversion without best-fit look-alikes: U+301C WAVE DASH has
// none, only U+FF5E FULLWIDTH TILDE is 0x8160); nothing otherwise.
std::optional<std::string> Cp932FromWideExactly(std::wstring_view text);

}  // namespace vemo
