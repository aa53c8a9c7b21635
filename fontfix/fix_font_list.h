// The font list rewrite: back up the list, replace its "FontName:" entries, write it back.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "fontfix/font_table.h"

namespace vemo {

class FileSystem;
class Virtualization;

// What FixFontList reads from the main window, once, at its start.
struct FixFontListInput {
  bool opt10 = true;           // Illustrator 10: "AdobeFnt05.lst"; otherwise "AdobeFnt.lst"
  std::wstring folderText;     // txtFolder as typed
  std::wstring programFolder;  // where the backup is kept
};

// A blank of the folder text: space, tab or U+3000.
bool IsBlank(wchar_t c);
// The folder text without blanks at either end.
std::wstring TrimBlanks(std::wstring_view text);
// TrimBlanks, then "\" appended unless the text already ends in one.
std::wstring TargetFolder(std::wstring_view folderText);

// What one row of the table did to the list.
enum class RowResult {
  kSkipped,   // one of its names is empty
  kNotFound,  // no entry matched
  kApplied,
};
struct RowOutcome {
  RowResult result = RowResult::kSkipped;
  // kApplied: the 1-based line of the rewritten list on which the entry it replaced starts
  // (CR LF, a lone CR and a lone LF each end a line). An entry that a later row overwrote
  // from an earlier start counts as starting where that later entry starts.
  std::int64_t line = 0;
};

// Applies rows 1..FontCount() of the table to the content: for each row with both names
// non-empty, the first "FontName:" & old (letter case folded, at a CP932 character
// boundary) becomes "FontName:" & new. Raises error 9 at a row above 1024.
std::string RewriteFontList(std::string_view content, const FontTable& table);
// The same, and one outcome per row 1..FontCount() in `outcomes` (replaced).
std::string RewriteFontList(std::string_view content, const FontTable& table,
                            std::vector<RowOutcome>* outcomes);

// The rewritten list as pieces in order: views into the content it was made from and into
// texts of its own, so that the stretches no row touched are written from the content as read.
// The content must outlive it.
// Move only: a copy's pieces would still view the original's texts.
struct RewrittenList {
  RewrittenList() = default;
  RewrittenList(RewrittenList&&) = default;
  RewrittenList& operator=(RewrittenList&&) = default;
  RewrittenList(const RewrittenList&) = delete;
  RewrittenList& operator=(const RewrittenList&) = delete;

  std::vector<std::string_view> pieces;
  std::deque<std::string> texts;  // what replacements wrote; a deque never moves them
  std::string Joined() const;
};
// RewriteFontList, as pieces.
RewrittenList RewriteFontListPieces(std::string_view content, const FontTable& table,
                                    std::vector<RowOutcome>* outcomes = nullptr);

enum class ListFix {
  kMissing,           // no list file: nothing was read or written
  kRewritten,         // the backup was there already and was left alone
  kBackedUpRewritten  // the backup was made by this run
};

// What a run on these paths would do: nothing when the list is missing; otherwise rewrite it,
// and make the backup first unless a file is there.
ListFix PlanListFix(const std::wstring& listPath, const std::wstring& backupPath,
                    FileSystem& files);

// The file work of the rewrite, on paths: when `listPath` names an existing file, reads it
// once, makes `backupPath` from those bytes unless a file is there, rewrites them and puts
// the result in place atomically. Runtime errors pass through; the list is then exactly as
// it was, and the backup whole or absent.
ListFix FixListFile(const std::wstring& listPath, const std::wstring& backupPath,
                    const FontTable& table, FileSystem& files,
                    std::vector<RowOutcome>* outcomes = nullptr);

// What the whole job did, and to which list: its path as typed, for the message that names a
// missing one.
struct FontListFix {
  ListFix fix = ListFix::kMissing;
  std::wstring listPath;
};

// The whole job, on the list and the backup that Illustrator sees (IllustratorFileSystem).
// kMissing when the list file is missing: nothing was read or written. Runtime errors pass
// through unchanged; the list is then exactly as it was.
FontListFix FixFontList(const FixFontListInput& input, const FontTable& table, FileSystem& files,
                        Virtualization& virtualization);

}  // namespace vemo
