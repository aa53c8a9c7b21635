// The per-row report of the rewrite: what each row did, and on which line of the rewritten
// list the entry it replaced starts.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fontfix/fix_font_list.h"
#include "fontfix/rewrite_tuning.h"
#include "platform/runtime_error.h"
#include "tests/reference/straightforward_rewrite.h"
#include "tests/unit/fontfix_test_support.h"

namespace vemo {
namespace {

using vemo::testing::AppendEmptyRows;
using vemo::testing::Rows;
using vemo::testing::TableOf;

// The plain method again, keeping the place of every replaced entry: a later replacement
// moves places after its key by the change in length, and places inside its key to its start.
std::vector<RowOutcome> ReferenceOutcomes(std::string content, const Rows& rows) {
  std::vector<RowOutcome> outcomes(rows.size());
  std::vector<std::pair<std::size_t, std::size_t>> places;  // position, row index
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& [current, replacement] = rows[i];
    if (current.empty() || replacement.empty()) continue;
    const std::string key = "FontName:" + current;
    const std::size_t at = reference::FindFirst(content, key);
    if (at == std::string::npos) {
      outcomes[i].result = RowResult::kNotFound;
      continue;
    }
    const std::string with = "FontName:" + replacement;
    content.replace(at, key.size(), with);
    for (auto& place : places) {
      if (place.first >= at + key.size())
        place.first = place.first + with.size() - key.size();
      else if (place.first >= at)
        place.first = at;
    }
    places.emplace_back(at, i);
    outcomes[i].result = RowResult::kApplied;
  }
  for (const auto& [position, row] : places) {
    std::int64_t line = 1;
    for (std::size_t p = 0; p < position; ++p)
      if (content[p] == '\n' || (content[p] == '\r' && content[p + 1] != '\n')) ++line;
    outcomes[row].line = line;
  }
  return outcomes;
}

// "applied@line", "not found" or "skipped" per row, for readable failures.
std::vector<std::string> Describe(const std::vector<RowOutcome>& outcomes) {
  std::vector<std::string> out;
  for (const RowOutcome& o : outcomes) {
    switch (o.result) {
      case RowResult::kApplied:
        out.push_back("applied@" + std::to_string(o.line));
        break;
      case RowResult::kNotFound:
        out.push_back("not found");
        break;
      case RowResult::kSkipped:
        out.push_back("skipped");
        break;
    }
  }
  return out;
}

std::vector<std::string> Outcomes(std::string_view content, const Rows& rows,
                                  const RewriteTuning& tuning = {}) {
  std::vector<RowOutcome> outcomes;
  const FontTable table = TableOf(rows);
  const std::string result = RewriteFontList(content, table, tuning, &outcomes);
  EXPECT_EQ(result, reference::StraightforwardRewrite(std::string(content), table));
  return Describe(outcomes);
}

using Expected = std::vector<std::string>;

TEST(RewriteOutcomes, SayAppliedNotFoundOrSkippedPerRow) {
  const std::string list = "header\r\nFontName:A\r\nFontName:B\r\n";
  EXPECT_EQ(Outcomes(list, {{"B", "X"}, {"Q", "R"}, {"", "S"}, {"A", ""}, {"A", "Y"}}),
            (Expected{"applied@3", "not found", "skipped", "skipped", "applied@2"}));
  EXPECT_EQ(Outcomes(list, {}), Expected{});
  // Rows without names never touch the list; the count still gives one outcome per row.
  EXPECT_EQ(Outcomes(list, {{"", ""}, {"Z", ""}}), (Expected{"skipped", "skipped"}));
}

TEST(RewriteOutcomes, LinesEndAtCrLfALoneCrAndALoneLf) {
  EXPECT_EQ(Outcomes("FontName:A", {{"A", "B"}}), Expected{"applied@1"});
  EXPECT_EQ(Outcomes("a\r\nb\rc\nd\n\rFontName:A", {{"A", "B"}}), Expected{"applied@6"});
  EXPECT_EQ(Outcomes("\r\n\r\nFontName:A\r\n", {{"A", "B"}}), Expected{"applied@3"});
  // A line end inside a double-byte character does not exist: 0x0A is never a trail byte.
  EXPECT_EQ(Outcomes("\x83\x0A"
                     "FontName:A",
                     {{"A", "B"}}),
            Expected{"applied@2"});
}

TEST(RewriteOutcomes, LinesAreThoseOfTheRewrittenList) {
  // Row 1 adds a line before the entry row 2 replaces, and row 2 takes one away before none.
  EXPECT_EQ(Outcomes("FontName:A\nFontName:B\n", {{"A", "X\nY"}, {"B", "C"}}),
            (Expected{"applied@1", "applied@3"}));
  // A later row that takes lines out moves the earlier row's entry up.
  EXPECT_EQ(Outcomes("FontName:A\nx\ny\nFontName:B\n", {{"B", "C"}, {"A\nx\ny", "Z"}}),
            (Expected{"applied@2", "applied@1"}));
  // Chained rows replace the same entry.
  EXPECT_EQ(Outcomes("x\nFontName:A", {{"A", "B"}, {"B", "C"}}),
            (Expected{"applied@2", "applied@2"}));
  // A replacement that holds an entry of its own, which a later row replaces.
  EXPECT_EQ(Outcomes("FontName:A\r\nFontName:B", {{"A", "X\r\nFontName:Y"}, {"Y", "W"}}),
            (Expected{"applied@1", "applied@2"}));
}

TEST(RewriteOutcomes, AnEntryOverwrittenFromBeforeItsStartMovesToTheLaterEntry) {
  EXPECT_EQ(Outcomes("FontName:A\nFontName:B", {{"B", "C"}, {"A\nFontName:C", "D"}}),
            (Expected{"applied@1", "applied@1"}));
}

TEST(RewriteOutcomes, Row1025RaisesError9) {
  FontTable table;
  AppendEmptyRows(table, 1025);
  std::vector<RowOutcome> outcomes;
  try {
    (void)RewriteFontList("FontName:A", table, &outcomes);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kSubscriptOutOfRange);
  }
}

