// Finding the "FontName:" entries of a list: the keyword in any letter case, at a CP932
// character boundary. Internal to the rewrite.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fontfix/cp932.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__) || defined(_M_X64)
// Which of the 16 bytes from `at` are a colon with E or e before it and T or t five bytes
// before, as a mask: the keyword has all three, and the other keys of a font list's lines
// seldom do, so few colons pass. Reads from five bytes before `at`.
inline unsigned KeywordEnds16(const char* at) {
  const __m128i colon = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at - 1));
  const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at - 5));
  const __m128i caseBits = _mm_set1_epi8(0x20);
  const __m128i hits =
      _mm_and_si128(_mm_cmpeq_epi8(colon, _mm_set1_epi8(':')),
                    _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(e, caseBits), _mm_set1_epi8('e')),
                                  _mm_cmpeq_epi8(_mm_or_si128(t, caseBits), _mm_set1_epi8('t'))));
  return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
#endif

// Calls `found(pos)` for every entry's keyword in `text`, in order: finds the colons that may
// end one, 16 bytes at a time where the processor has the instructions for it (or with the
// library's byte search), then checks the letters before each and the boundary.
template <typename Found>
void ForEachKeyword(std::string_view text, Found&& found) {
  constexpr std::size_t kLetters = kKeyword.size() - 1;
  auto check = [&](std::size_t colon) {
    const std::size_t at = colon - kLetters;
    if (IsKeywordLettersAt(text, at) && IsCharBoundary(text, at)) found(at);
  };
  std::size_t colon = kLetters;
#if defined(__SSE2__) || defined(_M_X64)
  for (; colon + 16 <= text.size(); colon += 16)
    for (unsigned hits = KeywordEnds16(text.data() + colon); hits != 0; hits &= hits - 1)
      check(colon + static_cast<std::size_t>(std::countr_zero(hits)));
#endif
  while (colon < text.size()) {
    const void* next = std::memchr(text.data() + colon, ':', text.size() - colon);
    if (next == nullptr) return;
    colon = static_cast<std::size_t>(static_cast<const char*>(next) - text.data());
    check(colon);
    ++colon;
  }
}

}  // namespace vemo::rewrite
