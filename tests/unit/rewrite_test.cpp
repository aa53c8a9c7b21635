#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fontfix/rewrite_font_list.h"
#include "platform/runtime_error.h"
#include "tests/reference/straightforward_rewrite.h"
#include "tests/unit/fontfix_test_support.h"

namespace vemo {
namespace {

using vemo::testing::AppendEmptyRows;
using vemo::testing::Rows;
using vemo::testing::TableOf;

// Rewrites with the program's method and checks it against the plain one on the way.
std::string Rewrite(std::string_view content, const Rows& rows) {
  const FontTable table = TableOf(rows);
  std::string result = testing::Rewritten(content, table);
  EXPECT_EQ(result, reference::StraightforwardRewrite(std::string(content), table));
  return result;
}

TEST(RewriteFontList, ReplacesOnlyTheFirstMatch) {
  EXPECT_EQ(Rewrite("FontName:A\r\nFontName:A\r\n", {{"A", "B"}}), "FontName:B\r\nFontName:A\r\n");
  EXPECT_EQ(Rewrite("FontName:A\r\nFontName:A\r\n", {{"A", "B"}, {"A", "C"}}),
            "FontName:B\r\nFontName:C\r\n");
}

TEST(RewriteFontList, MatchesAPrefixOfTheRegisteredName) {
  EXPECT_EQ(Rewrite("FontName:AB\r\n", {{"A", "XY"}}), "FontName:XYB\r\n");
  EXPECT_EQ(Rewrite("x FontName:ABC", {{"ABC", "Z"}}), "x FontName:Z");  // key ends the content
}

TEST(RewriteFontList, FoldsLetterCaseAlsoInTheKeywordAndWritesItExactly) {
  EXPECT_EQ(Rewrite("fontname:ryumin\r\n", {{"RYUMIN", "Ryumin-Light"}}),
            "FontName:Ryumin-Light\r\n");
  EXPECT_EQ(Rewrite("FONTNAME:a", {{"A", "b"}}), "FontName:b");
  EXPECT_EQ(Rewrite("FontName :A FontName;A", {{"A", "B"}}), "FontName :A FontName;A");
}

TEST(RewriteFontList, RowsChainInTableOrder) {
  EXPECT_EQ(Rewrite("FontName:A", {{"A", "B"}, {"B", "C"}}), "FontName:C");
  EXPECT_EQ(Rewrite("FontName:A", {{"B", "C"}, {"A", "B"}}), "FontName:B");
  // A renamed entry can become the first match of a later row that matched further on.
  EXPECT_EQ(Rewrite("FontName:A\nFontName:B", {{"A", "B"}, {"B", "C"}}), "FontName:C\nFontName:B");
}

TEST(RewriteFontList, RowsWithAnEmptyNameAndEmptyTablesChangeNothing) {
  const std::string content = "FontName:A\r\nFontName:B";
  EXPECT_EQ(Rewrite(content, {}), content);
  EXPECT_EQ(Rewrite(content, {{"A", ""}, {"", "X"}, {"B", "C"}}), "FontName:A\r\nFontName:C");
  EXPECT_EQ(Rewrite("", {{"A", "B"}}), "");
}

TEST(RewriteFontList, BytesOutsideTheReplacedKeysPassThroughAndNothingIsAppended) {
  const std::string odd = std::string("\0\x1A\r\x80\xFF\xFD\n", 7);
  EXPECT_EQ(Rewrite(odd + "FontName:A" + odd, {{"A", "B"}}), odd + "FontName:B" + odd);
  EXPECT_EQ(Rewrite(odd, {{"A", "B"}}), odd);
  EXPECT_EQ(Rewrite("FontName:A", {{"A", "B"}}).back(), 'B');
}

TEST(RewriteFontList, ATrailByteIsNeverTakenForALetter) {
  // ェ is 0x83 0x46: the F belongs to it, so no key starts there.
  EXPECT_EQ(Rewrite("\x83\x46ontName:A", {{"A", "B"}}), "\x83\x46ontName:A");
  EXPECT_EQ(Rewrite("\x83\x46ontName:A FontName:A", {{"A", "B"}}), "\x83\x46ontName:A FontName:B");
  // A lead byte that no trail byte follows stands alone, so the F after it does count.
  EXPECT_EQ(Rewrite("\x83\x0D"
                    "FontName:A",
                    {{"A", "B"}}),
            "\x83\x0D"
            "FontName:B");
  // The walk starts at the beginning: 0x83 0x83 is one character, so the F is free.
  EXPECT_EQ(Rewrite("\x83\x83"
                    "FontName:A",
                    {{"A", "B"}}),
            "\x83\x83"
            "FontName:B");
  EXPECT_EQ(Rewrite("\x83\x83\x83"
                    "FontName:A",
                    {{"A", "B"}}),
            "\x83\x83\x83"
            "FontName:A");
}

TEST(RewriteFontList, AKeyMustEndOnACharacterBoundary) {
  // The name ends in a lead byte; in the list that byte begins ア (0x83 0x41).
  EXPECT_EQ(Rewrite("FontName:X\x83\x41", {{"X\x83", "Y"}}), "FontName:X\x83\x41");
  EXPECT_EQ(Rewrite("FontName:X\x83", {{"X\x83", "Y"}}), "FontName:Y");
  EXPECT_EQ(Rewrite("FontName:X\x83\x41", {{"X\x83\x41", "Y"}}), "FontName:Y");
}

TEST(RewriteFontList, FullWidthLatinGreekAndCyrillicFoldButWidthsStayApart) {
  // Ａ 0x8260 / ａ 0x8281, Ζ 0x83A5 / ζ 0x83C5, Ё 0x8446 / ё 0x8476, О 0x844F / о 0x8480.
  EXPECT_EQ(Rewrite("FontName:\x82\x81", {{"\x82\x60", "B"}}), "FontName:B");
  EXPECT_EQ(Rewrite("FontName:\x82\x60", {{"\x82\x81", "B"}}), "FontName:B");
  EXPECT_EQ(Rewrite("FontName:\x83\xC5", {{"\x83\xA5", "B"}}), "FontName:B");
  EXPECT_EQ(Rewrite("FontName:\x84\x76", {{"\x84\x46", "B"}}), "FontName:B");
  EXPECT_EQ(Rewrite("FontName:\x84\x80", {{"\x84\x4F", "B"}}), "FontName:B");
  EXPECT_EQ(Rewrite("FontName:\x84\x91", {{"\x84\x60", "B"}}), "FontName:B");
  // Half width against full width, and katakana against hiragana, never match.
  EXPECT_EQ(Rewrite("FontName:\x82\x60", {{"A", "B"}}), "FontName:\x82\x60");
  EXPECT_EQ(Rewrite("FontName:\x82\xA0", {{"\x83\x41", "B"}}), "FontName:\x82\xA0");
  // The trail byte 0x41 of ア is not a letter and is not folded to 0x61.
  EXPECT_EQ(Rewrite("FontName:\x83\x61", {{"\x83\x41", "B"}}), "FontName:\x83\x61");
}

TEST(RewriteFontList, AReplacementThatShiftsTheCharactersAfterItHidesTheNextKey) {
  // The new name ends in a lead byte, which takes the F of the next entry as its trail.
  EXPECT_EQ(Rewrite("FontName:AFontName:C", {{"A", "\x83"}, {"C", "D"}}),
            "FontName:\x83"
            "FontName:C");
  // And a replacement can free a key that a lead byte had hidden.
  EXPECT_EQ(Rewrite("FontName:A\x83\x83\x83"
                    "FontName:C",
                    {{"A", "A\x83"}, {"C", "D"}}),
            "FontName:A\x83\x83\x83\x83"
            "FontName:D");
}

TEST(RewriteFontList, NamesMaySpanEntriesAndContainTheKeyword) {
  const std::string list = "FontName:A\r\nFontName:B\r\nFontName:C\r\n";
  EXPECT_EQ(Rewrite(list, {{"A\r\nFontName:B", "Z"}, {"B", "Q"}, {"C", "D"}}),
            "FontName:Z\r\nFontName:D\r\n");
  EXPECT_EQ(Rewrite(list, {{"A", "X\r\nFontName:Y"}, {"Y", "W"}}),
            "FontName:X\r\nFontName:W\r\nFontName:B\r\nFontName:C\r\n");
  EXPECT_EQ(Rewrite("FontName:AName:B", {{"A", "Font"}, {"B", "X"}}), "FontName:FontName:X");
}

TEST(RewriteFontList, Row1025RaisesError9) {
  FontTable table = TableOf({{"A", "B"}});
  AppendEmptyRows(table, 1024);
  EXPECT_EQ(testing::Rewritten("FontName:A", table), "FontName:B");
  AppendEmptyRows(table, 1025);
  try {
    (void)RewriteFontList("FontName:A", table);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kSubscriptOutOfRange);
  }
}

TEST(RewriteFontList, ANameThatRunsIntoALaterReplacementMatchesOnceItIsMade) {
  // Row 2's name reaches from the first entry into the second, which row 1 renames.
  EXPECT_EQ(Rewrite("FontName:A FontName:B", {{"B", "C"}, {"A FontName:C", "D"}}), "FontName:D");
  EXPECT_EQ(Rewrite("FontName:A FontName:B", {{"A FontName:C", "D"}, {"B", "C"}}),
            "FontName:A FontName:C");
  // And one that no longer matches once the entry it runs into was renamed.
  EXPECT_EQ(Rewrite("FontName:A FontName:B", {{"B", "C"}, {"A FontName:B", "D"}}),
            "FontName:A FontName:C");
}

TEST(RewriteFontList, KeepsTheOrderOfEntriesWhenReplacementsSplitIntoManyEntries) {
  // Each replacement adds entries; with the smallest label gap every one relabels the list.
  const Rows rows = {
      {"A", "B FontName:X FontName:X"}, {"X", "Y"}, {"X", "Z"}, {"B", "X"}, {"X", "W"}};
  const std::string list = "FontName:A FontName:X";
  const FontTable table = TableOf(rows);
  const std::string expected = "FontName:W FontName:Y FontName:Z FontName:X";
  EXPECT_EQ(reference::StraightforwardRewrite(list, table), expected);
  for (const RewriteTuning& tuning :
       {RewriteTuning{}, RewriteTuning{1, 1}, RewriteTuning{4, 2}, RewriteTuning{64, 1}})
    EXPECT_EQ(testing::Rewritten(list, table, tuning), expected) << tuning.pieceBytes;
}

TEST(RewriteFontList, PiecesViewTheUntouchedStretchesOfTheContentItself) {
  const std::string list = "head\r\nFontName:A\r\nFontName:B\r\nFontName:C\r\n";
  const auto inList = [&](std::string_view piece) {
    return piece.data() >= list.data() && piece.data() + piece.size() <= list.data() + list.size();
  };
  RewrittenList moved = RewriteFontList(list, TableOf({{"B", "Xyz"}})).list;
  const RewrittenList rewritten = std::move(moved);
  ASSERT_EQ(rewritten.pieces.size(), 3u);
  EXPECT_EQ(rewritten.pieces[0], "head\r\nFontName:A\r\n");
  EXPECT_TRUE(inList(rewritten.pieces[0]));
  EXPECT_EQ(rewritten.pieces[1], "FontName:Xyz\r\n");
  EXPECT_EQ(rewritten.pieces[2], "FontName:C\r\n");
  EXPECT_TRUE(inList(rewritten.pieces[2]));
  EXPECT_EQ(rewritten.Joined(), testing::Rewritten(list, TableOf({{"B", "Xyz"}})));
  const RewrittenList unchanged = RewriteFontList(list, TableOf({{"Q", "R"}})).list;
  ASSERT_EQ(unchanged.pieces.size(), 1u);
  EXPECT_EQ(unchanged.pieces[0].data(), list.data());
  EXPECT_EQ(unchanged.pieces[0].size(), list.size());
}

// Random lists and tables over a few bytes that make every kind of collision likely:
// keyword letters in both cases, lead bytes that swallow them, line ends, full-width
// letters. The program's method must give the plain method's output on every one.
class RandomLists {
 public:
  explicit RandomLists(std::uint32_t seed) : random_(seed) {}

