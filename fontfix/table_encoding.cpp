#include "fontfix/table_encoding.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/codepage.h"
#include "platform/runtime_error.h"
#include "platform/utf8.h"

namespace vemo {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();)
    if (!NextUtf8Char(bytes, pos)) return false;
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
  std::wstring text;
  text.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::optional<char32_t> c = NextUtf8Char(utf8, pos);
    // CP932 holds characters of the basic plane only, so wchar_t is wide enough everywhere.
    if (!c || *c > 0xFFFF) throw RuntimeError(err::kNameNotInCp932);
    text += static_cast<wchar_t>(*c);
  }
  std::optional<std::string> bytes = Cp932FromWideExactly(text);
  if (!bytes) throw RuntimeError(err::kNameNotInCp932);
  return std::move(*bytes);
}

std::optional<std::string> Utf8FromCp932(std::string_view cp932) {
  std::string utf8;
  for (wchar_t c : WideFromCp932(cp932)) AppendUtf8(utf8, static_cast<char32_t>(c));
  try {
    if (Cp932FromUtf8(utf8) == cp932) return utf8;
  } catch (const RuntimeError&) {
  }
  return std::nullopt;
}

}  // namespace vemo
