// The plain way to rewrite the font list, kept as the yardstick for tests and the
// benchmark: for each row, walk the whole content from its start, compare character by
// character at every character boundary, and replace the first match in place.
// Written independently of fontfix's own CP932 helpers so that the two can disagree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fontfix/font_table.h"

namespace vemo::reference {

inline bool IsLead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsTrail(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

inline std::size_t CharAt(std::string_view s, std::size_t i) {
  return IsLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
                 IsTrail(static_cast<unsigned char>(s[i + 1]))
             ? 2
             : 1;
}

// A character's code (one or two bytes) with its letter case folded.
inline unsigned FoldedCode(std::string_view s, std::size_t i, std::size_t length) {
  const unsigned first = static_cast<unsigned char>(s[i]);
  if (length == 1) return first >= 'A' && first <= 'Z' ? first + 32 : first;
  const unsigned code = first << 8 | static_cast<unsigned char>(s[i + 1]);
  struct Range {
    unsigned capital, last, small;
  };
  static constexpr Range kRanges[] = {{0x8260, 0x8279, 0x8281},
                                      {0x839F, 0x83B6, 0x83BF},
                                      {0x8440, 0x844E, 0x8470},
                                      {0x844F, 0x8460, 0x8480}};
  for (const Range& r : kRanges)
    if (code >= r.capital && code <= r.last) return code - r.capital + r.small;
  return code;
}

// Whether `key`, as a sequence of characters, equals the characters of `text` from `at`.
inline bool SameChars(std::string_view text, std::size_t at, std::string_view key) {
  std::size_t i = at;
  std::size_t j = 0;
  while (j < key.size()) {
    if (i >= text.size()) return false;
    const std::size_t textLength = CharAt(text, i);
    const std::size_t keyLength = CharAt(key, j);
    if (textLength != keyLength || FoldedCode(text, i, textLength) != FoldedCode(key, j, keyLength))
      return false;
    i += textLength;
    j += keyLength;
  }
  return true;
}

inline std::size_t FindFirst(std::string_view text, std::string_view key) {
  for (std::size_t i = 0; i < text.size(); i += CharAt(text, i))
    if (SameChars(text, i, key)) return i;
  return std::string_view::npos;
}

inline std::string StraightforwardRewrite(std::string content, const FontTable& table) {
  for (std::int32_t row = 1; row <= table.FontCount(); ++row) {
    const std::string& current = table.At(row, 1);
    const std::string& replacement = table.At(row, 2);
    if (current.empty() || replacement.empty()) continue;
    const std::string key = "FontName:" + current;
    const std::size_t at = FindFirst(content, key);
    if (at != std::string_view::npos) content.replace(at, key.size(), "FontName:" + replacement);
  }
  return content;
}

}  // namespace vemo::reference
