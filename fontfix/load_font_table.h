// Reading "Fonts.txt" into the rename table.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace vemo
