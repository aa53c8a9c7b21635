// What the check of the font list shows: every entry Illustrator cannot use as the list
// registers it, and every entry a row of the table replaces, each with what is to become of
// it; and the rows a user picks to append to the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fontfix/rewrite_font_list.h"
#include "fontfix/suggest.h"
#include "fontfix/table_file.h"

namespace vemo {

class FileRanges;

enum class CheckState {
  kFixedByTable,  // the table's rows replace it
  kOneCandidate,  // exactly one font's PostScript name fits it
  kCandidates,    // several fonts' names fit it: the user picks one
  kNoFont,        // no font was found for it
};

struct CheckRow {
  std::size_t entry = 0;   // index into the rewrite's entries
  std::int64_t line = 0;   // as the rewrite numbers it
  std::string registered;  // the entry's value in the list as read (CP932)
  std::string fixed;       // kFixedByTable: its value after the table's rows
  CheckState state = CheckState::kNoFont;
  std::vector<FaceRef> faces;  // kOneCandidate: the face; kCandidates: one for each name
};

struct FontListCheck {
  std::vector<CheckRow> rows;  // in the list's order
  std::size_t fontFiles = 0;   // font files read
  std::vector<SkippedFont> skipped;
  // How many rows are in `state`.
  std::size_t Count(CheckState state) const;
};

// The check of `content` (the list as read), given the table's rows applied to it
// (`rewrite`); the fonts are looked for as SuggestRows looks for them.
FontListCheck CheckFontList(const RewriteResult& rewrite, std::string_view content,
                            const FontSources& sources, FileRanges& files);

// A row of the check with the PostScript name the user chose for it, as a row to append.
NewRow RowFor(const CheckRow& row, const RewriteResult& rewrite, const std::string& postScript);

}  // namespace vemo
