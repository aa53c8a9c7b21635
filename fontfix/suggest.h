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
#include "fontfix/rewrite_font_list.h"

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
  std::size_t entry = 0;  // index into the rewrite's entries
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

// Looks for the face of every entry of the rewritten list (`rewrite`: the table's rows applied
// to the list) whose value is not a PostScript name and that no row replaced: first in the
// file its record's "OutlineFileName:" names, then in the folders. A face matches when one of
// its Japanese names equals the entry's value; failing that, when they are equal with blanks
// (U+0020, U+3000) left out, full-width ASCII and half-width katakana taken as their other
// width, hiragana as katakana, and letter case folded as the rewrite folds it.
Suggestions SuggestRows(const RewriteResult& rewrite, const FontSources& sources,
                        FileRanges& files);

// The entries that Illustrator cannot use in the rewritten list: the values that are not
// PostScript names, in order, as indexes into the rewrite's entries.
std::vector<std::size_t> UnusableEntries(const RewriteResult& rewrite);

}  // namespace vemo