  std::string Text(std::size_t maxLength) {
    static const std::vector<std::string> kAtoms = {"F",         "o",         "n",
                                                    "t",         "N",         "a",
                                                    "m",         "e",         ":",
                                                    "f",         "A",         "B",
                                                    "\r",        "\n",        "\r\n",
                                                    "\x83",      "\x82",      "\x84",
                                                    "\x60",      "\x81",      "\x46",
                                                    "\x82\x60",  "\x82\x81",  "\x84\x4F",
                                                    "\x84\x80",  "\xFF",      std::string(1, '\0'),
                                                    "FontName:", "fontname:", "FONTNAME:",
                                                    "Font"};
    std::string text;
    const std::size_t length = Below(maxLength + 1);
    while (text.size() < length) text += kAtoms[Below(kAtoms.size())];
    return text;
  }

  // Entries of a few short names in several spellings of the keyword, with separators
  // that include a lone lead byte and nothing at all.
  std::string Entries(std::size_t count) {
    static const std::vector<std::string> kKeywords = {"FontName:", "fontname:", "FONTNAME:"};
    std::string text = Text(3);
    for (std::size_t i = 0; i < count; ++i)
      text += kKeywords[Below(kKeywords.size())] + Tokens(1 + Below(3)) + Separator();
    return text;
  }

