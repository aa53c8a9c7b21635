// The rewrite's result: what each row did and on which line of the rewritten list the entry
// it replaced starts; every entry of the rewritten list, with its line, its place in the
// list as read and the rows that replaced it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fontfix/rewrite_font_list.h"
#include "tests/reference/straightforward_rewrite.h"
#include "tests/unit/fontfix_test_support.h"

namespace vemo {
namespace {

using vemo::testing::Rows;
using vemo::testing::TableOf;

std::int64_t LineAt(const std::string& text, std::size_t position) {
  std::int64_t line = 1;
  for (std::size_t p = 0; p < position; ++p)
    if (text[p] == '\n' || (text[p] == '\r' && text[p + 1] != '\n')) ++line;
  return line;
}

// Every keyword of `text` at a character boundary, found character by character.
std::vector<std::size_t> Keywords(std::string_view text) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < text.size(); i += reference::CharAt(text, i))
    if (reference::SameChars(text, i, "fontname:")) found.push_back(i);
  return found;
}

// The plain method again, keeping the place of every replaced entry and where every entry
// of the list as read went: a replacement moves places after its key by the change in
// length, and places inside its key to its start, which keeps the place in the list as read
// of the entry it matched.
struct Reference {
  std::vector<RowOutcome> rows;
  std::vector<ListEntry> entries;
};

Reference ReferenceResult(std::string content, const Rows& rows) {
  Reference result;
  result.rows.resize(rows.size());
  std::vector<std::pair<std::size_t, std::size_t>> places;   // position, row index
  std::vector<std::pair<std::size_t, std::size_t>> origins;  // position, place in the list read
  for (std::size_t at : Keywords(content)) origins.emplace_back(at, at);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& [current, replacement] = rows[i];
    if (current.empty() || replacement.empty()) continue;
    const std::string key = "FontName:" + current;
    const std::size_t at = reference::FindFirst(content, key);
    if (at == std::string::npos) {
      result.rows[i].result = RowResult::kNotFound;
      continue;
    }
    const std::string with = "FontName:" + replacement;
    content.replace(at, key.size(), with);
    const auto move = [&](std::size_t& place) {
      if (place >= at + key.size())
        place = place + with.size() - key.size();
      else if (place >= at)
        place = at;
    };
    for (auto& place : places) move(place.first);
    places.emplace_back(at, i);
    std::size_t origin = kNoOffset;
    for (const auto& [position, from] : origins)
      if (position == at) origin = from;
    std::erase_if(origins,
                  [&](const auto& o) { return o.first >= at && o.first < at + key.size(); });
    for (auto& o : origins) move(o.first);
    origins.emplace_back(at, origin);
    result.rows[i].result = RowResult::kApplied;
  }
  for (std::size_t at : Keywords(content)) {
    ListEntry entry{at, LineAt(content, at), kNoOffset, {}};
    for (const auto& [position, from] : origins)
      if (position == at) entry.original = from;
    result.entries.push_back(entry);
  }
  for (const auto& [position, row] : places) {
    RowOutcome& outcome = result.rows[row];
    outcome.line = LineAt(content, position);
    // The entry the place lies in: the last that starts at or before it.
    for (std::size_t e = 0; e < result.entries.size() && result.entries[e].offset <= position; ++e)
      outcome.entry = e;
    if (outcome.entry != kNoEntry)
      result.entries[outcome.entry].rows.push_back(static_cast<std::int32_t>(row + 1));
  }
  for (ListEntry& entry : result.entries) std::sort(entry.rows.begin(), entry.rows.end());
  return result;
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

// "offset@line<-original rows" per entry: "12@2<-10 [1,3]", "0@1<-new []".
std::vector<std::string> Describe(const std::vector<ListEntry>& entries) {
  std::vector<std::string> out;
  for (const ListEntry& e : entries) {
    std::string text = std::to_string(e.offset) + "@" + std::to_string(e.line) + "<-" +
                       (e.original == kNoOffset ? "new" : std::to_string(e.original)) + " [";
    for (std::size_t i = 0; i < e.rows.size(); ++i)
      text += (i ? "," : "") + std::to_string(e.rows[i]);
    out.push_back(text + "]");
  }
  return out;
}

