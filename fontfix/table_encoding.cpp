#include "fontfix/table_encoding.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "fontfix/cp932_table.h"
#include "platform/runtime_error.h"

namespace vemo {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// Decodes the character at `pos` and moves past it; nothing when the bytes there are not
// well-formed UTF-8 (then `pos` is left where it was).
std::optional<char32_t> NextChar(std::string_view bytes, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
  const unsigned char first = byte(0);
  if (first < 0x80) {
    ++pos;
    return first;
  }
  std::size_t length;
  char32_t c;
  unsigned char low = 0x80;  // bounds of the second byte, narrowed where shorter forms exist
  unsigned char high = 0xBF;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
    c = first & 0x1F;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    c = first & 0x0F;
    if (first == 0xE0) low = 0xA0;   // overlong
    if (first == 0xED) high = 0x9F;  // surrogates
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    c = first & 0x07;
    if (first == 0xF0) low = 0x90;   // overlong
    if (first == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return std::nullopt;
  }
  if (bytes.size() - pos < length || byte(1) < low || byte(1) > high) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(i))) return std::nullopt;
    c = c << 6 | (byte(i) & 0x3F);
  }
  pos += length;
  return c;
}

std::optional<std::uint16_t> Cp932CodeOf(char32_t c) {
  if (c > 0xFFFF) return std::nullopt;
  const auto table = cp932::UnicodeToCp932();
  const auto it = std::lower_bound(
      table.begin(), table.end(), c,
      [](const cp932::UnicodeAndCode& entry, char32_t value) { return entry.unicode < value; });
  if (it == table.end() || it->unicode != c) return std::nullopt;
  return it->code;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();)
    if (!NextChar(bytes, pos)) return false;
  return true;
}

std::string_view WithoutUtf8Bom(std::string_view bytes) {
  return bytes.starts_with(kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : bytes;
}

TableEncoding DetectTableEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return TableEncoding::kUtf8;
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char b) { return static_cast<unsigned char>(b) < 0x80; });
  // An ASCII-only table reads the same either way.
  return !ascii && IsValidUtf8(bytes) ? TableEncoding::kUtf8 : TableEncoding::kCp932;
}

std::string Cp932FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::optional<char32_t> c = NextChar(utf8, pos);
    const std::optional<std::uint16_t> code = c ? Cp932CodeOf(*c) : std::nullopt;
    if (!code) throw RuntimeError(err::kNameNotInCp932);
    if (*code > 0xFF) out += static_cast<char>(*code >> 8);
    out += static_cast<char>(*code & 0xFF);
  }
  return out;
}

}  // namespace vemo