  // A replacement: a few tokens, sometimes ending in a lead byte or holding more entries.
  std::string Replacement() {
    switch (Below(6)) {
      case 0:
        return "";
      case 1:
        return Tokens(1 + Below(2)) + Separator() + "FontName:" + Tokens(1 + Below(2));
      case 2:
        return Tokens(1 + Below(2)) + "\x83";
      case 3:
        return Text(14);
      default:
        return Tokens(1 + Below(3));
    }
  }

  // A name that is likely to match: what follows a keyword in the list as the rows before
  // left it, in the list as it was, or in an earlier replacement, sometimes running on
  // into the next entries.
  std::string Name(const std::string& now, const std::string& before, const Rows& earlier) {
    const std::size_t choice = Below(5);
    const std::string& source = choice == 1 && !earlier.empty()
                                    ? earlier[Below(earlier.size())].second
                                    : (choice == 3 ? before : now);
    if (choice < 4 && !source.empty()) {
      const std::size_t at = source.find("FontName:", Below(source.size()));
      if (at != std::string::npos) return source.substr(at + 9, 1 + Below(choice >= 2 ? 24 : 6));
    }
    return Text(5);
  }

  std::string Tokens(std::size_t count) {
    static const std::vector<std::string> kTokens = {
        "A", "B", "a", "\x83", "\x82\x60", "\x82\x81", "\x83\x41", "\x83\x83"};
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += kTokens[Below(kTokens.size())];
    return text;
  }

