// UTF-8 rename tables: telling them from CP932 ones, converting their names, and what the
// table, the rewrite and the error dialog make of them. The source is UTF-8, so plain string
// literals with Japanese text are UTF-8 bytes; CP932 bytes are written as escapes.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "errors/report_error.h"
#include "platform/codepage.h"
#include "fontfix/rewrite_font_list.h"
#include "fontfix/table_file.h"
#include "fontfix/table_encoding.h"
#include "platform/error_text.h"
#include "platform/runtime_error.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/unit/fontfix_test_support.h"

namespace vemo {
namespace {

using vemo::testing::ErrorOf;
using vemo::testing::Parse;
using vemo::testing::Parsed;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// CP932 bytes of the names the tests use.
constexpr std::string_view kMsMincho = "\x82\x6C\x82\x72\x96\xBE\x92\xA9";  // ＭＳ明朝
constexpr std::string_view kMsGothic =
    "\x82\x6C\x82\x72\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳゴシック

TableEncoding Detect(std::string_view bytes) {
  return DetectTableEncoding(bytes);
}

TEST(DetectTableEncoding, AByteOrderMarkMakesUtf8WhateverFollows) {
  EXPECT_EQ(Detect(kBom), TableEncoding::kUtf8);
  EXPECT_EQ(Detect(std::string(kBom) + "A,B\r\n"), TableEncoding::kUtf8);
  EXPECT_EQ(Detect(std::string(kBom) + std::string(kMsMincho) + ",B\r\n"), TableEncoding::kUtf8);
  // Only at the start.
  EXPECT_EQ(Detect("A,B\r\n" + std::string(kBom)),
            TableEncoding::kUtf8);  // valid UTF-8 all the same
  EXPECT_EQ(Detect(std::string(kMsMincho) + "," + std::string(kBom)), TableEncoding::kCp932);
}

TEST(DetectTableEncoding, WithoutAMarkNonAsciiWellFormedUtf8IsUtf8) {
  EXPECT_EQ(Detect("ＭＳ明朝,MS-Mincho\r\n"), TableEncoding::kUtf8);
  EXPECT_EQ(Detect("A,\xF0\x9F\x98\x80\r\n"), TableEncoding::kUtf8);  // four bytes
  // ASCII only reads the same either way and stays on the old path.
  EXPECT_EQ(Detect(""), TableEncoding::kCp932);
  EXPECT_EQ(Detect("Ryumin-Light,GothicBBB-Medium\r\n"), TableEncoding::kCp932);
}

TEST(DetectTableEncoding, Cp932JapaneseIsNotWellFormedUtf8) {
  EXPECT_EQ(Detect(std::string(kMsMincho) + ",MS-Mincho\r\n" + std::string(kMsGothic) + ",X\r\n"),
            TableEncoding::kCp932);
  // リュウミン, 平成明朝: lead bytes below 0xC2 or a trail byte that is no continuation.
  EXPECT_EQ(Detect("\x83\x8A\x83\x85\x83\x45\x83\x7E\x83\x93,R\r\n"), TableEncoding::kCp932);
  EXPECT_EQ(Detect("\x95\xBD\x90\xAC\x96\xBE\x92\xA9,H\r\n"), TableEncoding::kCp932);
}

TEST(DetectTableEncoding, AShortCp932NameCanPassForUtf8AsTheRuleSays) {
  // ﾃｽ in CP932 is C3 BD, which UTF-8 reads as ý; the name then fails to convert, so the
  // misreading shows as an error instead of a silent mismatch.
  EXPECT_EQ(Detect("\xC3\xBD,X\r\n"), TableEncoding::kUtf8);
  FontTable table;
  EXPECT_EQ(ErrorOf([&] { ParseFontTable("\xC3\xBD,X\r\n", table); }), err::kNameNotInCp932);
}

TEST(IsValidUtf8, ShortestFormsOnlyNoSurrogatesNothingAboveU10FFFF) {
  for (std::string_view good :
       {"", "\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
        "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(IsValidUtf8(good)) << ::testing::PrintToString(good);
  for (std::string_view bad :
       {"\x80", "\xBF", "\xC0\x80", "\xC1\xBF", "\xC2", "\xC2\x41", "\xE0\x9F\xBF", "\xE3\x81",
        "\xE3\x81\x41", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80", "\xFE", "\xFF", "\xF0\x90\x80"})
    EXPECT_FALSE(IsValidUtf8(bad)) << ::testing::PrintToString(bad);
  EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
}

std::string Converted(std::string_view utf8) {
  return Cp932FromUtf8(utf8);
}

TEST(Cp932FromUtf8, JapaneseAndAsciiGetTheirCp932Codes) {
  EXPECT_EQ(Converted(""), "");
  EXPECT_EQ(Converted("Ryumin-Light"), "Ryumin-Light");
  EXPECT_EQ(Converted("ＭＳ明朝"), kMsMincho);
  EXPECT_EQ(Converted("ＭＳゴシック"), kMsGothic);
  EXPECT_EQ(Converted("ｱﾟ｡"), "\xB1\xDF\xA1");       // half-width katakana: one byte each
  EXPECT_EQ(Converted("ソ表"), "\x83\x5C\x95\x5C");  // trail byte 0x5C, the backslash
  EXPECT_EQ(Converted("\\~"), "\x5C\x7E");           // ASCII stays ASCII
  EXPECT_EQ(Converted(std::string("\0", 1)), std::string("\0", 1));
}

TEST(Cp932FromUtf8, TheCharactersWhereCp932DiffersFromJisMapAsWindowsDoes) {
  EXPECT_EQ(Converted("\uFF5E"), "\x81\x60");  // FULLWIDTH TILDE
  EXPECT_EQ(Converted("\u2225"), "\x81\x61");  // PARALLEL TO
  EXPECT_EQ(Converted("\u2015"), "\x81\x5C");  // HORIZONTAL BAR
  EXPECT_EQ(Converted("\uFF0D"), "\x81\x7C");  // FULLWIDTH HYPHEN-MINUS
  EXPECT_EQ(Converted("\uFFE0\uFFE1\uFFE2"), "\x81\x91\x81\x92\x81\xCA");
  // NEC row 13 and the IBM extensions; where both hold a character, the code Windows writes.
  EXPECT_EQ(Converted("\u2460"), "\x87\x40");                // ①
  EXPECT_EQ(Converted("\u2160"), "\x87\x54");                // Ⅰ: NEC row 13, not 0xFA4A
  EXPECT_EQ(Converted("\u2170"), "\xFA\x40");                // ⅰ: IBM, not NEC-selected 0xEEEF
  EXPECT_EQ(Converted("\u7E8A"), "\xFA\x5C");                // 纊: IBM, not 0xED40
  EXPECT_EQ(Converted("\u2252\u2235"), "\x81\xE0\x81\xE6");  // ≒ ∵: JIS row 2, not row 13
  EXPECT_EQ(Converted("\uE000\uE757"), "\xF0\x40\xF9\xFC");  // the user-defined area
}

TEST(Cp932FromUtf8, CharactersWithOnlyABestFitRaiseTheirOwnError) {
  // WAVE DASH, DOUBLE VERTICAL LINE, NOT SIGN, YEN SIGN, OVERLINE, EM DASH, MINUS SIGN:
  // Windows would substitute look-alikes only when asked for best fit.
  for (std::string_view name : {"\u301C", "\u2016", "\u00AC", "\u00A5", "\u203E", "\u2014",
                                "\u2212", "\u00A2", "é", "한", "\U00020BB7", "\uFFFD", "\uFEFF"})
    EXPECT_EQ(ErrorOf([&] { Converted("ＭＳ" + std::string(name)); }), err::kNameNotInCp932)
        << ::testing::PrintToString(name);
}

TEST(Cp932FromUtf8, BytesThatAreNotUtf8RaiseTheSameError) {
  for (std::string_view name : {"\x82\x6C", "A\xC3", "\xED\xA0\x80", "\xC0\xAF"})
    EXPECT_EQ(ErrorOf([&] { Converted(name); }), err::kNameNotInCp932)
        << ::testing::PrintToString(name);
}

// Every character of the basic plane that CP932 holds, through the system's converter: each
// its own code, every code well formed, and as many as Windows holds.
TEST(Cp932FromWideExactly, EveryCharacterOnceEveryCodeOnceAndEveryCodeWellFormed) {
  std::set<std::uint16_t> codes;
  int ascii = 0, katakana = 0, userDefined = 0;
  for (char32_t u = 0; u <= 0xFFFF; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    const std::optional<std::string> bytes =
        Cp932FromWideExactly(std::wstring(1, static_cast<wchar_t>(u)));
    if (!bytes) continue;
    const unsigned unicode = u;
    ASSERT_TRUE(bytes->size() == 1 || bytes->size() == 2) << std::hex << unicode;
    std::uint16_t code = static_cast<unsigned char>((*bytes)[0]);
    if (bytes->size() == 2) code = code << 8 | static_cast<unsigned char>((*bytes)[1]);
    EXPECT_TRUE(codes.insert(code).second) << std::hex << code;
    if (code < 0x80) {
      EXPECT_EQ(unicode, code);
      ++ascii;
    } else if (code >= 0xA1 && code <= 0xDF) {
      EXPECT_EQ(unicode, code - 0xA1 + 0xFF61);
      ++katakana;
    } else if (code < 0x100) {
      // Windows' own single bytes outside JIS.
      EXPECT_TRUE(code == 0x80 || code == 0xA0 || code >= 0xFD) << std::hex << code;
    } else {
      const unsigned lead = code >> 8, trail = code & 0xFF;
      EXPECT_TRUE((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) << code;
      EXPECT_TRUE((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC)) << code;
      if (lead >= 0xF0 && lead <= 0xF9) {
        const unsigned index = (lead - 0xF0) * 188 + trail - (trail < 0x80 ? 0x40 : 0x41);
        EXPECT_EQ(unicode, 0xE000 + index) << std::hex << code;
        ++userDefined;
      }
    }
  }
  EXPECT_EQ(ascii, 128);
  EXPECT_EQ(katakana, 63);
  EXPECT_EQ(userDefined, 1880);
  // The single bytes, JIS X 0208's 6879 characters, NEC row 13's 83 less the 9 JIS holds, the
  // 388 IBM extensions less the 15 JIS or row 13 hold, the user-defined area; the NEC-selected
  // copies of the IBM extensions add nothing.
  EXPECT_EQ(codes.size(), 128u + 63 + 5 + 6879 + 83 - 9 + 388 - 15 + 1880);
}

TEST(ParseFontTable, AUtf8TableGivesCp932NamesWithOrWithoutAMark) {
  const std::string body =
      "ＭＳ明朝,MS-Mincho\r\n \"ＭＳ ゴシック, 標準\" , ＭＳゴシック\nRyumin,リュウミン\r\n";
  for (const std::string& bytes : {std::string(kBom) + body, body}) {
    Parsed p = Parse(bytes);
    ASSERT_EQ(p.error, 0);
    ASSERT_EQ(p.table.FontCount(), 3);
    EXPECT_EQ(p.table.At(1, 1), kMsMincho);
    EXPECT_EQ(p.table.At(1, 2), "MS-Mincho");
    EXPECT_EQ(p.table.At(2, 1),
              "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E, \x95\x57\x8F\x80");
    EXPECT_EQ(p.table.At(2, 2), kMsGothic);
    EXPECT_EQ(p.table.At(3, 2), "\x83\x8A\x83\x85\x83\x45\x83\x7E\x83\x93");
    EXPECT_EQ(p.display, std::string(kMsMincho) + "  " + p.table.At(2, 1) + "  Ryumin  ");
  }
}

TEST(ParseFontTable, AMarkBeforeAnAsciiTableIsNotPartOfTheFirstName) {
  Parsed p = Parse(std::string(kBom) + "A,B\r\n");
  ASSERT_EQ(p.error, 0);
  EXPECT_EQ(p.table.At(1, 1), "A");
  EXPECT_EQ(Parse(kBom).table.FontCount(), 0);
}

TEST(ParseFontTable, ACp932TableIsReadByteForByteAsBefore) {
  const std::string bytes = std::string(kMsMincho) + ",MS-Mincho\r\n\xC3\xBD\x83\x5C,X\r\n";
  Parsed p = Parse(bytes);
  ASSERT_EQ(p.error, 0);
  EXPECT_EQ(p.table.At(1, 1), kMsMincho);
  EXPECT_EQ(p.table.At(2, 1), "\xC3\xBD\x83\x5C");
}

TEST(ParseFontTable, ANameCp932CannotHoldFailsItsRecordAndKeepsTheRowsBefore) {
  for (const std::string& bad : {std::string("波〜ダッシュ,X\r\n"), std::string("X,波〜\r\n")}) {
    Parsed p = Parse("ＭＳ明朝,MS-Mincho\r\nA,B\r\n" + bad + "C,D\r\n");
    EXPECT_EQ(p.error, err::kNameNotInCp932);
    EXPECT_EQ(p.table.FontCount(), 2);
    EXPECT_EQ(p.table.At(1, 1), kMsMincho);
    EXPECT_EQ(p.table.At(2, 2), "B");
    EXPECT_EQ(p.table.At(3, 1), "");
  }
  // Under a mark, bytes that are not UTF-8 count as such a character.
  EXPECT_EQ(Parse(std::string(kBom) + std::string(kMsMincho) + ",X\r\n").error,
            err::kNameNotInCp932);
  // A record cut short still raises 62.
  EXPECT_EQ(Parse("ＭＳ明朝,MS-Mincho\r\nA").error, err::kInputPastEndOfFile);
}

TEST(LoadFontTable, AUtf8FileFillsTheTableWithCp932NamesAndErrorsPassThrough) {
  testing::FakeFileSystem files;
  FontTable table;
  files.files[L"F"] = std::string(kBom) + "ＭＳ明朝,MS-Mincho\r\n";
  EXPECT_EQ(LoadFontTable(L"F", table, files), std::string(kMsMincho) + "  ");
  EXPECT_EQ(table.FontCount(), 1);
  files.files[L"F"] = std::string(kBom) + "A,B\r\n〜,C\r\n";
  EXPECT_EQ(ErrorOf([&] { LoadFontTable(L"F", table, files); }), err::kNameNotInCp932);
  EXPECT_EQ(table.FontCount(), 1);
}

TEST(RewriteFontList, NamesFromAUtf8TableMatchTheCp932List) {
  FontTable table;
  ParseFontTable("ＭＳ明朝,MS-Mincho\r\nＭＳゴシック,MS-Gothic\r\n", table);
  const std::string list = "%!\r\nFontName:" + std::string(kMsGothic) +
                           "\r\nFontName:" + std::string(kMsMincho) + "\r\n";
  EXPECT_EQ(RewriteFontList(list, table).list.Joined(),
            "%!\r\nFontName:MS-Gothic\r\nFontName:MS-Mincho\r\n");
}

TEST(ErrorDialog, ANameCp932CannotHoldIsNumberN1001WithItsOwnText) {
  EXPECT_EQ(err::kNameNotInCp932, -2147221504 + 1001);
  EXPECT_EQ(ErrorNumberText(err::kNameNotInCp932), L"N1001");
  const std::wstring text =
      L"Fonts.txtに、Illustratorのフォント一覧ファイル（シフトJIS）で表せない文字があります。";
  EXPECT_EQ(ErrorDescription(err::kNameNotInCp932), text);
  EXPECT_EQ(ErrorMessageText(err::kNameNotInCp932), text + L" (エラー番号:N1001)");
}

}  // namespace
}  // namespace vemo
