// The font list rewrite: the table's rows applied to the "FontName:" entries of a list, as
// bytes in and bytes out, with what each row did and every entry of the rewritten list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "fontfix/font_table.h"

namespace vemo {

// The offset of an entry that the list as read does not hold: a replacement wrote it.
inline constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);
// The entry of a row that replaced none.
inline constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

// What one row of the table did to the list.
enum class RowResult {
  kSkipped,   // one of its names is empty
  kNotFound,  // no entry matched
  kApplied,
};
struct RowOutcome {
  RowResult result = RowResult::kSkipped;
  // kApplied: the 1-based line of the rewritten list on which the entry it replaced starts
  // (CR LF, a lone CR and a lone LF each end a line), and that entry's index in
  // RewriteResult::entries. An entry that a later row overwrote from an earlier start counts
  // as starting where that later entry starts.
  std::int64_t line = 0;
  std::size_t entry = kNoEntry;
};

// A "FontName:" entry of the rewritten list: the keyword in any letter case at a CP932
// character boundary, as the rewrite finds them. Its value runs to the end of its line.
struct ListEntry {
  std::size_t offset = 0;  // of its keyword in the rewritten list
  std::int64_t line = 0;   // the line it starts on, numbered as RowOutcome::line
  // Of its keyword in the list as read, or kNoOffset when a replacement wrote it.
  std::size_t original = kNoOffset;
  // The 1-based rows that replaced it, in the order they did (chained rows each); empty when
  // none did.
  std::vector<std::int32_t> rows;
};

// The rewritten list as pieces in order: views into the content it was made from and into
// texts of its own, so that the stretches no row touched are written from the content as read.
// The content must outlive it. Move only: a copy's pieces would still view the original's
// texts.
struct RewrittenList {
  RewrittenList() = default;
  RewrittenList(RewrittenList&&) = default;
  RewrittenList& operator=(RewrittenList&&) = default;
  RewrittenList(const RewrittenList&) = delete;
  RewrittenList& operator=(const RewrittenList&) = delete;

  std::vector<std::string_view> pieces;
  std::vector<std::size_t> starts;  // where each piece starts in the whole list
  std::deque<std::string> texts;    // what replacements wrote; a deque never moves them
  std::string Joined() const;
  // The bytes from `offset` to the end of their line (CR or LF), across pieces.
  std::string RestOfLine(std::size_t offset) const;
};

// The one result of a rewrite; like its list, it views the content it was made from.
struct RewriteResult {
  RewrittenList list;
  std::vector<ListEntry> entries;  // every entry of the rewritten list, in order
  std::vector<RowOutcome> rows;    // one per row 1..FontCount() of the table

  // An entry's value in the rewritten list, and in the list as read (`content`): the rest
  // of its line after the keyword. An entry that a replacement wrote has no earlier value:
  // its value now is given.
  std::string ValueOf(const ListEntry& entry) const;
  std::string OriginalValueOf(const ListEntry& entry, std::string_view content) const;
};

// Knobs of the rewrite's index, exposed so that tests can force its rare paths (content split
// into many small pieces, order labels running out) on small inputs.
struct RewriteTuning {
  // Text between two "FontName:" entries is kept in pieces of about this many bytes, so
  // that a replacement copies at most one piece of the text that follows it.
  std::size_t pieceBytes = 4096;
  // Distance between the order labels of neighbouring pieces after (re)labelling.
  std::uint64_t labelGap = std::uint64_t{1} << 32;
};

// Applies rows 1..FontCount() of the table to the content: for each row with both names
// non-empty, the first "FontName:" & old (letter case folded, at a CP932 character
// boundary) becomes "FontName:" & new. Raises error 9 at a row above 1024.
RewriteResult RewriteFontList(std::string_view content, const FontTable& table,
                              const RewriteTuning& tuning = {});

// The value of the entry whose keyword is at `offset` of `text`: the rest of its line.
std::string_view EntryValueAt(std::string_view text, std::size_t offset);

}  // namespace vemo
