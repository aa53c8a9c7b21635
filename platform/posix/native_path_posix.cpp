#include "platform/posix/native_path.h"

namespace vemo {
namespace {

constexpr char32_t kEscapeFirst = 0xDC80;
constexpr char32_t kEscapeLast = 0xDCFF;
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c >= kEscapeFirst && c <= kEscapeLast) {
    out += static_cast<char>(c - kEscapeFirst + 0x80);
    return;
  }
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point of the well-formed sequence at `pos` and its length, or length 0.
std::size_t DecodeAt(std::string_view bytes, std::size_t pos, char32_t& c) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
  const unsigned char first = b(0);
  if (first < 0x80) {
    c = first;
    return 1;
  }
  std::size_t length;
  char32_t min;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2, min = 0x80, c = first & 0x1F;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3, min = 0x800, c = first & 0x0F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4, min = 0x10000, c = first & 0x07;
  } else {
    return 0;
  }
  if (pos + length > bytes.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    c = c << 6 | (b(i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string Utf8FromWide(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) AppendUtf8(out, static_cast<char32_t>(c));
  return out;
}

std::wstring WideFromUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size();) {
    char32_t c = 0;
    const std::size_t length = DecodeAt(bytes, pos, c);
    if (length == 0) {
      out += static_cast<wchar_t>(kEscapeFirst + static_cast<unsigned char>(bytes[pos]) - 0x80);
      ++pos;
    } else {
      out += static_cast<wchar_t>(c);
      pos += length;
    }
  }
  return out;
}

std::string NativePath(std::wstring_view path) {
  std::string out;
  out.reserve(path.size());
  for (wchar_t c : path) AppendUtf8(out, c == L'\\' ? U'/' : static_cast<char32_t>(c));
  return out;
}

}  // namespace vemo
