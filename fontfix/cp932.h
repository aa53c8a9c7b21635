// CP932 character structure and the letter-case folding used to compare font names.
// Internal to fontfix.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vemo::cp932 {

inline bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Length (1 or 2) of the character that starts at `pos`; a lead byte without a trail byte
// after it stands alone.
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
      IsTrailByte(static_cast<unsigned char>(text[pos + 1])))
    return 2;
  return 1;
}

inline unsigned char FoldSingle(unsigned char b) {
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// Folds a double-byte character: full-width Latin, Greek and Cyrillic capitals become the
// small letters. Both halves stay lead and trail bytes, so folding never moves a boundary.
inline unsigned DoubleFolded(unsigned code) {
  if (code >= 0x8260 && code <= 0x8279) return code + (0x8281 - 0x8260);
  if (code >= 0x839F && code <= 0x83B6) return code + (0x83BF - 0x839F);
  if (code >= 0x8440 && code <= 0x844E) return code + (0x8470 - 0x8440);
  if (code >= 0x844F && code <= 0x8460) return code + (0x8480 - 0x844F);
  return code;
}

// Folds one character in place at `pos` of `out` whose walk says it is `length` bytes long.
inline void FoldCharAt(std::string& out, std::size_t pos, std::size_t length) {
  if (length == 1) {
    out[pos] = static_cast<char>(FoldSingle(static_cast<unsigned char>(out[pos])));
    return;
  }
  const unsigned code =
      DoubleFolded(static_cast<unsigned>(static_cast<unsigned char>(out[pos])) << 8 |
                   static_cast<unsigned char>(out[pos + 1]));
  out[pos] = static_cast<char>(code >> 8);
  out[pos + 1] = static_cast<char>(code & 0xFF);
}

// The text walked as CP932 from its start, every character folded. Same length as `text`.
inline std::string Folded(std::string_view text) {
  std::string out(text);
  for (std::size_t pos = 0; pos < out.size();) {
    const std::size_t length = CharLength(text, pos);
    FoldCharAt(out, pos, length);
    pos += length;
  }
  return out;
}

}  // namespace vemo::cp932