  std::string Separator() {
    static const std::vector<std::string> kSeparators = {"\r\n", "\n", " ", "", "\x83", "\r"};
    return kSeparators[Below(kSeparators.size())];
  }

  std::size_t Below(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }

 private:
  std::mt19937 random_;
};

TEST(RewriteFontList, GivesThePlainMethodsOutputOnRandomInput) {
  const RewriteTuning tunings[] = {{}, {1, 1}, {2, 2}, {3, 1u << 20}, {7, 3}};
  for (std::uint32_t seed = 1; seed <= 8000; ++seed) {
    RandomLists random(seed);
    const bool entries = seed % 2 == 0;
    const std::string list = entries ? random.Entries(random.Below(12)) : random.Text(160);
    // Names are often taken from the list as the rows before have left it, so that rows
    // chain and run into each other's replacements.
    Rows rows;
    std::string sofar = list;
    for (std::size_t row = random.Below(16); row > 0; --row) {
      std::string current = random.Name(sofar, list, rows);
      rows.emplace_back(std::move(current), entries ? random.Replacement() : random.Text(14));
      const auto& [name, replacement] = rows.back();
      const std::size_t at = reference::FindFirst(sofar, "FontName:" + name);
      if (!name.empty() && !replacement.empty() && at != std::string::npos)
        sofar.replace(at, 9 + name.size(), "FontName:" + replacement);
    }
    const FontTable table = TableOf(rows);
    const std::string expected = reference::StraightforwardRewrite(list, table);
    const RewriteTuning& tuning = tunings[seed % std::size(tunings)];
    ASSERT_EQ(testing::Rewritten(list, table, tuning), expected)
        << "seed " << seed << ", pieces of " << tuning.pieceBytes << ", label gap "
        << tuning.labelGap;
  }
}

}  // namespace
}  // namespace vemo
