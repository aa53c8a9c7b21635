// UTF-8, the one decoder: tables saved by today's editors and file names on Linux.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace vemo {

// Decodes the character at `pos` and moves past it; nothing when the bytes there are not
// well-formed UTF-8 (shortest form, no surrogates, nothing above U+10FFFF), and then `pos`
// is left where it was.
std::optional<char32_t> NextUtf8Char(std::string_view bytes, std::size_t& pos);

}  // namespace vemo
