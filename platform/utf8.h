// UTF-8, the one decoder and encoder: tables saved by today's editors and file names on Linux.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vemo {

// Decodes the character at `pos` and moves past it; nothing when the bytes there are not
// well-formed UTF-8 (shortest form, no surrogates, nothing above U+10FFFF), and then `pos`
// is left where it was.
std::optional<char32_t> NextUtf8Char(std::string_view bytes, std::size_t& pos);

// Appends the UTF-8 form of `c`, a character (not a surrogate) up to U+10FFFF.
void AppendUtf8(std::string& out, char32_t c);

// Interface text (UTF-16 on Windows, UTF-32 elsewhere) as UTF-8; a surrogate without its
// pair becomes U+FFFD.
std::string Utf8FromText(std::wstring_view text);

}  // namespace vemo
