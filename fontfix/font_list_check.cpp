#include "fontfix/font_list_check.h"

#include <algorithm>

namespace vemo {
namespace {

CheckState StateOf(SuggestResult result) {
  switch (result) {
    case SuggestResult::kOne:
      return CheckState::kOneCandidate;
    case SuggestResult::kSeveral:
      return CheckState::kCandidates;
    case SuggestResult::kNone:
      break;
  }
  return CheckState::kNoFont;
}

}  // namespace

std::size_t FontListCheck::Count(CheckState state) const {
  return static_cast<std::size_t>(std::count_if(
      rows.begin(), rows.end(), [state](const CheckRow& row) { return row.state == state; }));
}

FontListCheck CheckFontList(const RewriteResult& rewrite, std::string_view content,
                            const FontSources& sources, FileRanges& files) {
  Suggestions suggestions = SuggestRows(rewrite, sources, files);
  FontListCheck check;
  check.fontFiles = suggestions.fontFiles;
  check.skipped = std::move(suggestions.skipped);
  auto suggestion = suggestions.entries.begin();
  for (std::size_t i = 0; i < rewrite.entries.size(); ++i) {
    const ListEntry& entry = rewrite.entries[i];
    CheckRow row{i,  entry.line,          rewrite.OriginalValueOf(entry, content),
                 {}, CheckState::kNoFont, {}};
    if (!entry.rows.empty()) {
      row.state = CheckState::kFixedByTable;
      row.fixed = rewrite.ValueOf(entry);
    } else if (suggestion != suggestions.entries.end() && suggestion->entry == i) {
      row.state = StateOf(suggestion->result);
      row.faces = std::move(suggestion->faces);
      ++suggestion;
    } else {
      continue;  // a name Illustrator can use, which no row touches
    }
    check.rows.push_back(std::move(row));
  }
  return check;
}

NewRow RowFor(const CheckRow& row, const RewriteResult& rewrite, const std::string& postScript) {
  return NewRow{row.registered, postScript, rewrite.entries[row.entry].original};
}

}  // namespace vemo
