#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fontfix/font_table.h"
#include "fontfix/table_file.h"
#include "platform/runtime_error.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/unit/fontfix_test_support.h"

namespace vemo {
namespace {

using vemo::testing::ErrorOf;
using vemo::testing::Parse;
using vemo::testing::Parsed;
using vemo::testing::TableOf;

TEST(FontTable, RowsAndColumnsOutsideTheTableRaiseError9) {
  FontTable table;
  table.Set(1, 1, "first");
  table.Set(1024, 2, "last");
  EXPECT_EQ(table.At(1, 1), "first");
  EXPECT_EQ(table.At(1024, 2), "last");
  EXPECT_EQ(table.At(1, 2), "");
  EXPECT_EQ(table.At(1024, 1), "");
  for (auto [row, column] : {std::pair{0, 1}, {1025, 1}, {-1, 2}, {1, 0}, {1, 3}, {1024, 3}}) {
    EXPECT_EQ(ErrorOf([&] { (void)table.At(row, column); }), err::kSubscriptOutOfRange)
        << row << "," << column;
    EXPECT_EQ(ErrorOf([&] { table.Set(row, column, "x"); }), err::kSubscriptOutOfRange);
  }
}

void ExpectRows(const Parsed& p, std::vector<std::pair<std::string, std::string>> rows) {
  ASSERT_EQ(p.error, 0);
  ASSERT_EQ(p.table.FontCount(), static_cast<std::int32_t>(rows.size()));
  std::string display;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto row = static_cast<std::int32_t>(i + 1);
    EXPECT_EQ(p.table.At(row, 1), rows[i].first) << "row " << row;
    EXPECT_EQ(p.table.At(row, 2), rows[i].second) << "row " << row;
    display += rows[i].first + "  ";
  }
  EXPECT_EQ(p.display, display);
}

TEST(ParseFontTable, EmptyInputGivesNoRows) {
  ExpectRows(Parse(""), {});
  ExpectRows(Parse(" \t\r\n\r\n  "), {});
}

TEST(ParseFontTable, OneRecordPerLineWithEveryKindOfLineEnd) {
  ExpectRows(Parse("A,B"), {{"A", "B"}});
  ExpectRows(Parse("A,B\r\nC,D\r\n"), {{"A", "B"}, {"C", "D"}});
  ExpectRows(Parse("A,B\nC,D\rE,F"), {{"A", "B"}, {"C", "D"}, {"E", "F"}});
  // A line end also ends a field, as a comma does.
  ExpectRows(Parse("A\r\nB\r\n"), {{"A", "B"}});
}

TEST(ParseFontTable, BlanksAroundUnquotedFieldsAreDropped) {
  ExpectRows(Parse("  Ryumin-Light \t,\t GothicBBB-Medium  \r\n"),
             {{"Ryumin-Light", "GothicBBB-Medium"}});
  ExpectRows(Parse("Font Name With Blanks,New Name\r\n"), {{"Font Name With Blanks", "New Name"}});
}

TEST(ParseFontTable, QuotedFieldsKeepCommasBlanksAndLineEnds) {
  ExpectRows(Parse("\"A, B\",C\r\n"), {{"A, B", "C"}});
  ExpectRows(Parse("\" A \" , \"B\"\r\n"), {{" A ", "B"}});
  ExpectRows(Parse("\"A\r\nB\",C\r\n"), {{"A\r\nB", "C"}});
  // Whatever follows the closing quote up to the delimiter is ignored.
  ExpectRows(Parse("\"A\"junk,B\r\n"), {{"A", "B"}});
  ExpectRows(Parse("\"A\"x\r\nB\r\n"), {{"A", "B"}});
  // No closing quote: the field runs to the end of the input.
  ExpectRows(Parse("A,\"B,C\r\nD"), {{"A", "B,C\r\nD"}});
}

TEST(ParseFontTable, BlankLinesBetweenRecordsAreSkippedButAnEmptyLineInsideOneIsAField) {
  ExpectRows(Parse("\r\n  \r\nA,B\r\n\r\n\t\r\nC,D\r\n\r\n"), {{"A", "B"}, {"C", "D"}});
  ExpectRows(Parse("A\r\n\r\nB,C\r\n"), {{"A", ""}, {"B", "C"}});
  ExpectRows(Parse("A,\r\nB,C\r\n"), {{"A", ""}, {"B", "C"}});
  ExpectRows(Parse(",B\r\n"), {{"", "B"}});
}

TEST(ParseFontTable, ARecordCutShortRaises62AndKeepsTheRowsBefore) {
  Parsed p = Parse("A,B\r\nC,D\r\nE\r\n");
  EXPECT_EQ(p.error, err::kInputPastEndOfFile);
  EXPECT_EQ(p.table.FontCount(), 2);
  EXPECT_EQ(p.table.At(2, 1), "C");
  EXPECT_EQ(p.table.At(2, 2), "D");
  EXPECT_EQ(Parse("A,").error, err::kInputPastEndOfFile);
  EXPECT_EQ(Parse("A").error, err::kInputPastEndOfFile);
  EXPECT_EQ(Parse("A  \t").error, err::kInputPastEndOfFile);
}

// The count goes with the table: a table read again counts this read's records only, and its
// rows after them keep what they held.
TEST(ParseFontTable, ATableReadAgainCountsOnlyTheNewRecords) {
  const struct {
    const char* bytes;
    std::int32_t count;
    std::int32_t error;
  } cases[] = {
      {"E,F\r\n", 1, 0},
      {"", 0, 0},
      {"E,F\r\nG", 1, err::kInputPastEndOfFile},
  };
  for (const auto& c : cases) {
    FontTable table = TableOf({{"A", "B"}, {"C", "D"}});
    EXPECT_EQ(ErrorOf([&] { ParseFontTable(c.bytes, table); }), c.error) << c.bytes;
    EXPECT_EQ(table.FontCount(), c.count) << c.bytes;
    EXPECT_EQ(table.At(2, 1), "C") << c.bytes;
    EXPECT_EQ(table.At(2, 2), "D") << c.bytes;
  }
}

TEST(ParseFontTable, Exactly1024RecordsLoadAndThe1025thRaises9) {
  std::string bytes;
  for (int i = 1; i <= 1024; ++i)
    bytes += "Old" + std::to_string(i) + ",New" + std::to_string(i) + "\r\n";
  Parsed full = Parse(bytes);
  EXPECT_EQ(full.error, 0);
  EXPECT_EQ(full.table.FontCount(), 1024);
  EXPECT_EQ(full.table.At(1024, 2), "New1024");

  Parsed over = Parse(bytes + "Old1025,New1025\r\n");
  EXPECT_EQ(over.error, err::kSubscriptOutOfRange);
  EXPECT_EQ(over.table.FontCount(), 1025);
  EXPECT_EQ(over.table.At(1, 1), "Old1");
  EXPECT_EQ(over.table.At(1024, 1), "Old1024");
}

TEST(ParseFontTable, Cp932AndInvalidBytesAreKeptAsTheyAre) {
  // リュウミン (0x83 0x8A ...) and 0x83 0x5C (ソ, whose trail byte is a backslash),
  // a lone lead byte, bytes outside CP932 and NUL.
  const std::string name = "\x83\x8A\x83\x85\x83\x45\x83\x7E\x83\x93 \x83\x5C";
  const std::string odd = std::string("\x81\xFD\xFF\x80", 4) + std::string(1, '\0') + "\xA0";
  ExpectRows(Parse(name + "," + odd + "\r\n"), {{name, odd}});
  ExpectRows(Parse("\x83,\x82\r\n"), {{"\x83", "\x82"}});
}

TEST(LoadFontTable, AMissingFileGivesNothingAndLeavesTheTableEmpty) {
  testing::FakeFileSystem files;
  FontTable table = TableOf({{"A", "B"}, {"C", "D"}});
  EXPECT_FALSE(LoadFontTable(L"C:\\tool\\Fonts.txt", table, files).has_value());
  EXPECT_EQ(table.FontCount(), 0);
  EXPECT_EQ(files.calls, std::vector<std::wstring>{L"exists C:\\tool\\Fonts.txt"});
}

TEST(LoadFontTable, ReadsTheFileAndReturnsTheDisplayText) {
  testing::FakeFileSystem files;
  files.files[L"C:\\tool\\Fonts.txt"] = "A,B\r\nC,D\r\n";
  FontTable table;
  EXPECT_EQ(LoadFontTable(L"C:\\tool\\Fonts.txt", table, files), "A  C  ");
  EXPECT_EQ(table.FontCount(), 2);
  EXPECT_EQ(table.At(2, 2), "D");
}

TEST(LoadFontTable, ErrorsPassThroughUnchanged) {
  testing::FakeFileSystem files;
  FontTable table;
  files.files[L"F"] = "A,B\r\n";
  files.failures[L"read"] = err::kPermissionDenied;
  EXPECT_EQ(ErrorOf([&] { LoadFontTable(L"F", table, files); }), err::kPermissionDenied);
  files.failures.clear();
  files.files[L"F"] = "A,B\r\nC";
  EXPECT_EQ(ErrorOf([&] { LoadFontTable(L"F", table, files); }), err::kInputPastEndOfFile);
  EXPECT_EQ(table.FontCount(), 1);
}

}  // namespace
}  // namespace vemo
