// How "Fonts.txt" is written: CP932, as the tool has always read it, or UTF-8, as modern
// editors save text. Names in a UTF-8 table are converted to CP932 before use, because the
// font list that they are matched against is CP932.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vemo {

enum class TableEncoding { kCp932, kUtf8 };

// The table is UTF-8 when it starts with the byte order mark EF BB BF, or when it holds a
// byte above 0x7F and all of it is well-formed UTF-8 (RFC 3629: shortest forms only, no
// surrogates, nothing above U+10FFFF). Anything else is CP932, read exactly as before.
//
// The second clause cannot tell every CP932 text from UTF-8. Japanese CP932 text nearly
// always breaks the UTF-8 rules within a few characters, but a short one can pass: the
// half-width katakana ﾃｽ (C3 BD) read as UTF-8 is ý. Such a table, saved without a byte order
// mark, is read as UTF-8. Most such misreadings give characters CP932 lacks (ý has no code),
// so loading fails with kNameNotInCp932 rather than renaming the wrong fonts; a byte order
// mark, or one more kanji in the CP932 table, settles it.
TableEncoding DetectTableEncoding(std::string_view bytes);

// Well-formed UTF-8 by RFC 3629.
bool IsValidUtf8(std::string_view bytes);

// `bytes` without a leading UTF-8 byte order mark.
std::string_view WithoutUtf8Bom(std::string_view bytes);

// The CP932 bytes of a UTF-8 name, character by character, keeping only the conversions that
// read back as the same character (no best-fit substitutes: U+301C WAVE DASH, U+00A5 YEN
// SIGN and U+2014 EM DASH have none; U+FF5E, U+2225 and U+2015 are CP932's own). Raises
// err::kNameNotInCp932 at a character CP932 cannot hold, and at bytes that are not UTF-8.
std::string Cp932FromUtf8(std::string_view utf8);

// The UTF-8 form of a CP932 name that Cp932FromUtf8 turns back into the same bytes; nothing
// for bytes that are not CP932 characters.
std::optional<std::string> Utf8FromCp932(std::string_view cp932);

}  // namespace vemo
