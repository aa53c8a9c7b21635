#include "platform/posix/native_path.h"

#include "platform/utf8.h"

namespace vemo {
namespace {

constexpr char32_t kEscapeFirst = 0xDC80;
constexpr char32_t kEscapeLast = 0xDCFF;
constexpr char32_t kReplacement = 0xFFFD;

// A character of a path: the escapes back to the bytes they stand for.
void AppendNative(std::string& out, char32_t c) {
  if (c >= kEscapeFirst && c <= kEscapeLast) {
    out += static_cast<char>(c - kEscapeFirst + 0x80);
    return;
  }
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
  AppendUtf8(out, c);
}

}  // namespace

std::string Utf8FromWide(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) AppendNative(out, static_cast<char32_t>(c));
  return out;
}

std::wstring WideFromUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size();) {
    if (const std::optional<char32_t> c = NextUtf8Char(bytes, pos)) {
      out += static_cast<wchar_t>(*c);
    } else {
      out += static_cast<wchar_t>(kEscapeFirst + static_cast<unsigned char>(bytes[pos]) - 0x80);
      ++pos;
    }
  }
  return out;
}

std::string NativePath(std::wstring_view path) {
  std::string out;
  out.reserve(path.size());
  for (wchar_t c : path) AppendNative(out, c == L'\\' ? U'/' : static_cast<char32_t>(c));
  return out;
}

}  // namespace vemo
