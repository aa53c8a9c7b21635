// Finding the "FontName:" entries of a list: the keyword in any letter case, at a CP932
// character boundary. Internal to the rewrite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fontfix/cp932.h"

namespace vemo::rewrite {

inline constexpr std::string_view kKeyword = "FontName:";
inline constexpr std::string_view kFoldedKeyword = "fontname:";

// Whether `pos` starts a character of `text` walked from its start. A byte that cannot lead
// a character always ends one, so only the run of lead bytes just before `pos` counts: each
// of them takes the byte after it, so `pos` starts a character when the run is even.
inline bool IsCharBoundary(std::string_view text, std::size_t pos) {
  std::size_t start = pos;
  while (start > 0 && cp932::IsLeadByte(static_cast<unsigned char>(text[start - 1]))) --start;
  return (pos - start) % 2 == 0;
}

// Whether the eight letters of "FontName" are at `pos`, in any letter case. Setting bit 5
// maps exactly the two cases of a letter, and nothing else, onto its small letter.
inline bool IsKeywordLettersAt(std::string_view text, std::size_t pos) {
  constexpr std::uint64_t kCaseBits = 0x2020202020202020u;
  std::uint64_t wanted;
  std::uint64_t found;
  std::memcpy(&wanted, kFoldedKeyword.data(), sizeof wanted);
  std::memcpy(&found, text.data() + pos, sizeof found);
  return (found | kCaseBits) == wanted;
}

// Calls `found(pos)` for every entry's keyword in `text`, in order. Looks for the colon with
// the library's byte search, then checks the letters before it and the boundary.
template <typename Found>
void ForEachKeyword(std::string_view text, Found&& found) {
  constexpr std::size_t kLetters = kKeyword.size() - 1;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* colon = text.size() > kLetters ? begin + kLetters : end;
  while (colon < end) {
    colon =
        static_cast<const char*>(std::memchr(colon, ':', static_cast<std::size_t>(end - colon)));
    if (colon == nullptr) return;
    const auto at = static_cast<std::size_t>(colon - begin) - kLetters;
    if (IsKeywordLettersAt(text, at) && IsCharBoundary(text, at)) found(at);
    ++colon;
  }
}

}  // namespace vemo::rewrite