// The entry each row replaced, by index; -1 for none.
std::vector<long> EntriesOf(const std::vector<RowOutcome>& outcomes) {
  std::vector<long> out;
  for (const RowOutcome& o : outcomes)
    out.push_back(o.entry == kNoEntry ? -1 : static_cast<long>(o.entry));
  return out;
}

// The result's rows and entries described, once its bytes are checked against the plain
// method's.
struct Described {
  std::vector<std::string> rows;
  std::vector<std::string> entries;
  std::vector<long> rowEntries;
  bool operator==(const Described&) const = default;
};

Described Result(std::string_view content, const Rows& rows, const RewriteTuning& tuning = {}) {
  const FontTable table = TableOf(rows);
  const RewriteResult result = RewriteFontList(content, table, tuning);
  EXPECT_EQ(result.list.Joined(), reference::StraightforwardRewrite(std::string(content), table));
  return {Describe(result.rows), Describe(result.entries), EntriesOf(result.rows)};
}

Described DescribedReference(std::string_view content, const Rows& rows) {
  const Reference reference = ReferenceResult(std::string(content), rows);
  return {Describe(reference.rows), Describe(reference.entries), EntriesOf(reference.rows)};
}

void PrintTo(const Described& d, std::ostream* out) {
  *out << "rows:";
  for (const auto& r : d.rows) *out << " {" << r << "}";
  *out << "; entries:";
  for (const auto& e : d.entries) *out << " {" << e << "}";
  *out << "; row entries:";
  for (long e : d.rowEntries) *out << " " << e;
}

std::vector<std::string> Outcomes(std::string_view content, const Rows& rows,
                                  const RewriteTuning& tuning = {}) {
  return Result(content, rows, tuning).rows;
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

// Each entry of the rewritten list with its place there, its line, its place in the list as
// read ("new" when a replacement wrote it) and the rows that replaced it.
TEST(RewriteEntries, ArePlacedLinedTracedToTheListAsReadAndNameTheirRows) {
  const struct {
    const char* what;
    std::string list;
    Rows rows;
    std::vector<std::string> entries;
  } cases[] = {
      {"two entries on one line, the second replaced",
       "FontName:A FontName:B\r\n",
       {{"B", "XY"}},
       {"0@1<-0 []", "11@1<-11 [1]"}},
      {"chained rows: one entry, both rows",
       "x\r\nFontName:A\r\nFontName:C",
       {{"A", "B"}, {"B", "C"}},
       {"3@2<-3 [1,2]", "15@3<-15 []"}},
      {"a prefix match keeps the rest of the name",
       "FontName:AB\r\n",
       {{"A", "XYZ"}},
       {"0@1<-0 [1]"}},
      {"a name across a CR LF joins two entries' lines",
       "FontName:A\r\nFontName:B\r\n",
       {{"A\r\nFontName:B", "C"}},
       {"0@1<-0 [1]"}},
      {"a replacement that writes a second entry",
       "FontName:A\nFontName:B",
       {{"A", "X\nFontName:Y"}},
       {"0@1<-0 [1]", "11@2<-new []", "22@3<-11 []"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Described result = Result(c.list, c.rows);
    EXPECT_EQ(result.entries, c.entries);
    EXPECT_EQ(result, DescribedReference(c.list, c.rows));
  }
}

// Random lists of few, colliding bytes: every outcome and every entry must be the plain
// method's, also when the content is cut into tiny pieces and order labels run out.
TEST(RewriteOutcomes, GiveThePlainMethodsOutcomesAndEntriesOnRandomInput) {
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
    ASSERT_EQ(Result(list, rows, tuning), DescribedReference(list, rows))
        << "seed " << seed << ", list " << ::testing::PrintToString(list) << ", rows "
        << ::testing::PrintToString(rows);
  }
}

}  // namespace
}  // namespace vemo
