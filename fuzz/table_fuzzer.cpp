// Fuzzes the reading of "Fonts.txt": any bytes either load or fail with one of the table's
// own errors, never anything worse; and a UTF-8 name is converted exactly or not at all.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "fontfix/table_file.h"
#include "fontfix/table_encoding.h"
#include "fuzz/fuzz_check.h"
#include "platform/codepage.h"
#include "platform/runtime_error.h"

namespace vemo::fuzz {
namespace {

// The character of one CP932 code as the system's converter read it (`read`); Windows' own
// single bytes, which the converter here reads as U+FFFD, as Windows reads them.
char32_t UnicodeOfCode(std::string_view code, wchar_t read) {
  static const std::unordered_map<char, char32_t> kWindowsOnly = {
      {'\x80', 0x0080}, {'\xA0', 0xF8F0}, {'\xFD', 0xF8F1}, {'\xFE', 0xF8F2}, {'\xFF', 0xF8F3}};
  if (code.size() == 1 && kWindowsOnly.count(code[0])) return kWindowsOnly.at(code[0]);
  Require(read != L'\uFFFD', "the conversion wrote a code CP932 lacks");
  return static_cast<char32_t>(read);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The UTF-8 that `cp932` was converted from, read back: every code the
// conversion writes is a single byte that never leads a character, or a lead and a trail.
std::string BackToUtf8(std::string_view cp932) {
  // One character for every code: a byte the converter cannot read is one replacement.
  const std::wstring read = WideFromCp932(cp932);
  std::string out;
  std::size_t index = 0;
  for (std::size_t pos = 0; pos < cp932.size(); ++index) {
    const auto lead = static_cast<unsigned char>(cp932[pos]);
    const bool pair = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    Require(!pair || pos + 1 < cp932.size(), "a lead byte ends the converted name");
    const std::size_t length = pair ? 2 : 1;
    Require(index < read.size(), "the converted name reads back short");
    AppendUtf8(out, UnicodeOfCode(cp932.substr(pos, length), read[index]));
    pos += length;
  }
  return out;
}

void CheckConversion(std::string_view bytes) {
  try {
    const std::string cp932 = Cp932FromUtf8(bytes);
    Require(IsValidUtf8(bytes), "a name that is not UTF-8 was converted");
    Require(BackToUtf8(cp932) == bytes, "the conversion does not read back as the name");
  } catch (const RuntimeError& e) {
    Require(e.Number() == err::kNameNotInCp932, "the conversion failed with another number");
  }
}

void CheckTable(std::string_view bytes) {
  FontTable table;
  std::string display;
  std::int32_t error = 0;
  try {
    display = ParseFontTable(bytes, table);
  } catch (const RuntimeError& e) {
    error = e.Number();
  }
  const std::int32_t count = table.FontCount();
  Require(error == 0 || error == err::kSubscriptOutOfRange || error == err::kInputPastEndOfFile ||
              error == err::kNameNotInCp932,
          "the table failed with a number of its own");
  Require(count >= 0 && count <= FontTable::kRows + 1, "the count left the table's range");
  Require((error == err::kSubscriptOutOfRange) == (count == FontTable::kRows + 1),
          "error 9 and a 1025th row go together");
  if (error != 0) return;

  std::string expected;
  for (std::int32_t row = 1; row <= count; ++row) expected += table.At(row, 1) + "  ";
  Require(display == expected, "the display text is not the first names with two blanks");
  if (DetectTableEncoding(bytes) == TableEncoding::kUtf8) {
    // Whatever the names hold, it reads back as CP932.
    for (std::int32_t row = 1; row <= count; ++row)
      for (std::int32_t column = 1; column <= 2; ++column) BackToUtf8(table.At(row, column));
  }
}

}  // namespace
}  // namespace vemo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vemo::fuzz::CheckTable(bytes);
  vemo::fuzz::CheckConversion(bytes);
  return 0;
}