// Random lists of few, colliding bytes: every outcome must be the plain method's, also when
// the content is cut into tiny pieces and order labels run out.
TEST(RewriteOutcomes, GiveThePlainMethodsOutcomesOnRandomInput) {
  static const std::vector<std::string> kAtoms = {
      "FontName:", "fontname:", "A",        "B",        "a",        "\r\n", "\n", "\r",
      " ",         "\x83",      "\x83\x41", "\x82\x60", "\x82\x81", "F",    ":",  "Name:"};
  const RewriteTuning tunings[] = {{}, {1, 1}, {2, 2}, {3, 1u << 20}, {7, 3}};
  for (std::uint32_t seed = 1; seed <= 4000; ++seed) {
    std::mt19937 random(seed);
    auto below = [&](std::size_t n) {
      return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    auto text = [&](std::size_t atoms) {
      std::string out;
      for (std::size_t i = 0; i < atoms; ++i) out += kAtoms[below(kAtoms.size())];
      return out;
    };
    std::string list;
    for (std::size_t i = below(10); i > 0; --i) list += text(1) + "FontName:" + text(1 + below(2));
    Rows rows;
    for (std::size_t i = below(12); i > 0; --i) {
      // Names from the list itself are likely to match.
      std::string name = text(1 + below(2));
      if (below(3) != 0 && !list.empty()) {
        const std::size_t at = list.find("FontName:", below(list.size()));
        if (at != std::string::npos) name = list.substr(at + 9, 1 + below(8));
      }
      rows.emplace_back(name, below(8) == 0 ? "" : text(below(4)));
    }
    const RewriteTuning& tuning = tunings[seed % std::size(tunings)];
    ASSERT_EQ(Outcomes(list, rows, tuning), Describe(ReferenceOutcomes(list, rows)))
        << "seed " << seed;
  }
}

}  // namespace
}  // namespace vemo
