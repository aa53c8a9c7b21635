// "Fonts.txt", the rename table's file: read into the table, and rows appended to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fontfix/font_table.h"

namespace vemo {

class FileSystem;

// Parses the table's records into `table`, counting them in its FontCount() (set to 0 first).
// Returns the display text: every record's first field followed by two blanks.
// A UTF-8 table (see DetectTableEncoding) has its names converted to CP932.
// Raises error 9 at a 1025th record, with the count counting the failing row; error 62 for a
// record cut short by the end of the input and err::kNameNotInCp932 for a name that CP932
// cannot hold, with the count counting the rows before. The rows read before stay.
std::string ParseFontTable(std::string_view bytes, FontTable& table);

// LoadFontTable: nothing when there is no file at `tablePath` (no rows counted; each
// program says so in its own words); otherwise reads and parses it and returns the display
// text (CP932 bytes). Runtime errors pass through unchanged.
std::optional<std::string> LoadFontTable(const std::wstring& tablePath, FontTable& table,
                                         FileSystem& files);

// A row to append: the value of an entry, the name to register instead, and where that entry
// is in the list as read (ListEntry::original).
struct NewRow {
  std::string current;
  std::string replacement;
  std::size_t entry = 0;
};

enum class AddResult {
  kAdded,
  kTableFull,        // the table has kRows rows
  kNotWritable,      // a name cannot be written in the table's encoding as a field
  kReplacesAnother,  // the row would replace another entry first (`otherLine`), or none (0)
};

struct RowAddition {
  AddResult result = AddResult::kAdded;
  std::int64_t otherLine = 0;
};

struct TableAddition {
  std::string table;              // the table's new bytes: the old ones and the rows added
  std::vector<RowAddition> rows;  // one for each row asked for, in order
  std::size_t added = 0;
};

// The table (`tableBytes`, loaded as rows 1..FontCount() of `table`) with `rows` appended, in
// its own encoding: CP932 with CR LF, or UTF-8 (its byte order mark kept) with the line ends
// it uses. A name is quoted where it needs it. A row is added only when the new table reads
// back with it and, applied after the table's rows to `list` (the list as read), it replaces
// exactly its entry. Nothing is written: the caller puts the bytes in place.
TableAddition AppendRows(std::string_view tableBytes, const FontTable& table, std::string_view list,
                         const std::vector<NewRow>& rows);

}  // namespace vemo
