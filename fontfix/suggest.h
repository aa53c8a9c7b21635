// Rows for "Fonts.txt" proposed from the fonts themselves: for each "FontName:" entry that
// Illustrator cannot use and that no row of the table replaces, the PostScript name of the
// face whose Japanese name the entry holds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fontfix/font_names.h"
#include "fontfix/font_table.h"

namespace vemo {

class FileRanges;

// A "FontName:" value Illustrator can use: 1 to 127 bytes of printable ASCII (0x21-0x7E)
// without the PostScript delimiters ( ) < > [ ] { } / %.
bool IsPostScriptName(std::string_view name);

// One face of a font file.
struct FaceRef {
  std::wstring file;
  std::uint32_t face = 0;
  bool collection = false;
  std::string postScript;  // a PostScript name, by IsPostScriptName
};

enum class SuggestResult {
  kOne,      // every matching face has the same PostScript name
  kNone,     // no face matched
  kSeveral,  // the matching faces have different PostScript names
};

struct EntrySuggestion {
  // The line on which the entry starts in the list as the table's rows leave it, numbered as
  // the run's report numbers lines: the list's own lines unless a row's names hold line ends.
  std::int64_t line = 0;
  std::string name;  // the entry's value, CP932
  SuggestResult result = SuggestResult::kNone;
  std::vector<FaceRef> faces;  // kOne: the face; kSeveral: a face for each PostScript name
};

struct SkippedFont {
  std::wstring file;
  FontSkip why = FontSkip::kNone;
  std::int32_t error = 0;  // kUnreadable: the runtime error number
};

struct Suggestions {
  std::vector<EntrySuggestion> entries;  // in the list's order
  std::vector<SkippedFont> skipped;      // files with a font's signature that gave no names
  std::size_t fontFiles = 0;             // files read as fonts
};

struct FontSources {
  // Searched, with their subfolders, for an entry whose record names no font file that has
  // its face.
  std::vector<std::wstring> folders;
  // The path here of a record's "OutlineFileName:" value, CP932 as the list holds it; empty
  // when there is no such file to read.
  std::function<std::wstring(std::string_view)> outlinePath;
};

// Looks for the face of every entry whose value is not a PostScript name and that the
// table's rows 1..FontCount() leave as it is: first in the file its record's
// "OutlineFileName:" names, then in the folders. A face matches when one of its Japanese
// names equals the entry's value; failing that, when they are equal with blanks (U+0020,
// U+3000) left out, full-width ASCII and half-width katakana taken as their other width,
// hiragana as katakana, and letter case folded as the rewrite folds it.
Suggestions SuggestRows(std::string_view list, const FontTable& table, const FontSources& sources,
                        FileRanges& files);

enum class AddResult {
  kAdded,
  kTableFull,        // the table has kRows rows
  kNotWritable,      // the name cannot be written in the table's encoding as a field
  kReplacesAnother,  // the row would replace an earlier entry first (`otherLine`)
};

struct RowAddition {
  std::size_t entry = 0;  // index into Suggestions::entries
  AddResult result = AddResult::kAdded;
  std::int64_t otherLine = 0;
};

struct TableAddition {
  std::string table;              // the table's new bytes: the old ones and the rows added
  std::vector<RowAddition> rows;  // one for each entry with exactly one suggestion
  std::size_t added = 0;
};

// The table (`tableBytes`, loaded as rows 1..FontCount() of `table`) with a row appended for
// each entry that has exactly one suggestion, in its own encoding: CP932 with CR LF, or
// UTF-8 (its byte order mark kept) with the line ends it uses. A name is quoted where it
// needs it. A row is added only when the new table reads back with it and, applied after the
// table's rows, it replaces exactly its entry.
TableAddition AddSuggestedRows(std::string_view tableBytes, const FontTable& table,
                               std::string_view list, const Suggestions& suggestions);

}  // namespace vemo
