// Fuzzes the rewrite against the plain method: the same list, the same error, and the same
// outcome for every row. An input is one flag byte, then a "Fonts.txt", a form feed, and the
// font list; the table is read as the program reads it, so its rows are what a user can make.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "fontfix/rewrite_font_list.h"
#include "fontfix/table_file.h"
#include "fuzz/fuzz_check.h"
#include "platform/runtime_error.h"
#include "tests/reference/straightforward_rewrite.h"

namespace vemo::fuzz {
namespace {

struct Result {
  std::string list;
  std::vector<RowOutcome> outcomes;
  std::int32_t error = 0;
};

std::int64_t LineAt(std::string_view text, std::size_t pos) {
  std::int64_t line = 1;
  for (std::size_t i = 0; i < pos; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && !(i + 1 < pos && text[i + 1] == '\n'))) ++line;
  }
  return line;
}

// The plain method, keeping track of where each replaced entry now starts.
Result Plain(std::string content, const FontTable& table) {
  Result result;
  try {
    std::vector<std::size_t> starts;
    for (std::int32_t row = 1; row <= table.FontCount(); ++row) {
      const std::string& current = table.At(row, 1);
      const std::string& replacement = table.At(row, 2);
      RowOutcome& outcome = result.outcomes.emplace_back();
      starts.push_back(0);
      if (current.empty() || replacement.empty()) continue;
      const std::string key = "FontName:" + current;
      const std::size_t at = reference::FindFirst(content, key);
      outcome.result = RowResult::kNotFound;
      if (at == std::string::npos) continue;
      const std::string text = "FontName:" + replacement;
      for (std::size_t r = 0; r + 1 < starts.size(); ++r) {
        if (result.outcomes[r].result != RowResult::kApplied || starts[r] < at) continue;
        starts[r] = starts[r] < at + key.size() ? at : starts[r] - key.size() + text.size();
      }
      content.replace(at, key.size(), text);
      outcome.result = RowResult::kApplied;
      starts.back() = at;
    }
    for (std::size_t r = 0; r < starts.size(); ++r)
      if (result.outcomes[r].result == RowResult::kApplied)
        result.outcomes[r].line = LineAt(content, starts[r]);
    result.list = std::move(content);
  } catch (const RuntimeError& e) {
    result = Result{};
    result.error = e.Number();
  }
  return result;
}

Result Indexed(std::string_view content, const FontTable& table, const RewriteTuning& tuning) {
  Result result;
  try {
    RewriteResult rewrite = RewriteFontList(content, table, tuning);
    result.list = rewrite.list.Joined();
    result.outcomes = std::move(rewrite.rows);
  } catch (const RuntimeError& e) {
    result = Result{};
    result.error = e.Number();
  }
  return result;
}

void Compare(const Result& indexed, const Result& plain) {
  Require(indexed.error == plain.error, "the two methods fail differently");
  Require(indexed.list == plain.list, "the two methods write different lists");
  Require(indexed.outcomes.size() == plain.outcomes.size(), "not one outcome per row");
  for (std::size_t r = 0; r < plain.outcomes.size(); ++r) {
    if (indexed.outcomes[r].result != plain.outcomes[r].result ||
        indexed.outcomes[r].line != plain.outcomes[r].line) {
      std::fprintf(stderr, "row %zu: %d line %lld, plain %d line %lld\n", r + 1,
                   static_cast<int>(indexed.outcomes[r].result),
                   static_cast<long long>(indexed.outcomes[r].line),
                   static_cast<int>(plain.outcomes[r].result),
                   static_cast<long long>(plain.outcomes[r].line));
      Require(false, "the two methods report a row differently");
    }
  }
}

}  // namespace
}  // namespace vemo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemo;
  if (size == 0) return 0;
  // Flags: the low four bits pick small pieces (0: the program's own), the next two a small
  // label gap so that relabelling runs, the top bit a count of 1025 (error 9 at that row).
  const std::uint8_t flags = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = rest.find('\f');
  const std::string_view tableBytes = rest.substr(0, split);
  const std::string_view list = split == std::string_view::npos ? "" : rest.substr(split + 1);

  FontTable table;
  try {
    ParseFontTable(tableBytes, table);
  } catch (const RuntimeError&) {
    // The program goes on with the rows read before, and so does the rewrite.
  }
  // Empty rows up to a 1025th, whose append raises error 9 as a 1025th record does.
  while ((flags & 0x80) && table.FontCount() <= FontTable::kRows) {
    try {
      table.Append("", "");
    } catch (const RuntimeError&) {
    }
  }

  RewriteTuning tuning;
  if (flags & 0x0F) tuning.pieceBytes = flags & 0x0F;
  if (flags & 0x30) tuning.labelGap = (flags >> 4) & 0x03;

  fuzz::Compare(fuzz::Indexed(list, table, tuning), fuzz::Plain(std::string(list), table));
  return 0;
}
